#include "install_support.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "shellext_support.h"

const char* const UNINSTALL_KEY_PATH = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zelvane";

namespace {
const DWORD INSTALL_TIMEOUT = 120000;
const int SOURCE_EDIT = 1004;
const int MASTER_EDIT = 1006;

std::string ProgramFolder()
{
    char path[MAX_PATH];
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text = path;
    return text.substr(0, text.find_last_of('\\'));
}

std::string ParentOf(const std::string& path)
{
    return path.substr(0, path.find_last_of('\\'));
}

std::string KnownFolder(int csidl)
{
    char path[MAX_PATH] = "";
    ::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// Starts a command line; the process handle (null on failure) and its id.
HANDLE Start(const std::string& commandLine, DWORD* processId)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "could not start %s: error %lu\n", commandLine.c_str(), ::GetLastError());
        return nullptr;
    }
    ::CloseHandle(process.hThread);
    *processId = process.dwProcessId;
    return process.hProcess;
}

// Waits (bounded) for a process; its exit code, or -1 if it had to be ended.
int WaitAndClose(HANDLE process, DWORD timeout)
{
    DWORD code = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(process, timeout) == WAIT_OBJECT_0) {
        ::GetExitCodeProcess(process, &code);
    } else {
        std::fprintf(stderr, "a process did not end within %lu ms\n", timeout);
        ::TerminateProcess(process, 1);
    }
    ::CloseHandle(process);
    return static_cast<int>(code);
}

// The running processes that a given process started.
std::vector<DWORD> ChildrenOf(DWORD parent)
{
    std::vector<DWORD> children;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return children;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == parent && entry.th32ProcessID != parent)
            children.push_back(entry.th32ProcessID);
    }
    ::CloseHandle(snapshot);
    return children;
}

BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM parameter)
{
    auto* found = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(parameter);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == found->first && ::IsWindowVisible(window))
        found->second.push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleWindowsOf(DWORD processId)
{
    std::pair<DWORD, std::vector<HWND>> found(processId, {});
    ::EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&found));
    return found.second;
}

std::string WindowText(HWND window)
{
    char text[256] = "";
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

// Plays the user at the uninstaller's windows until its process ends: presses
// each page's main button once per label it shows, answers the question.
void AnswerUninstaller(HANDLE process, DWORD processId, int answer, InteractiveUninstall* run)
{
    std::vector<std::string> pressed;
    DWORD start = ::GetTickCount();
    while (::WaitForSingleObject(process, 50) == WAIT_TIMEOUT) {
        if (::GetTickCount() - start > INSTALL_TIMEOUT) {
            ::TerminateProcess(process, 1);
            return;
        }
        for (HWND window : VisibleWindowsOf(processId)) {
            HWND yes = ::GetDlgItem(window, IDYES);
            if (yes && ::GetDlgItem(window, IDNO)) {
                run->asked = true;
                ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                               reinterpret_cast<LPARAM>(::GetDlgItem(window, answer)));
                continue;
            }
            HWND next = ::GetDlgItem(window, IDOK);
            if (!next || !::IsWindowVisible(next) || !::IsWindowEnabled(next))
                continue;
            std::string label = WindowText(next);
            if (std::find(pressed.begin(), pressed.end(), label) != pressed.end())
                continue;
            pressed.push_back(label);
            ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(next));
        }
    }
    DWORD code = 1;
    ::GetExitCodeProcess(process, &code);
    run->finished = code == 0;
}

BOOL CALLBACK CollectDirectoryWindow(HWND window, LPARAM parameter)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    char className[32] = "";
    char caption[64] = "";
    ::GetClassNameA(window, className, sizeof className);
    ::GetWindowTextA(window, caption, sizeof caption);
    // Visible: its set-up, which fills the edits, is over.
    if (process != ::GetCurrentProcessId() && ::IsWindowVisible(window) && std::string(className) == "#32770" && std::string(caption) == "Zelvane" &&
        ::GetDlgItem(window, SOURCE_EDIT) && ::GetDlgItem(window, MASTER_EDIT))
        reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
    return TRUE;
}

std::string EditText(HWND dialog, int id)
{
    char text[1024] = "";
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutA(::GetDlgItem(dialog, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                          SMTO_ABORTIFHUNG, 5000, &copied);
    return text;
}
} // namespace

std::string SetupProgram()
{
    return ParentOf(ProgramFolder()) + "\\ZelvaneSetup.exe";
}

std::string BuiltFile(const char* name)
{
    return ParentOf(ProgramFolder()) + "\\" + name;
}

