#include "win_app.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include <shellapi.h>

#include "dialog.h"
#include "wnd.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp* AfxGetApp()
{
    return g_app;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_app && g_app->m_hInstance ? g_app->m_hInstance : ::GetModuleHandleA(nullptr);
}

CWinApp::CWinApp(const char* appName)
{
    g_app = this;
    m_hInstance = ::GetModuleHandleA(nullptr);
    if (appName) {
        m_appName = appName;
    } else {
        char path[MAX_PATH] = "";
        ::GetModuleFileNameA(nullptr, path, sizeof path);
        const char* base = std::strrchr(path, '\\');
        base = base ? base + 1 : path;
        m_appName = base;
        size_t dot = m_appName.rfind('.');
        if (dot != CString::npos)
            m_appName.erase(dot);
    }
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

int CWinApp::Run()
{
    MSG msg;
    LONG idleCount = 0;
    bool idle = true;
    for (;;) {
        while (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                idle = false;
        }
        if (!::GetMessageW(&msg, nullptr, 0, 0))
            break;
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (IsIdleMessage(msg)) {
            idle = true;
            idleCount = 0;
        }
    }
    ExitInstance();
    return static_cast<int>(msg.wParam);
}

BOOL CWinApp::OnIdle(LONG count)
{
    if (count <= 0 && m_pMainWnd && m_pMainWnd->m_hWnd) {
        m_pMainWnd->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
        m_pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0);
    }
    return count < 1;
}

BOOL CWinApp::PreTranslateMessage(MSG* msg)
{
    return m_pMainWnd && m_pMainWnd->m_hWnd && m_pMainWnd->PreTranslateMessage(msg);
}

void CWinApp::SetRegistryKey(const char* company)
{
    m_registryKey = company;
}

HKEY CWinApp::GetSectionKey(const char* section)
{
    CString path = "Software\\" + m_registryKey + "\\" + m_appName + "\\" + section;
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_READ | KEY_WRITE, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

UINT CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue)
{
    HKEY key = GetSectionKey(section);
    if (!key)
        return static_cast<UINT>(defaultValue);
    // Whatever its registry type, the data counts when it fits in four bytes.
    DWORD value = 0;
    DWORD size = sizeof value;
    LONG status = ::RegQueryValueExA(key, entry, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS ? value : static_cast<UINT>(defaultValue);
}

CString CWinApp::GetProfileString(const char* section, const char* entry, const char* defaultValue)
{
    HKEY key = GetSectionKey(section);
    if (!key)
        return defaultValue;
    DWORD type = 0;
    DWORD size = 0;
    CString result = defaultValue;
    if (::RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::vector<char> buffer(size + 1, '\0');
        if (::RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) ==
            ERROR_SUCCESS)
            result = buffer.data();
    }
    ::RegCloseKey(key);
    return result;
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* entry, int value)
{
    HKEY key = GetSectionKey(section);
    if (!key)
        return FALSE;
    DWORD data = static_cast<DWORD>(value);
    LONG status = ::RegSetValueExA(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value)
{
    HKEY key = GetSectionKey(section);
    if (!key)
        return FALSE;
    LONG status = ::RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                   static_cast<DWORD>(std::strlen(value) + 1));
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    ParseCommandLine(::GetCommandLineA(), info);
}

void CWinApp::ParseCommandLine(const char* commandLine, CCommandLineInfo& info)
{
    // The shell's splitter applies the platform's quoting rules; it works on
    // wide text, so the ANSI line makes a round trip through the code page.
    int wideLength = ::MultiByteToWideChar(CP_ACP, 0, commandLine, -1, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(wideLength > 0 ? wideLength : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, commandLine, -1, wide.data(), wideLength);
    int count = 0;
    LPWSTR* words = ::CommandLineToArgvW(wide.data(), &count);
    if (!words)
        return;
    for (int index = 1; index < count; ++index) {
        int length = ::WideCharToMultiByte(CP_ACP, 0, words[index], -1, nullptr, 0, nullptr, nullptr);
        std::vector<char> word(static_cast<size_t>(length > 0 ? length : 1), '\0');
        ::WideCharToMultiByte(CP_ACP, 0, words[index], -1, word.data(), length, nullptr, nullptr);
        const char* param = word.data();
        bool flag = param[0] == '/' || param[0] == '-';
        info.ParseParam(flag ? param + 1 : param, flag, index + 1 == count);
    }
    ::LocalFree(words);
}

int AfxWinMain(HINSTANCE instance, const char*, int)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    app->m_hInstance = instance;
    if (!app->InitInstance()) {
        return app->ExitInstance();
    }
    return app->Run();
}

bool PumpWaitingMessages(HWND dialog)
{
    CWinApp* app = AfxGetApp();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (dialog && ::IsDialogMessageW(dialog, &msg))
            continue;
        if (app && app->PreTranslateMessage(&msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return true;
}

void RunWindowLoop(CWinApp& app, HWND window)
{
    MSG msg;
    while (::IsWindow(window)) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            if (!app.PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            if (!::IsWindow(window))
                return;
        }
        app.OnIdle(0);
        app.OnIdle(1);
        // A message sent by another thread or program is handled inside
        // PeekMessage without being returned: it may have destroyed the window,
        // and then no input would ever end the wait.
        if (!::IsWindow(window))
            return;
        // Sleep rather than spin: the loop would otherwise burn a whole processor.
        ::MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}
