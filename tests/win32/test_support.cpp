#include "test_support.h"

#include <shlwapi.h>

#include <cstdio>

#include <doctest/doctest.h>

namespace {
DialogAnswerer* g_answerer = nullptr;
const char* const SETTINGS_ROOT = "Software\\Brindlecote Software\\ORVINTA";

std::string UniqueTempPath(const std::string& suffix)
{
    static unsigned counter = 0;
    char directory[MAX_PATH];
    ::GetTempPathA(sizeof directory, directory);
    char name[MAX_PATH];
    ::wsprintfA(name, "%szel%lu_%u%s", directory, ::GetCurrentProcessId(), ++counter, suffix.c_str());
    return name;
}

void WriteBytes(const std::string& path, const std::string& content)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    ::CloseHandle(file);
}
} // namespace

DialogAnswerer::DialogAnswerer(std::vector<int> buttons) : m_buttons(std::move(buttons))
{
    g_answerer = this;
    m_timer = ::SetTimer(nullptr, 0, 30, OnTimer);
}

DialogAnswerer::~DialogAnswerer()
{
    ::KillTimer(nullptr, m_timer);
    g_answerer = nullptr;
}

void CALLBACK DialogAnswerer::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_answerer)
        g_answerer->Check();
}

namespace {

// Collects the thread's visible, enabled dialogs into a vector of handles.
BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM data)
{
    char className[16] = "";
    ::GetClassNameA(hwnd, className, sizeof className);
    if (lstrcmpA(className, "#32770") == 0 && ::IsWindowVisible(hwnd) && ::IsWindowEnabled(hwnd))
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(hwnd);
    return TRUE;
}

} // namespace

void DialogAnswerer::Check()
{
    std::vector<HWND> dialogs;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    for (HWND dialog : dialogs) {
        bool done = false;
        for (HWND answered : m_answered)
            done = done || answered == dialog;
        // Only message boxes (they have the static text 0xFFFF) are answered.
        HWND textControl = ::GetDlgItem(dialog, 0xFFFF);
        if (done || !textControl)
            continue;
        Seen seen;
        char buffer[2048] = "";
        ::GetWindowTextA(dialog, buffer, sizeof buffer);
        seen.caption = buffer;
        ::GetWindowTextA(textControl, buffer, sizeof buffer);
        seen.text = buffer;
        m_seen.push_back(seen);
        m_answered.push_back(dialog);
        int button = m_next < m_buttons.size() ? m_buttons[m_next++] : (::GetDlgItem(dialog, IDCANCEL) ? IDCANCEL : IDOK);
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, button)));
    }
}

TempFile::TempFile(const std::string& content, const std::string& suffix) : m_path(UniqueTempPath(suffix))
{
    WriteBytes(m_path, content);
}

TempFile::~TempFile()
{
    ::SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(m_path.c_str());
}

TempDirectory::TempDirectory() : m_path(UniqueTempPath(""))
{
    ::CreateDirectoryA(m_path.c_str(), nullptr);
}

namespace {

// Files and folders below the directory too: the tree tests make folders.
void RemoveTree(const std::string& directory)
{
    WIN32_FIND_DATAA data;
    HANDLE search = ::FindFirstFileA((directory + "\\*").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (lstrcmpA(data.cFileName, ".") == 0 || lstrcmpA(data.cFileName, "..") == 0)
                continue;
            std::string child = directory + "\\" + data.cFileName;
            ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                ::DeleteFileA(child.c_str());
        } while (::FindNextFileA(search, &data));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(directory.c_str());
}

} // namespace

TempDirectory::~TempDirectory()
{
    RemoveTree(m_path);
}

std::string TempDirectory::Write(const std::string& name, const std::string& content) const
{
    std::string path = m_path + "\\" + name;
    WriteBytes(path, content);
    return path;
}

std::string ReadWholeFile(const std::string& path)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string content(::GetFileSize(file, nullptr), '\0');
    DWORD got = 0;
    ::ReadFile(file, &content[0], static_cast<DWORD>(content.size()), &got, nullptr);
    ::CloseHandle(file);
    content.resize(got);
    return content;
}

CleanSettings::CleanSettings()
{
    ::SHDeleteKeyA(HKEY_CURRENT_USER, SETTINGS_ROOT);
}

CleanSettings::~CleanSettings()
{
    ::SHDeleteKeyA(HKEY_CURRENT_USER, SETTINGS_ROOT);
}

DWORD RegistryValue::AsDword() const
{
    DWORD value = 0;
    for (size_t i = 0; i < data.size() && i < 4; ++i)
        value |= static_cast<DWORD>(data[i]) << (8 * i);
    return value;
}

std::string RegistryValue::AsString() const
{
    std::string text(data.begin(), data.end());
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    return text;
}

RegistryValue ReadSetting(const char* section, const char* name)
{
    RegistryValue value;
    std::string path = std::string(SETTINGS_ROOT) + "\\" + section;
    HKEY key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (::RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        value.exists = ::RegQueryValueExA(key, name, nullptr, &value.type, value.data.data(), &size) == ERROR_SUCCESS;
    }
    ::RegCloseKey(key);
    return value;
}

void WriteRawSetting(const char* section, const char* name, DWORD type, const void* data, DWORD size)
{
    std::string path = std::string(SETTINGS_ROOT) + "\\" + section;
    HKEY key;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    ::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    ::RegCloseKey(key);
}

bool SectionKeyExists(const char* section)
{
    std::string path = std::string(SETTINGS_ROOT) + "\\" + section;
    HKEY key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

void SameWriteTime(const std::string& first, const std::string& second)
{
    FILETIME time = { 0x5A000000u, 0x01D80000u };
    for (const std::string* path : { &first, &second }) {
        HANDLE file = ::CreateFileA(path->c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                    nullptr);
        REQUIRE(file != INVALID_HANDLE_VALUE);
        ::SetFileTime(file, nullptr, nullptr, &time);
        ::CloseHandle(file);
    }
}

COLORREF ClientPixel(HWND window, int x, int y)
{
    HDC dc = ::GetDC(window);
    COLORREF colour = ::GetPixel(dc, x, y);
    ::ReleaseDC(window, dc);
    return colour;
}

std::string UnixPath(const std::string& path)
{
    using Convert = char*(CDECL*)(LPCWSTR);
    auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert)
        return "";
    wchar_t wide[MAX_PATH];
    ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    char* unix = convert(wide);
    std::string result = unix ? unix : "";
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return result;
}

bool StartLinuxCommand(const std::string& command)
{
    std::string line = "/bin/sh -c \"" + command + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA("/bin/sh", &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    if (process.hProcess)
        ::CloseHandle(process.hProcess);
    if (process.hThread)
        ::CloseHandle(process.hThread);
    return true;
}
