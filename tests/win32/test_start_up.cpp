// ORVINTA.EXE started as a process: the run mode it picks, the window it
// shows, what it stores when it ends.
#include <doctest/doctest.h>

#include "test_support.h"

namespace {

std::string ProgramPath()
{
    char path[MAX_PATH];
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text = path;
    return text.substr(0, text.find_last_of('\\') + 1) + "ORVINTA.EXE";
}

class Program {
public:
    Program(const std::string& arguments, const std::string& currentDirectory)
    {
        std::string line = "ORVINTA.EXE" + (arguments.empty() ? "" : " " + arguments);
        std::vector<char> buffer(line.begin(), line.end());
        buffer.push_back('\0');
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        std::string program = ProgramPath();
        started = ::CreateProcessA(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   currentDirectory.c_str(), &startup, &m_process) != 0;
    }
    ~Program()
    {
        if (!started)
            return;
        if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(m_process.hProcess, 99);
        ::CloseHandle(m_process.hProcess);
        ::CloseHandle(m_process.hThread);
    }

    // The program's first visible top-level window of the class, polled.
    HWND WaitForWindow(const char* className, DWORD timeout = 15000) const
    {
        DWORD start = ::GetTickCount();
        do {
            if (HWND found = FindVisibleWindow(className))
                return found;
            ::Sleep(50);
        } while (::GetTickCount() - start < timeout);
        return nullptr;
    }

    bool WaitForExit(DWORD timeout = 15000) const
    {
        return ::WaitForSingleObject(m_process.hProcess, timeout) == WAIT_OBJECT_0;
    }

    // Waits for the end of the program while watching for a visible window of
    // the class; seen tells whether one showed at any poll.
    bool WaitForExitWatching(const char* className, bool& seen, DWORD timeout = 15000) const
    {
        seen = false;
        DWORD start = ::GetTickCount();
        do {
            seen = seen || FindVisibleWindow(className) != nullptr;
            if (::WaitForSingleObject(m_process.hProcess, 10) == WAIT_OBJECT_0)
                return true;
        } while (::GetTickCount() - start < timeout);
        return false;
    }
    DWORD ExitCode() const
    {
        DWORD code = 0;
        ::GetExitCodeProcess(m_process.hProcess, &code);
        return code;
    }

