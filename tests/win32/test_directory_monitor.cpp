// The change monitor under Wine: changes made by this program and by a Linux
// program post the files-changed message, a new subdirectory posts the
// names-changed message, every change is reported (the first one too), and
// stopping ends the worker thread, however often it is done.
#include <doctest/doctest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <string>

#include "directory/monitor/directory_monitor.h"
#include "directory/monitor/monitor_paths.h"
#include "test_support.h"

namespace {

// A message-only window that counts what the monitor posts to it.
class MessageCounter {
public:
    MessageCounter()
    {
        static const char* const CLASS_NAME = "ZelMonitorCounter";
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = CLASS_NAME;
        ::RegisterClassA(&windowClass);
        window = ::CreateWindowExA(0, CLASS_NAME, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~MessageCounter() { ::DestroyWindow(window); }

    void Reset()
    {
        PumpFor(50);
        tree = files = 0;
    }

    HWND window = nullptr;
    int tree = 0;
    int files = 0;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<MessageCounter*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self && message == DirectoryMonitor::TREE_CHANGED)
            ++self->tree;
        else if (self && message == DirectoryMonitor::FILES_CHANGED)
            ++self->files;
        else
            return ::DefWindowProcA(hwnd, message, wParam, lParam);
        return 0;
    }
};

int ThreadsOfThisProcess()
{
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == ::GetCurrentProcessId();
    ::CloseHandle(snapshot);
    return count;
}

void WriteFileNow(const std::string& path, const std::string& content)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    REQUIRE(file != INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    ::CloseHandle(file);
}



} // namespace

TEST_CASE("monitor: a file written from Wine or from Linux posts files-changed, the first change too")
{
    TempDirectory directory;
    MessageCounter counter;
    DirectoryMonitor monitor;
    monitor.SetTargetWindow(counter.window);
    monitor.Watch(directory.Path());
    REQUIRE(PumpUntil([&] { return monitor.IsArmed(); }));
    CHECK(monitor.IsWatching());

    SUBCASE("from Wine")
    {
        WriteFileNow(directory.Path() + "\\new.txt", "hello");
        CHECK(PumpUntil([&] { return counter.files > 0; }));
    }
    SUBCASE("from Linux")
    {
        std::string unixDirectory = UnixPath(directory.Path());
        REQUIRE(!unixDirectory.empty());
        REQUIRE(StartLinuxCommand("echo hello > '" + unixDirectory + "/linux.txt'"));
        CHECK(PumpUntil([&] { return counter.files > 0; }, 10000));
        CHECK(ReadWholeFile(directory.Path() + "\\linux.txt") == "hello\n");
    }
    SUBCASE("after watching another directory, its first change")
    {
        TempDirectory other;
        monitor.Watch(other.Path());
        REQUIRE(PumpUntil([&] { return monitor.IsArmed(); }));
        counter.Reset();
        WriteFileNow(other.Path() + "\\first.txt", "x");
        CHECK(PumpUntil([&] { return counter.files > 0; }));
        // The old directory is no longer watched.
        counter.Reset();
        WriteFileNow(directory.Path() + "\\old.txt", "x");
        PumpFor(300);
        CHECK(counter.files == 0);
    }
    CHECK(counter.tree == 0);
    monitor.Stop();
}

TEST_CASE("monitor: a new subdirectory posts names-changed; one in a sibling does not rescan the files")
{
    TempDirectory directory;
    const std::string shown = directory.Path() + "\\shown";
    const std::string sibling = directory.Path() + "\\sibling";
    REQUIRE(::CreateDirectoryA(shown.c_str(), nullptr));
    REQUIRE(::CreateDirectoryA(sibling.c_str(), nullptr));
    MessageCounter counter;
    DirectoryMonitor monitor;
    monitor.SetTargetWindow(counter.window);
    monitor.Watch(shown);
    REQUIRE(PumpUntil([&] { return monitor.IsArmed(); }));

    const std::string created = shown + "\\created";
    REQUIRE(::CreateDirectoryA(created.c_str(), nullptr));
    CHECK(PumpUntil([&] { return counter.tree > 0; }));

    // In a sibling that was there before the watch began: the directory list
    // refreshes, the file list does not.
    counter.Reset();
    const std::string cousin = sibling + "\\cousin";
    REQUIRE(::CreateDirectoryA(cousin.c_str(), nullptr));
    CHECK(PumpUntil([&] { return counter.tree > 0; }));
    PumpFor(200);
    CHECK(counter.files == 0);

    monitor.Stop();
    ::RemoveDirectoryA(cousin.c_str());
    ::RemoveDirectoryA(created.c_str());
    ::RemoveDirectoryA(shown.c_str());
    ::RemoveDirectoryA(sibling.c_str());
}

