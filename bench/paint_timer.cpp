// Starts a program and times it from process creation to "painted": a window
// of the process holding a descendant of the given class is visible, the
// file lists hold the expected rows (when asked), every pending paint has
// been done and the window's thread has answered a message after it.
//   paint_timer.exe [--rows N] [--class NAME] [--timeout MS]
//                   [--settle MS] [--touch FILE]... [--watch MS] [--until-mark NAME] -- COMMAND LINE
// Prints the milliseconds on one line, then closes the program. With
// --watch it then waits --settle MS (for the program's change watch to
// begin), appends a byte to each --touch file and asks the window
// for an answer every 10 ms for up to MS (until the phase NAME appears in
// the ZELVANE_TIMINGS file, with --until-mark), and prints the longest
// wait for an answer after the first figure.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "resources/directory_ids.h"

namespace {

struct Search {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK FindDescendant(HWND child, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    char name[64];
    if (::GetClassNameA(child, name, sizeof name) && lstrcmpiA(name, search->className) == 0 &&
        ::IsWindowVisible(child)) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindTopLevel(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !::IsWindowVisible(window))
        return TRUE;
    HWND inside = nullptr;
    Search children = { owner, search->className, nullptr };
    ::EnumChildWindows(window, FindDescendant, reinterpret_cast<LPARAM>(&children));
    inside = children.found;
    if (!inside)
        return TRUE;
    search->found = window;
    return FALSE;
}

double MillisecondsSince(const FILETIME& start)
{
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER a, b;
    a.LowPart = start.dwLowDateTime;
    a.HighPart = start.dwHighDateTime;
    b.LowPart = now.dwLowDateTime;
    b.HighPart = now.dwHighDateTime;
    return double(b.QuadPart - a.QuadPart) / 10000.0;
}

LRESULT ItemCount(HWND window, int id)
{
    HWND list = ::GetDlgItem(window, id);
    DWORD_PTR count = 0;
    if (!list || !::SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 5000, &count))
        return -1;
    return LRESULT(count);
}

bool MarkWritten(const char* mark)
{
    const char* path = std::getenv("ZELVANE_TIMINGS");
    FILE* file = path ? std::fopen(path, "r") : nullptr;
    if (!file)
        return false;
    char line[256];
    bool found = false;
    size_t length = std::strlen(mark);
    while (!found && std::fgets(line, sizeof line, file))
        found = std::strncmp(line, mark, length) == 0 && line[length] == '\t';
    std::fclose(file);
    return found;
}

// The longest the window kept a message waiting while it worked.
double WatchAnswers(HWND window, const std::vector<std::string>& touches, long settle, long watch,
                    const char* untilMark)
{
    ::Sleep(DWORD(settle));
    for (const std::string& path : touches) {
        HANDLE file = ::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, 0, nullptr);
        DWORD written;
        ::WriteFile(file, "x", 1, &written, nullptr);
        ::CloseHandle(file);
    }
    double longest = 0;
    DWORD start = ::GetTickCount();
    while (long(::GetTickCount() - start) < watch && !(untilMark && MarkWritten(untilMark))) {
        LARGE_INTEGER before, after, frequency;
        ::QueryPerformanceFrequency(&frequency);
        ::QueryPerformanceCounter(&before);
        DWORD_PTR ignored;
        if (!::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored))
            return 30000;
        ::QueryPerformanceCounter(&after);
        double ms = double(after.QuadPart - before.QuadPart) * 1000.0 / double(frequency.QuadPart);
        longest = ms > longest ? ms : longest;
        ::Sleep(10);
    }
    return longest;
}

} // namespace

int main(int argc, char** argv)
{
    long rows = -1;
    long timeout = 60000;
    const char* className = "msctls_statusbar32";
    std::vector<std::string> touches;
    long watch = -1;
    long settle = 0;
    const char* untilMark = nullptr;
    int at = 1;
    for (; at < argc && std::strcmp(argv[at], "--") != 0; ++at) {
        if (!std::strcmp(argv[at], "--rows") && at + 1 < argc)
            rows = std::atol(argv[++at]);
        else if (!std::strcmp(argv[at], "--class") && at + 1 < argc)
            className = argv[++at];
        else if (!std::strcmp(argv[at], "--timeout") && at + 1 < argc)
            timeout = std::atol(argv[++at]);
        else if (!std::strcmp(argv[at], "--touch") && at + 1 < argc)
            touches.push_back(argv[++at]);
        else if (!std::strcmp(argv[at], "--settle") && at + 1 < argc)
            settle = std::atol(argv[++at]);
        else if (!std::strcmp(argv[at], "--watch") && at + 1 < argc)
            watch = std::atol(argv[++at]);
        else if (!std::strcmp(argv[at], "--until-mark") && at + 1 < argc)
            untilMark = argv[++at];
    }
    if (at + 1 >= argc) {
        std::fprintf(stderr, "usage: paint_timer [--rows N] [--class NAME] [--timeout MS] -- COMMAND LINE\n");
        return 2;
    }
    std::string command;
    for (++at; at < argc; ++at)
        command += std::string(command.empty() ? "" : " ") + "\"" + argv[at] + "\"";

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "paint_timer: cannot start %s (%lu)\n", command.c_str(), ::GetLastError());
        return 2;
    }
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(process.hProcess, &created, &exited, &kernel, &user);

    Search search = { process.dwProcessId, className, nullptr };
    double painted = -1;
    LRESULT lastSource = -1, lastMaster = -1;
    while (MillisecondsSince(created) < timeout) {
        if (::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            break;
        search.found = nullptr;
        ::EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
        if (search.found && rows >= 0) {
            lastSource = ItemCount(search.found, IDC_SOURCE_FILES);
            lastMaster = ItemCount(search.found, IDC_MASTER_FILES);
        }
        if (search.found && (rows < 0 || (lastSource == rows && lastMaster == rows))) {
            ::RedrawWindow(search.found, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            DWORD_PTR ignored;
            ::SendMessageTimeoutA(search.found, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
            painted = MillisecondsSince(created);
            break;
        }
        ::Sleep(1);
    }
    double longest = -1;
    if (painted >= 0 && watch >= 0)
        longest = WatchAnswers(search.found, touches, settle, watch, untilMark);
    if (search.found)
        ::PostMessageA(search.found, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0)
        ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    if (painted < 0) {
        std::fprintf(stderr, "paint_timer: %s never painted (window %s, rows %ld and %ld of %ld)\n", command.c_str(),
                     search.found ? "found" : "not found", long(lastSource), long(lastMaster), rows);
        return 1;
    }
    if (longest >= 0)
        std::printf("%.1f %.1f\n", painted, longest);
    else
        std::printf("%.1f\n", painted);
    return 0;
}