namespace {
// A build tree's path as Wine shows it: the root of the Linux file system is Z:.
std::string WinePath(std::string path)
{
    for (char& c : path)
        c = c == '/' ? '\\' : c;
    return "Z:" + path;
}

std::string ViewRegsvr32(const HandlerView& view)
{
    char windows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(windows, sizeof windows);
    bool ownWidth = view.flag == 0 || view.x64 == (sizeof(void*) == 8);
    const char* folder = ownWidth ? "System32" : view.x64 ? "Sysnative" : "SysWOW64";
    return std::string(windows) + "\\" + folder + "\\regsvr32.exe";
}
} // namespace

std::string BuiltLibrary(bool x64)
{
    return WinePath(x64 ? ZEL_ORVEXT64 : ZEL_ORVEXT32);
}

bool WindowsIs64Bit()
{
    if (sizeof(void*) == 8)
        return true;
    BOOL wow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

std::vector<HandlerView> HandlerViews()
{
    std::string directory = InstallDirectory();
    if (!WindowsIs64Bit())
        return { { "the only view", 0, false, directory + "\\ORVEXT.DLL" } };
    return { { "the 64-bit view", KEY_WOW64_64KEY, true, directory + "\\x64\\ORVEXT.DLL" },
             { "the 32-bit view", KEY_WOW64_32KEY, false, directory + "\\ORVEXT.DLL" } };
}

std::string InstalledLibraryOfOwnWidth()
{
    return InstallDirectory() + (sizeof(void*) == 8 ? "\\x64\\ORVEXT.DLL" : "\\ORVEXT.DLL");
}

std::string ReadViewString(HKEY root, const std::string& key, const char* name, REGSAM view)
{
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS)
        return "<absent>";
    char value[1024];
    DWORD type = 0;
    DWORD size = sizeof value;
    LONG status = ::RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    ::RegCloseKey(opened);
    if (status != ERROR_SUCCESS || type != REG_SZ)
        return "<absent>";
    return std::string(value, size > 0 && value[size - 1] == '\0' ? size - 1 : size);
}

bool ViewKeyExists(HKEY root, const std::string& key, REGSAM view)
{
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(opened);
    return true;
}

std::vector<RegistryEntry> HandlerEntries(REGSAM view)
{
    std::string server = ClassKeyPath() + "\\InprocServer32";
    std::string classId = OrvextClassId();
    return {
        { "class name", ReadViewString(HKEY_CLASSES_ROOT, ClassKeyPath(), nullptr, view) },
        { "server path", ReadViewString(HKEY_CLASSES_ROOT, server, nullptr, view) },
        { "threading model", ReadViewString(HKEY_CLASSES_ROOT, server, "ThreadingModel", view) },
        { "drop handler", ReadViewString(HKEY_CLASSES_ROOT, DROP_HANDLER_KEY, nullptr, view) },
        { "approval", ReadViewString(HKEY_LOCAL_MACHINE, APPROVED_KEY_PATH, classId.c_str(), view) },
    };
}

std::vector<RegistryEntry> SelfRegistration(const HandlerView& view)
{
    std::string folder = view.library.substr(0, view.library.find_last_of('\\'));
    ::CreateDirectoryA(InstallDirectory().c_str(), nullptr);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    HandlerView run = view;
    std::string command = "\"" + ViewRegsvr32(run) + "\" /s \"" + view.library + "\"";
    ::CopyFileA(BuiltLibrary(view.x64).c_str(), view.library.c_str(), FALSE);
    int status = RunAndWait(command);
    if (status == -1) {
        MESSAGE("no regsvr32 for " << std::string(view.name) << " here: the library of this width registers at its path");
        run.x64 = sizeof(void*) == 8;
        run.flag = 0;
        ::CopyFileA(BuiltLibrary(run.x64).c_str(), view.library.c_str(), FALSE);
        command = "\"" + ViewRegsvr32(run) + "\" /s \"" + view.library + "\"";
        status = RunAndWait(command);
    }
    CHECK(status == 0);
    std::vector<RegistryEntry> entries = HandlerEntries(run.flag);
    CHECK(RunAndWait("\"" + ViewRegsvr32(run) + "\" /s /u \"" + view.library + "\"") == 0);
    ::DeleteFileA(view.library.c_str());
    ::RemoveDirectoryA(folder.c_str());
    ::RemoveDirectoryA(InstallDirectory().c_str());
    return entries;
}

std::string InstallDirectory()
{
    return KnownFolder(CSIDL_PROGRAM_FILES) + "\\Zelvane";
}

std::string ShortcutFolder()
{
    return KnownFolder(CSIDL_COMMON_PROGRAMS) + "\\Zelvane";
}

std::string ShortcutPath()
{
    return ShortcutFolder() + "\\Zelvane.lnk";
}

int InstallSilently()
{
    DWORD processId = 0;
    HANDLE process = Start("\"" + SetupProgram() + "\" /S", &processId);
    return process ? WaitAndClose(process, INSTALL_TIMEOUT) : -1;
}

