// The directory window watching its two directories: a change on disk
// rescans that side once, a new subdirectory refreshes the directory list
// alone, a watched directory that is removed gives way to its parent, and
// closing the window leaves no monitor thread behind.
#include <doctest/doctest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <string>

#include "common/process_values.h"
#include "directory_window_fixture.h"

namespace {

class MonitoringOn {
public:
    MonitoringOn() : m_saved(g_values.monitorChanges) { g_values.monitorChanges = true; }
    ~MonitoringOn() { g_values.monitorChanges = m_saved; }

private:
    bool m_saved;
};

bool BothWatching(DirectoryWindow& window)
{
    for (SideMonitor& side : window.monitors)
        if (!side.monitor.IsArmed() || !side.monitor.IsWatching())
            return false;
    return true;
}

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



struct ThreadWrite {
    std::string path;
};

DWORD WINAPI WriteFromThread(LPVOID parameter)
{
    auto* write = static_cast<ThreadWrite*>(parameter);
    HANDLE file = ::CreateFileA(write->path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    for (int chunk = 0; chunk < 20; ++chunk) {
        DWORD written = 0;
        ::WriteFile(file, "0123456789", 10, &written, nullptr);
        ::FlushFileBuffers(file);
    }
    ::CloseHandle(file);
    return 0;
}

int ItemIndex(DirectoryListBox& list, const std::string& path)
{
    for (int index = 0; index < list.GetCount(); ++index)
        if (lstrcmpiA(list.ItemPath(index).c_str(), path.c_str()) == 0)
            return index;
    return -1;
}

} // namespace

TEST_CASE("watching: a change on disk rescans its side once, and only that side")
{
    MonitoringOn monitoring;
    TempDirectory source, master;
    source.Write("a.txt", "a");
    master.Write("a.txt", "a");
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    DirectoryWindow& window = fixture.window;
    REQUIRE(PumpUntil([&] { return BothWatching(window); }));
    PumpFor(700); // anything the opening itself set off
    const int sourceScans = window.scanCount[SOURCE_SIDE];
    const int masterScans = window.scanCount[MASTER_SIDE];
    std::string made;

    SUBCASE("a file written from Wine")
    {
        source.Write("wine.txt", "from wine");
        made = "wine.txt";
    }
    SUBCASE("a file written from Linux through its Unix path")
    {
        std::string directory = UnixPath(source.Path());
        REQUIRE(!directory.empty());
        REQUIRE(StartLinuxCommand("echo from Linux > '" + directory + "/linux.txt'"));
        made = "linux.txt";
    }
    SUBCASE("a file written in twenty pieces from another thread")
    {
        ThreadWrite write = { source.Path() + "\\thread.txt" };
        HANDLE thread = ::CreateThread(nullptr, 0, WriteFromThread, &write, 0, nullptr);
        REQUIRE(thread);
        CHECK(::WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0);
        ::CloseHandle(thread);
        made = "thread.txt";
    }
    CHECK(PumpUntil([&] { return window.scanCount[SOURCE_SIDE] > sourceScans; }, 10000));
    CHECK(PumpUntil([&] {
        for (int row = 0; row < window.sourceFiles.RowCount(); ++row)
            if (window.sourceFiles.GetEntry(row) && window.sourceFiles.GetEntry(row)->fileName == made)
                return true;
        return false;
    }));
    // The burst has been merged into one rescan, and the Master side was left alone.
    PumpFor(1500);
    CHECK(window.scanCount[SOURCE_SIDE] == sourceScans + 1);
    CHECK(window.scanCount[MASTER_SIDE] == masterScans);
}

TEST_CASE("watching: turned off both sides stop refreshing by themselves; turned on both watch again")
{
    MonitoringOn monitoring;
    TempDirectory source, master;
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    DirectoryWindow& window = fixture.window;
    REQUIRE(PumpUntil([&] { return BothWatching(window); }));

    window.SetMonitoring(false);
    REQUIRE(PumpUntil([&] {
        return window.monitors[0].monitor.IsArmed() && window.monitors[1].monitor.IsArmed();
    }));
    CHECK_FALSE(window.monitors[0].monitor.IsWatching());
    CHECK_FALSE(window.monitors[1].monitor.IsWatching());
    PumpFor(700);
    const int scans = window.scanCount[SOURCE_SIDE];
    source.Write("unseen.txt", "x");
    PumpFor(1200);
    CHECK(window.scanCount[SOURCE_SIDE] == scans);

    window.SetMonitoring(true);
    REQUIRE(PumpUntil([&] { return BothWatching(window); }));
    master.Write("seen.txt", "x");
    CHECK(PumpUntil([&] {
        const FileEntry* entry = window.masterFiles.RowCount() == 1 ? window.masterFiles.GetEntry(0) : nullptr;
        return entry && entry->fileName == "seen.txt";
    }));
}

TEST_CASE("watching: a new subdirectory refreshes the directory list, not the files")
{
    MonitoringOn monitoring;
    TempDirectory source, master;
    source.Write("a.txt", "a");
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    DirectoryWindow& window = fixture.window;
    REQUIRE(PumpUntil([&] { return BothWatching(window); }));
    PumpFor(700);
    const int sourceScans = window.scanCount[SOURCE_SIDE];
    const std::string created = source.Path() + "\\created";
    REQUIRE(::CreateDirectoryA(created.c_str(), nullptr));
    CHECK(PumpUntil([&] { return ItemIndex(window.sourceDirectories, created) >= 0; }));
    PumpFor(1000);
    CHECK(window.scanCount[SOURCE_SIDE] == sourceScans);
    ::RemoveDirectoryA(created.c_str());
}

TEST_CASE("watching: a watched directory that is removed gives way to its parent, files and watch included")
{
    MonitoringOn monitoring;
    TempDirectory top, master;
    const std::string parent = top.Path() + "\\parent";
    const std::string shown = parent + "\\shown";
    REQUIRE(::CreateDirectoryA(parent.c_str(), nullptr));
    REQUIRE(::CreateDirectoryA(shown.c_str(), nullptr));
    top.Write("parent\\in_parent.txt", "p");
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(shown, master.Path()));
    DirectoryWindow& window = fixture.window;
    REQUIRE(PumpUntil([&] { return BothWatching(window); }));
    CHECK(window.sourceFiles.RowCount() == 0);

