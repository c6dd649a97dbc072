// What the change monitor turns a burst of changes into. A window stands in
// for a side's directory list box: each files-changed message restarts a
// 500 ms timer, and the timer firing is one rescan. Measures the delay from
// one change to its message and to its rescan, then a burst of 1,000 file
// writes made by another thread: messages posted, rescans, and the delay from
// the last write to the rescan.
//   monitor_burst.exe [CHANGES]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "directory/monitor/directory_monitor.h"

namespace {

constexpr UINT_PTR RESCAN_TIMER = 2;
constexpr UINT RESCAN_DELAY_MS = 500;

double Now()
{
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * double(counter.QuadPart) / double(frequency.QuadPart);
}

struct Counts {
    int messages = 0;
    int rescans = 0;
    double firstMessage = 0;
    double lastRescan = 0;
} g_counts;

LRESULT CALLBACK SideProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == DirectoryMonitor::FILES_CHANGED) {
        if (g_counts.messages++ == 0)
            g_counts.firstMessage = Now();
        ::SetTimer(hwnd, RESCAN_TIMER, RESCAN_DELAY_MS, nullptr);
        return 0;
    }
    if (message == WM_TIMER && wParam == RESCAN_TIMER) {
        ::KillTimer(hwnd, RESCAN_TIMER);
        ++g_counts.rescans;
        g_counts.lastRescan = Now();
        return 0;
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

void WriteFileNow(const std::string& path, const std::string& content)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    ::CloseHandle(file);
}

struct Burst {
    std::string directory;
    int changes = 0;
    double lastWrite = 0;
};

DWORD WINAPI WriteBurst(LPVOID parameter)
{
    Burst* burst = static_cast<Burst*>(parameter);
    for (int i = 0; i < burst->changes; ++i)
        WriteFileNow(burst->directory + "\\burst" + std::to_string(i % 100) + ".txt", std::to_string(i));
    burst->lastWrite = Now();
    return 0;
}

// Dispatches until the condition holds or the time is up.
template <class Condition> bool PumpUntil(Condition condition, DWORD timeout)
{
    DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > timeout)
            return false;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

void PumpFor(DWORD milliseconds)
{
    PumpUntil([] { return false; }, milliseconds);
}

void RemoveFiles(const std::string& directory)
{
    WIN32_FIND_DATAA data;
    HANDLE search = ::FindFirstFileA((directory + "\\*").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do
            ::DeleteFileA((directory + "\\" + data.cFileName).c_str());
        while (::FindNextFileA(search, &data));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(directory.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    const int changes = argc > 1 ? std::atoi(argv[1]) : 1000;
    char temp[MAX_PATH];
    ::GetTempPathA(sizeof temp, temp);
    const std::string directory = std::string(temp) + "zelburst" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(directory.c_str(), nullptr);

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = SideProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ZelBurstSide";
    ::RegisterClassA(&windowClass);
    HWND side = ::CreateWindowExA(0, "ZelBurstSide", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  windowClass.hInstance, nullptr);
    DirectoryMonitor monitor;
    monitor.SetTargetWindow(side);
    monitor.Watch(directory);
    if (!PumpUntil([&] { return monitor.IsArmed(); }, 5000) || !monitor.IsWatching()) {
        std::fprintf(stderr, "no watch on %s\n", directory.c_str());
        return 1;
    }

    // One change.
    double changed = Now();
    WriteFileNow(directory + "\\one.txt", "one");
    PumpUntil([] { return g_counts.rescans > 0; }, 5000);
    std::printf("single change: message_after_ms=%.1f rescan_after_ms=%.1f messages=%d\n",
                g_counts.firstMessage - changed, g_counts.lastRescan - changed, g_counts.messages);

    // A burst from another thread, as another program would make it.
    PumpFor(1000);
    g_counts = Counts();
    Burst burst{ directory, changes, 0 };
    double started = Now();
    HANDLE writer = ::CreateThread(nullptr, 0, WriteBurst, &burst, 0, nullptr);
    PumpUntil([&] { return ::WaitForSingleObject(writer, 0) == WAIT_OBJECT_0; }, 120000);
    ::CloseHandle(writer);
    // Settle: the last rescan comes 500 ms after the last message.
    PumpFor(2000);
    std::printf("burst: changes=%d write_ms=%.1f messages=%d rescans=%d last_write_to_rescan_ms=%.1f\n", changes,
                burst.lastWrite - started, g_counts.messages, g_counts.rescans, g_counts.lastRescan - burst.lastWrite);

    monitor.Stop();
    ::DestroyWindow(side);
    RemoveFiles(directory);
    return 0;
}