bool UninstallSilently()
{
    std::string command = ReadString(HKEY_LOCAL_MACHINE, UNINSTALL_KEY_PATH, "QuietUninstallString");
    if (command == "<absent>")
        return false;
    DWORD processId = 0;
    HANDLE process = Start(command, &processId);
    if (!process)
        return false;
    // The uninstaller cannot remove itself while it runs: it starts a copy of
    // itself from the temporary folder, which does the work, and returns.
    if (WaitAndClose(process, INSTALL_TIMEOUT) != 0)
        return false;
    for (DWORD child : ChildrenOf(processId)) {
        HANDLE copy = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, child);
        if (copy && WaitAndClose(copy, INSTALL_TIMEOUT) != 0)
            return false;
    }
    return true;
}

InteractiveUninstall UninstallAnswering(int answer)
{
    InteractiveUninstall run;
    std::string command = ReadString(HKEY_LOCAL_MACHINE, UNINSTALL_KEY_PATH, "UninstallString");
    DWORD processId = 0;
    HANDLE process = command == "<absent>" ? nullptr : Start(command, &processId);
    if (!process || WaitAndClose(process, INSTALL_TIMEOUT) != 0)
        return run;
    std::vector<DWORD> copies = ChildrenOf(processId);
    if (copies.size() != 1)
        return run;
    HANDLE copy = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, copies[0]);
    if (!copy)
        return run;
    AnswerUninstaller(copy, copies[0], answer, &run);
    ::CloseHandle(copy);
    return run;
}

bool FileExists(const std::string& path)
{
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path)
{
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SameContents(const std::string& first, const std::string& second)
{
    std::ifstream a(first, std::ios::binary);
    std::ifstream b(second, std::ios::binary);
    if (!a || !b)
        return false;
    std::string left((std::istreambuf_iterator<char>(a)), std::istreambuf_iterator<char>());
    std::string right((std::istreambuf_iterator<char>(b)), std::istreambuf_iterator<char>());
    return !left.empty() && left == right;
}

std::string Lower(std::string text)
{
    if (!text.empty())
        ::CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

bool ValueExists(HKEY root, const std::string& key, const char* name)
{
    return ReadString(root, key, name) != "<absent>";
}

std::string ShortcutTarget(const std::string& link)
{
    IShellLinkA* shellLink = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&shellLink))))
        return std::string();
    std::string target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        std::wstring wide(link.begin(), link.end());
        char path[MAX_PATH] = "";
        if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) &&
            SUCCEEDED(shellLink->GetPath(path, sizeof path, nullptr, SLGP_RAWPATH)))
            target = path;
        file->Release();
    }
    shellLink->Release();
    return target;
}

std::string ProductVersion(const std::string& program)
{
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(program.c_str(), &ignored);
    if (size == 0)
        return std::string();
    std::vector<char> block(size);
    if (!::GetFileVersionInfoA(program.c_str(), 0, size, block.data()))
        return std::string();
    struct Translation {
        WORD language;
        WORD codePage;
    }* translation = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                          &length) ||
        length < sizeof *translation)
        return std::string();
    char query[64];
    ::wsprintfA(query, "\\StringFileInfo\\%04x%04x\\ProductVersion", translation->language, translation->codePage);
    char* value = nullptr;
    if (!::VerQueryValueA(block.data(), query, reinterpret_cast<void**>(&value), &length) || !value)
        return std::string();
    return value;
}

std::string ProcessImage(DWORD processId)
{
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return std::string();
    char path[MAX_PATH] = "";
    DWORD size = sizeof path;
    if (!::QueryFullProcessImageNameA(process, 0, path, &size))
        path[0] = '\0';
    ::CloseHandle(process);
    return path;
}

std::vector<HWND> DirectoryWindows()
{
    std::vector<HWND> windows;
    ::EnumWindows(CollectDirectoryWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

DirectoryWindow WaitForNewDirectoryWindow(const std::vector<HWND>& before)
{
    DirectoryWindow shown;
    PumpUntil(
        [&] {
            for (HWND window : DirectoryWindows()) {
                if (std::find(before.begin(), before.end(), window) == before.end())
                    shown.window = window;
            }
            return shown.window != nullptr;
        },
        30000);
    if (!shown.window)
        return shown;
    ::GetWindowThreadProcessId(shown.window, &shown.processId);
    shown.source = EditText(shown.window, SOURCE_EDIT);
    shown.master = EditText(shown.window, MASTER_EDIT);
    shown.program = ProcessImage(shown.processId);
    return shown;
}

bool CloseAndWait(const DirectoryWindow& shown)
{
    HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, shown.processId);
    ::PostMessageA(shown.window, WM_CLOSE, 0, 0);
    bool ended = process && ::WaitForSingleObject(process, 20000) == WAIT_OBJECT_0;
    if (process && !ended)
        ::TerminateProcess(process, 1);
    if (process)
        ::CloseHandle(process);
    return ended;
}