TEST_CASE("monitor: stopping ends the worker; watching and stopping many times leaves no thread behind")
{
    TempDirectory directory;
    TempDirectory other;
    MessageCounter counter;
    const int before = ThreadsOfThisProcess();
    {
        DirectoryMonitor monitor;
        monitor.SetTargetWindow(counter.window);
        for (int round = 0; round < 40; ++round) {
            CAPTURE(round);
            monitor.Watch(round % 2 ? directory.Path() : other.Path());
            if (round % 3 == 0)
                monitor.Watch("");
            if (round % 5 == 0)
                REQUIRE(PumpUntil([&] { return monitor.IsArmed(); }));
            CHECK(monitor.IsRunning());
            monitor.Stop();
            CHECK_FALSE(monitor.IsRunning());
        }
        // Stopped: changes post nothing.
        counter.Reset();
        WriteFileNow(directory.Path() + "\\after.txt", "x");
        PumpFor(300);
        CHECK(counter.files == 0);

        // Destroyed while watching, with changes arriving.
        for (int round = 0; round < 20; ++round) {
            DirectoryMonitor watching;
            watching.SetTargetWindow(counter.window);
            watching.Watch(directory.Path());
            WriteFileNow(directory.Path() + "\\busy.txt", std::to_string(round));
        }
        // A directory the system will not watch: the monitor runs, unwatched.
        monitor.Watch(directory.Path() + "\\no such directory");
        REQUIRE(PumpUntil([&] { return monitor.IsArmed(); }));
        CHECK_FALSE(monitor.IsWatching());
        CHECK(monitor.IsRunning());
    }
    CHECK(PumpUntil([&] { return ThreadsOfThisProcess() <= before; }));
}

TEST_CASE("monitor: two sides in one tree each hear of a new subdirectory below them")
{
    TempDirectory directory;
    const std::string outer = directory.Path() + "\\outer";
    const std::string inner = outer + "\\inner";
    REQUIRE(::CreateDirectoryA(outer.c_str(), nullptr));
    REQUIRE(::CreateDirectoryA(inner.c_str(), nullptr));
    MessageCounter sourceCounter, masterCounter;
    DirectoryMonitor source, master;
    source.SetTargetWindow(sourceCounter.window);
    master.SetTargetWindow(masterCounter.window);
    // Either side may have been watching first.
    SUBCASE("outer first")
    {
        source.Watch(outer);
        REQUIRE(PumpUntil([&] { return source.IsArmed(); }));
        master.Watch(inner);
    }
    SUBCASE("inner first")
    {
        master.Watch(inner);
        REQUIRE(PumpUntil([&] { return master.IsArmed(); }));
        source.Watch(outer);
    }
    REQUIRE(PumpUntil([&] { return source.IsArmed() && master.IsArmed(); }));

    const std::string created = inner + "\\created";
    REQUIRE(::CreateDirectoryA(created.c_str(), nullptr));
    CHECK(PumpUntil([&] { return masterCounter.tree > 0 && sourceCounter.tree > 0; }));
    CHECK(sourceCounter.tree > 0);
    CHECK(masterCounter.tree > 0);

    source.Stop();
    master.Stop();
    ::RemoveDirectoryA(created.c_str());
    ::RemoveDirectoryA(inner.c_str());
    ::RemoveDirectoryA(outer.c_str());
}

TEST_CASE("monitor: the watched directory removed posts names-changed, and the side finds the parent")
{
    TempDirectory directory;
    const std::string shown = directory.Path() + "\\shown";
    const std::string deeper = shown + "\\deeper";
    REQUIRE(::CreateDirectoryA(shown.c_str(), nullptr));
    REQUIRE(::CreateDirectoryA(deeper.c_str(), nullptr));
    MessageCounter counter;
    DirectoryMonitor monitor;
    monitor.SetTargetWindow(counter.window);
    monitor.Watch(deeper);
    REQUIRE(PumpUntil([&] { return monitor.IsArmed(); }));

    // Removed by another program. (From Wine itself the removal of a
    // directory that a watch holds open waits, as on Windows, until the
    // handle goes; Windows signals the watch, Wine does not.)
    REQUIRE(StartLinuxCommand("rm -r '" + UnixPath(shown) + "'"));
    CHECK(PumpUntil([&] { return counter.tree > 0; }, 10000));
    CHECK(PumpUntil([&] { return ::GetFileAttributesA(shown.c_str()) == INVALID_FILE_ATTRIBUTES; }));
    auto isDirectory = [](const std::string& path) {
        DWORD attributes = ::GetFileAttributesA((path.size() == 2 ? path + "\\" : path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    };
    CHECK(NearestExistingDirectory(deeper, isDirectory, "c:\\windows") == directory.Path());
    // The monitor of a side that moves on watches the new place.
    monitor.Watch(directory.Path());
    REQUIRE(PumpUntil([&] { return monitor.IsArmed(); }));
    CHECK(monitor.IsWatching());
}
