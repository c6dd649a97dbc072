#include "shellext_support.h"

#include <shlwapi.h>


const char* const DROP_HANDLER_KEY = "Folder\\shellex\\DragDropHandlers\\ORVINTA Shell Extension";
const char* const APPROVED_KEY_PATH = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
const char* const APP_PATH_KEY_PATH = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ORVINTA.EXE";

namespace {
const char* const PROGRAM_SETTINGS_KEY = "Software\\Brindlecote Software\\ORVINTA";

std::string UniqueName(const char* stem)
{
    static unsigned counter = 0;
    char directory[MAX_PATH];
    ::GetTempPathA(sizeof directory, directory);
    char name[MAX_PATH];
    ::wsprintfA(name, "%s%s%lu_%u", directory, stem, ::GetCurrentProcessId(), ++counter);
    return name;
}

void RemoveTreeWide(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTreeWide(child);
            } else {
                ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(search, &data));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(path.c_str());
}

void RemoveTree(const std::string& path)
{
    RemoveTreeWide(Wide(path));
}
} // namespace

std::wstring Wide(const std::string& text)
{
    int length = ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    return wide;
}

std::string Utf8(const std::wstring& text)
{
    int length = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length > 0 ? length : 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &narrow[0], length, nullptr, nullptr);
    narrow.resize(narrow.size() - 1);
    return narrow;
}

CleanProgramSettings::CleanProgramSettings()
{
    ::SHDeleteKeyA(HKEY_CURRENT_USER, PROGRAM_SETTINGS_KEY);
}

CleanProgramSettings::~CleanProgramSettings()
{
    ::SHDeleteKeyA(HKEY_CURRENT_USER, PROGRAM_SETTINGS_KEY);
}

std::string BesideTests(const char* name)
{
    char path[MAX_PATH];
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text = path;
    return text.substr(0, text.find_last_of('\\') + 1) + name;
}

std::string OrvextClassId()
{
    return "{df3e5ac7-fc2c-4f62-99b4-5234bae93eab}";
}

std::string ClassKeyPath()
{
    return "CLSID\\" + OrvextClassId();
}

void RemoveRegistration()
{
    ::SHDeleteKeyA(HKEY_CLASSES_ROOT, ClassKeyPath().c_str());
    ::SHDeleteKeyA(HKEY_CLASSES_ROOT, DROP_HANDLER_KEY);
    ::SHDeleteValueA(HKEY_LOCAL_MACHINE, APPROVED_KEY_PATH, OrvextClassId().c_str());
}

void SetAppPath(const char* program)
{
    if (!program) {
        ::SHDeleteKeyA(HKEY_LOCAL_MACHINE, APP_PATH_KEY_PATH);
        return;
    }
    ::RegSetValueA(HKEY_LOCAL_MACHINE, APP_PATH_KEY_PATH, REG_SZ, program, static_cast<DWORD>(lstrlenA(program)));
}

CleanRegistration::CleanRegistration()
{
    std::string previous = ReadString(HKEY_LOCAL_MACHINE, APP_PATH_KEY_PATH, nullptr);
    m_hadAppPath = previous != "<absent>";
    m_appPath = previous;
    RemoveRegistration();
    SetAppPath(nullptr);
}

CleanRegistration::~CleanRegistration()
{
    RemoveRegistration();
    SetAppPath(m_hadAppPath ? m_appPath.c_str() : nullptr);
}

std::string ReadString(HKEY root, const std::string& key, const char* name)
{
    char value[1024];
    DWORD type = 0;
    DWORD size = sizeof value;
    if (::SHGetValueA(root, key.c_str(), name, &type, value, &size) != ERROR_SUCCESS || type != REG_SZ)
        return "<absent>";
    return std::string(value, size > 0 ? size - 1 : 0);
}

bool KeyExists(HKEY root, const std::string& key)
{
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(opened);
    return true;
}

int RunAndWait(const std::string& commandLine, DWORD timeoutMilliseconds)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(process.hProcess, timeoutMilliseconds) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(process.hProcess, &code);
    else
        ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

TempTree::TempTree() : m_path(UniqueName("zelx"))
{
    ::CreateDirectoryA(m_path.c_str(), nullptr);
}

TempTree::~TempTree()
{
    RemoveTree(m_path);
}

std::string TempTree::MakeDirectory(const std::string& name) const
{
    std::string path = m_path + "\\" + name;
    ::CreateDirectoryW(Wide(path).c_str(), nullptr);
    return path;
}

LPITEMIDLIST ItemListOf(const std::string& path)
{
    IShellFolder* desktop = nullptr;
    if (FAILED(::SHGetDesktopFolder(&desktop)))
        return nullptr;
    std::wstring wide = Wide(path);
    LPITEMIDLIST list = nullptr;
    ULONG eaten = 0;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, &wide[0], &eaten, &list, nullptr)))
        list = nullptr;
    desktop->Release();
    return list;
}

IDataObject* ShellDataObject(const std::vector<std::string>& paths)
{
    std::vector<LPITEMIDLIST> lists;
    for (const std::string& path : paths)
        lists.push_back(ItemListOf(path));
    IDataObject* data = nullptr;
    IShellFolder* parent = nullptr;
    LPCITEMIDLIST first = nullptr;
    if (!lists.empty() && lists[0] &&
        SUCCEEDED(::SHBindToParent(lists[0], IID_IShellFolder, reinterpret_cast<void**>(&parent), &first))) {
        // The children are the last items of each list, all in the first one's folder.
        std::vector<LPCITEMIDLIST> children;
        for (LPITEMIDLIST list : lists) {
            if (list)
                children.push_back(::ILFindLastID(list));
        }
        if (FAILED(parent->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()), children.data(),
                                         IID_IDataObject, nullptr, reinterpret_cast<void**>(&data))))
            data = nullptr;
        parent->Release();
    }
    for (LPITEMIDLIST list : lists)
        ::CoTaskMemFree(list);
    return data;
}

Recorder::Recorder() : m_output(UniqueName("zelrec") + ".txt")
{
    ::SetEnvironmentVariableA("ZEL_RECORDER_OUTPUT", m_output.c_str());
}

Recorder::~Recorder()
{
    ::SetEnvironmentVariableA("ZEL_RECORDER_OUTPUT", nullptr);
    ::DeleteFileA(m_output.c_str());
}

bool Recorder::Ran() const
{
    return ::GetFileAttributesA(m_output.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Recorder::WaitForRun(DWORD timeoutMilliseconds) const
{
    return PumpUntil([this] { return Ran(); }, timeoutMilliseconds);
}

std::vector<std::string> Recorder::Arguments() const
{
    std::vector<std::string> words;
    // The recorder may still hold the handle it renamed the file through.
    HANDLE file = ::CreateFileA(m_output.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return words;
    std::string content(static_cast<size_t>(::GetFileSize(file, nullptr)), '\0');
    DWORD read = 0;
    if (!content.empty())
        ::ReadFile(file, &content[0], static_cast<DWORD>(content.size()), &read, nullptr);
    ::CloseHandle(file);
    content.resize(read);
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        words.push_back(content.substr(start, end - start));
        start = end + 1;
    }
    return words;
}
