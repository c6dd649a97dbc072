// CWnd: one C++ object bound to one window. The object pointer travels in
// CREATESTRUCT::lpCreateParams (or the WM_INITDIALOG lParam) and lives in
// GWLP_USERDATA; messages reach handlers through the class's message table.
#pragma once

#include <windows.h>

#include "cmd_target.h"
#include "cstring.h"

#ifndef WM_IDLEUPDATECMDUI
#define WM_IDLEUPDATECMDUI 0x0363 // idle processing asks windows to refresh command states
#endif

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Creates a window of a class registered through RegisterWindowClass (or the
    // framework's default class when className is nullptr).
    bool CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT idOrMenu, HMENU menu = nullptr);
    // Makes a control of a dialog template use this object's message table.
    bool SubclassDlgItem(UINT id, CWnd* parent);
    bool SubclassWindow(HWND hwnd);
    HWND UnsubclassWindow();

    bool DestroyWindow();
    HWND GetSafeHwnd() const { return m_hWnd; }
    static CWnd* FromHandle(HWND hwnd); // nullptr unless the window is bound to an object

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void SetWindowText(const CString& text);
    CString GetWindowText() const;
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    void SetDlgItemText(int id, const CString& text);
    CString GetDlgItemText(int id) const;
    // Sends the message to every descendant (depth first), as idle processing needs.
    void SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam) const;

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual bool PreTranslateMessage(MSG* msg);
    // The state the command's menu item shows: its update handler's answer,
    // or, without one, whether anything handles the command.
    bool IsCommandEnabled(UINT id);

    // Registers a window class whose procedure binds windows to objects.
    static const char* RegisterWindowClass(const char* name, UINT style, HCURSOR cursor, HBRUSH background,
                                           HICON icon);
    // The same for windows that take typed characters as UTF-16 (WM_CHAR
    // carries any character only to a Unicode window); created as any other.
    static const char* RegisterUnicodeWindowClass(const char* name, UINT style, HCURSOR cursor, HBRUSH background,
                                                  HICON icon);

    HWND m_hWnd = nullptr;

protected:
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(); // the default processing of the message being handled
    virtual bool OnCommand(WPARAM wParam, LPARAM lParam);
    virtual bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual void PostNcDestroy() {}
    // A control gets the owner-draw and key-to-item messages that its parent
    // receives about it (WM_DRAWITEM, WM_MEASUREITEM, WM_VKEYTOITEM, ...), so
    // it draws itself, and its own WM_NOTIFY before the parent's table; true
    // when it handled the message.
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void UpdateMenuItems(HMENU popup);
    // Reports an exception that reached a window procedure.
    static void ReportException(const char* text);

    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK StaticWndProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CallWindowProcSafely(CWnd* wnd, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Attach(HWND hwnd);

    WNDPROC m_oldWndProc = nullptr;
    bool m_unicode = false; // messages arrive in their UTF-16 form

private:
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    const MSG* m_currentMsg = nullptr;

    DECLARE_MESSAGE_MAP()
};

// The framework's default window class name.
extern const char* const ZEL_WND_CLASS;