    // Removed from Linux, or moved away as the Recycle Bin does. (Wine, like
    // Windows, removes a directory that a watch holds open only once the
    // watch lets go of it.)
    SUBCASE("removed from Linux")
    {
        std::string unixShown = UnixPath(shown);
        REQUIRE(!unixShown.empty());
        REQUIRE(StartLinuxCommand("rmdir '" + unixShown + "'"));
    }
    SUBCASE("moved away")
    {
        REQUIRE(::MoveFileA(shown.c_str(), (top.Path() + "\\moved").c_str()));
    }
    CHECK(PumpUntil([&] { return lstrcmpiA(window.CurrentDirectory(SOURCE_SIDE).c_str(), parent.c_str()) == 0; }));
    // The move went through SetDirectory: the files are those of the parent,
    // the edit names it, and the parent is watched now.
    CHECK(PumpUntil([&] {
        return window.sourceFiles.RowCount() == 1 && window.ScannedDirectory(SOURCE_SIDE) == window.CurrentDirectory(SOURCE_SIDE);
    }));
    CHECK(lstrcmpiA(fixture.window.GetDlgItemText(IDC_SOURCE_DIRECTORY).c_str(), parent.c_str()) == 0);
    REQUIRE(PumpUntil([&] { return BothWatching(window); }));
    top.Write("parent\\later.txt", "l");
    CHECK(PumpUntil([&] { return window.sourceFiles.RowCount() == 2; }));
    ::DeleteFileA((parent + "\\later.txt").c_str());
    ::DeleteFileA((parent + "\\in_parent.txt").c_str());
    fixture.window.DestroyWindow();
    ::RemoveDirectoryA((top.Path() + "\\moved").c_str());
    ::RemoveDirectoryA(parent.c_str());
}

TEST_CASE("watching: closing the window ends both monitor threads, however often it is done")
{
    MonitoringOn monitoring;
    TempDirectory source, master;
    source.Write("a.txt", "a");
    const int before = ThreadsOfThisProcess();
    for (int round = 0; round < 12; ++round) {
        CAPTURE(round);
        DirectoryWindowFixture fixture;
        REQUIRE(fixture.Open(source.Path(), master.Path()));
        if (round % 2 == 0)
            REQUIRE(PumpUntil([&] { return BothWatching(fixture.window); }));
        // Changes on their way while the window closes.
        source.Write("busy.txt", std::to_string(round));
        master.Write("busy.txt", std::to_string(round));
        fixture.window.DestroyWindow();
        for (SideMonitor& side : fixture.window.monitors)
            CHECK_FALSE(side.monitor.IsRunning());
    }
    PumpFor(100); // messages posted to windows that are gone are simply lost
    CHECK(PumpUntil([&] { return ThreadsOfThisProcess() <= before; }));
}

TEST_CASE("a switch of directory lists it once; a change before the rescan is read from disk")
{
    TempDirectory source, master, other, quiet;
    other.Write("before.txt", "b");
    quiet.Write("only.txt", "q");
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    DirectoryWindow& window = fixture.window;
    BusyGuard::Hold hold(window.busy); // the rescans wait
    std::vector<FoundEntry> listing;
    window.masterDirectories.SetDirectory(quiet.Path());
    CHECK(window.masterDirectories.TakeListing(window.CurrentDirectory(MASTER_SIDE), listing));
    CHECK(listing.size() == 1);
    CHECK_FALSE(window.masterDirectories.TakeListing(window.CurrentDirectory(MASTER_SIDE), listing));
    window.sourceDirectories.SetDirectory(other.Path());
    other.Write("after.txt", "a");
    window.sourceDirectories.PostMessage(WM_DIR_FILES_CHANGED);
    PumpFor(700);
    CHECK_FALSE(window.sourceDirectories.TakeListing(window.CurrentDirectory(SOURCE_SIDE), listing));
    window.RescanSides(SideBit(SOURCE_SIDE));
    CHECK(window.sourceFiles.RowCount() == 2);
}
