// CWinApp: the application object. Start-up happens in InitInstance; the
// profile functions keep settings under HKCU\Software\<company>\<application>.
#pragma once

#include <windows.h>

#include "cmd_target.h"
#include "command_line_info.h"
#include "cstring.h"

class CWnd;

class CWinApp : public CCmdTarget {
public:
    // Without a name the application takes its program file's base name.
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }
    // The framework's own message loop; it runs only when InitInstance returns true.
    virtual int Run();
    // Idle work: count 0 refreshes the command states of the main window.
    // Returns true while more idle work remains.
    virtual BOOL OnIdle(LONG count);
    // Offers a message to the main window first (its accelerators, its dialog keys).
    virtual BOOL PreTranslateMessage(MSG* msg);

    void SetRegistryKey(const char* company);
    UINT GetProfileInt(const char* section, const char* entry, int defaultValue);
    CString GetProfileString(const char* section, const char* entry, const char* defaultValue = "");
    BOOL WriteProfileInt(const char* section, const char* entry, int value);
    BOOL WriteProfileString(const char* section, const char* entry, const char* value);
    // HKCU\Software\<company>\<application>\<section>, created when missing; caller closes it.
    HKEY GetSectionKey(const char* section);

    // Splits the process's command line by the platform's rules and hands each
    // parameter over; the second form takes the line (program name first) explicitly.
    void ParseCommandLine(CCommandLineInfo& info);
    static void ParseCommandLine(const char* commandLine, CCommandLineInfo& info);

    HINSTANCE m_hInstance = nullptr;
    CString m_appName;
    CString m_registryKey; // the company name
    CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
// The program's entry: runs InitInstance, then Run when it returns true.
int AfxWinMain(HINSTANCE instance, const char* commandLine, int showCommand);

// Runs the messages of the thread while the window exists: pre-translation
// first, then translate and dispatch; idle processing with counts 0 and 1
// after each burst. Between bursts it sleeps until input arrives.
void RunWindowLoop(CWinApp& app, HWND window);

// Dispatches the messages waiting now, offering each to a modeless dialog
// (may be null) and to the application's pre-translation first, as a long
// operation does to keep its window alive. A quit message is left posted for
// the loop that owns it; the result is then false.
bool PumpWaitingMessages(HWND dialog);