    bool started = false;

private:
    struct Search {
        DWORD process;
        const char* className;
        HWND found;
    };
    static BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM data)
    {
        auto* search = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        char name[64] = "";
        ::GetClassNameA(hwnd, name, sizeof name);
        if (owner == search->process && ::IsWindowVisible(hwnd) &&
            (!search->className || lstrcmpA(name, search->className) == 0)) {
            search->found = hwnd;
            return FALSE;
        }
        return TRUE;
    }
    HWND FindVisibleWindow(const char* className) const
    {
        Search search = { m_process.dwProcessId, className, nullptr };
        ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    PROCESS_INFORMATION m_process = {};
};

std::string WindowText(HWND hwnd)
{
    char text[1024] = "";
    ::GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// WM_GETTEXT, since GetWindowText does not ask a control of another process.
std::string ItemText(HWND dialog, int id)
{
    char text[1024] = "";
    ::SendMessageA(::GetDlgItem(dialog, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

constexpr int SOURCE_EDIT = 1004;
constexpr int MASTER_EDIT = 1006;

} // namespace

TEST_CASE("two files open the comparison window; closing it ends the program")
{
    CleanSettings clean;
    TempDirectory directory;
    std::string source = directory.Write("new.txt", "a\r\nb\r\n");
    std::string master = directory.Write("old.txt", "a\r\nc\r\n");
    Program program("\"" + source + "\" \"" + master + "\"", directory.Path());
    REQUIRE(program.started);
    HWND window = program.WaitForWindow("ZelvaneFrame109");
    REQUIRE(window != nullptr);
    CHECK(WindowText(window) == "Zelvane - " + source + " :: " + master);
    CHECK((::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0);
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    REQUIRE(program.WaitForExit());
    CHECK(program.ExitCode() == 0);
    CHECK_FALSE(ReadSetting("Directories", "Source").exists);
    CHECK_FALSE(ReadSetting("Directories", "Master").exists);
    CHECK(ReadSetting("Position", "cx").exists);
}

TEST_CASE("without parameters the last directories are compared and stored again at the end")
{
    CleanSettings clean;
    TempDirectory source, master, other;
    WriteRawSetting("Directories", "Source", REG_SZ, source.Path().c_str(), static_cast<DWORD>(source.Path().size() + 1));
    WriteRawSetting("Directories", "Master", REG_SZ, master.Path().c_str(), static_cast<DWORD>(master.Path().size() + 1));
    Program program("", other.Path());
    REQUIRE(program.started);
    HWND dialog = program.WaitForWindow("#32770");
    REQUIRE(dialog != nullptr);
    CHECK(WindowText(dialog) == "Zelvane");
    CHECK(ItemText(dialog, SOURCE_EDIT) == source.Path());
    CHECK(ItemText(dialog, MASTER_EDIT) == master.Path());

    ::SendMessageA(::GetDlgItem(dialog, MASTER_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(other.Path().c_str()));
    ::PostMessageA(dialog, WM_CLOSE, 0, 0); // Escape does not close it
    REQUIRE(program.WaitForExit());
    CHECK(ReadSetting("Directories", "Source").AsString() == source.Path());
    CHECK(ReadSetting("Directories", "Master").AsString() == other.Path());
    CHECK(ReadSetting("Directories", "Master").type == REG_SZ);
}

TEST_CASE("directory mode from what the parameters name")
{
    CleanSettings clean;
    TempDirectory work, lastMaster;
    std::string file = work.Write("one.txt", "x\r\n");
    WriteRawSetting("Directories", "Master", REG_SZ, lastMaster.Path().c_str(),
                    static_cast<DWORD>(lastMaster.Path().size() + 1));
    struct Row {
        std::string label;
        std::string arguments;
        std::string source;
        std::string master;
    } rows[] = {
        { "no parameters and no stored source: the current directory", "", work.Path(), lastMaster.Path() },
        { "one file: its directory against the last master", "\"" + file + "\"", work.Path() + "\\",
          lastMaster.Path() },
        { "a file and a directory", "\"" + file + "\" \"" + lastMaster.Path() + "\"", work.Path() + "\\",
          lastMaster.Path() },
        { "nothing that exists and a file", "nowhere \"" + file + "\"", work.Path(), work.Path() + "\\" },
    };
    for (const Row& row : rows) {
        CAPTURE(row.label);
        Program program(row.arguments, work.Path());
        REQUIRE(program.started);
        HWND dialog = program.WaitForWindow("#32770");
        REQUIRE(dialog != nullptr);
        CHECK(ItemText(dialog, SOURCE_EDIT) == row.source);
        CHECK(ItemText(dialog, MASTER_EDIT) == row.master);
        // Put the stored master back so every row starts alike.
        ::SendMessageA(::GetDlgItem(dialog, MASTER_EDIT), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(lastMaster.Path().c_str()));
        ::PostMessageA(dialog, WM_CLOSE, 0, 0); // Escape does not close it
        REQUIRE(program.WaitForExit());
    }
}

TEST_CASE("a file that cannot be read is reported and the program ends without a window")
{
    CleanSettings clean;
    TempDirectory directory;
    std::string source = directory.Write("locked.txt", "a\r\n");
    std::string master = directory.Write("free.txt", "a\r\n");
    // Nobody else may open the file while this handle is held.
    HANDLE lock = ::CreateFileA(source.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    REQUIRE(lock != INVALID_HANDLE_VALUE);
    Program program("\"" + source + "\" \"" + master + "\"", directory.Path());
    REQUIRE(program.started);
    HWND box = program.WaitForWindow("#32770");
    REQUIRE(box != nullptr);
    CHECK(WindowText(box) == "Zelvane Error");
    CHECK(ItemText(box, 0xFFFF) == "Error trying to open " + source + " for editing");
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    CHECK(program.WaitForExit());
    ::CloseHandle(lock);
}

TEST_CASE("cancelling a long comparison ends the program without showing the window")
{
    CleanSettings clean;
    TempDirectory directory;
    // Lone braces are trivial, so every candidate's confirming run grows along
    // the whole alternating stretch before the last line refutes it: the
    // search takes seconds, and Cancel arrives while it runs.
    std::string braces;
    for (int pair = 0; pair < 20000; ++pair)
        braces += "{\r\n}\r\n";
    std::string left = "X\r\n" + braces + "Q\r\n";
    std::string right = "Y\r\n" + braces + "R\r\n";
    std::string source = directory.Write("left.txt", left);
    std::string master = directory.Write("right.txt", right);
    Program program("\"" + source + "\" \"" + master + "\"", directory.Path());
    REQUIRE(program.started);
    HWND progress = program.WaitForWindow("#32770");
    REQUIRE(progress != nullptr);
    CHECK(WindowText(progress) == "Zelvane Utility");
    CHECK(ItemText(progress, 1019) == source);
    CHECK(ItemText(progress, 1020) == master);
    // The window shows only once its comparison has completed: never before, never after Cancel.
    CHECK(program.WaitForWindow("ZelvaneFrame109", 0) == nullptr);
    ::PostMessageA(progress, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    bool shown = true;
    REQUIRE(program.WaitForExitWatching("ZelvaneFrame109", shown, 20000));
    CHECK_FALSE(shown);
    CHECK(program.ExitCode() == 0);
}

TEST_CASE("file mode ends when another program closes its window with a sent message")
{
    CleanSettings clean;
    TempDirectory directory;
    std::string source = directory.Write("one.txt", "a\r\nb\r\n");
    std::string master = directory.Write("two.txt", "a\r\nc\r\n");
    Program program("\"" + source + "\" \"" + master + "\"", directory.Path());
    REQUIRE(program.started);
    HWND window = program.WaitForWindow("ZelvaneFrame109");
    REQUIRE(window != nullptr);
    // Sent, not posted: the window goes while the program waits for input.
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_NORMAL, 10000, &result);
    CHECK_FALSE(::IsWindow(window));
    REQUIRE(program.WaitForExit());
    CHECK(program.ExitCode() == 0);
    CHECK(ReadSetting("Position", "cx").exists);
}
