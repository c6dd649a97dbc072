// Starts a program and times it from process creation to "painted": a window
// of the process holding a descendant of the given class is visible, the
// file lists hold the expected rows (when asked), every pending paint has
// been done and the window's thread has answered a message after it.
//   paint_timer.exe [--rows N] [--class NAME] [--timeout MS] -- COMMAND LINE
// Prints the milliseconds on one line, then closes the program.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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

} // namespace

int main(int argc, char** argv)
{
    long rows = -1;
    long timeout = 60000;
    const char* className = "msctls_statusbar32";
    int at = 1;
    for (; at < argc && std::strcmp(argv[at], "--") != 0; ++at) {
        if (!std::strcmp(argv[at], "--rows") && at + 1 < argc)
            rows = std::atol(argv[++at]);
        else if (!std::strcmp(argv[at], "--class") && at + 1 < argc)
            className = argv[++at];
        else if (!std::strcmp(argv[at], "--timeout") && at + 1 < argc)
            timeout = std::atol(argv[++at]);
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
    std::printf("%.1f\n", painted);
    return 0;
}
