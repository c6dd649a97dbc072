#include "dialog.h"

#include "exceptions.h"
#include "win_app.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOKCommand)
ON_COMMAND(IDCANCEL, OnCancelCommand)
END_MESSAGE_MAP()

bool IsIdleMessage(const MSG& msg)
{
    static POINT lastMouse = { -1, -1 };
    static UINT_PTR lastMouseMessage = 0;
    switch (msg.message) {
    case WM_PAINT:
    case 0x0118: // WM_SYSTIMER: the caret blink
        return false;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        if (msg.pt.x == lastMouse.x && msg.pt.y == lastMouse.y && msg.message == lastMouseMessage)
            return false;
        lastMouse = msg.pt;
        lastMouseMessage = msg.message;
        return true;
    default:
        return true;
    }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
    dialog->SubclassWindow(hwnd);
    try {
        return dialog->OnInitDialog();
    } catch (const CException& error) {
        ReportException(error.GetErrorMessage().c_str());
    } catch (...) {
        ReportException("An unexpected error occurred.");
    }
    return TRUE;
}

bool CDialog::Create(UINT templateId, CWnd* parent)
{
    m_templateId = templateId;
    m_parent = parent;
    HWND hwnd = ::CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(templateId),
                                     parent ? parent->m_hWnd : nullptr, DialogProc, reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

INT_PTR CDialog::DoModal()
{
    HWND owner = m_parent ? m_parent->m_hWnd : nullptr;
    bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
    if (ownerWasEnabled)
        ::EnableWindow(owner, FALSE);
    m_modalResult = -1;
    if (!Create(m_templateId, m_parent)) {
        if (ownerWasEnabled)
            ::EnableWindow(owner, TRUE);
        return -1;
    }
    if (!::IsWindowVisible(m_hWnd))
        ::ShowWindow(m_hWnd, SW_SHOW);
    m_modalRunning = true;
    RunModalLoop();
    m_modalRunning = false;
    // Re-enable the owner before the dialog goes, so activation returns to it.
    if (ownerWasEnabled) {
        ::EnableWindow(owner, TRUE);
        ::SetActiveWindow(owner);
    }
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    return m_modalResult;
}

void CDialog::RunModalLoop()
{
    CWinApp* app = AfxGetApp();
    bool idle = true;
    LONG idleCount = 0;
    MSG msg;
    while (m_modalRunning && m_hWnd) {
        while (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!app || !app->OnIdle(idleCount++))
                idle = false;
        }
        do {
            if (!::GetMessageW(&msg, nullptr, 0, 0)) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            if (!(app && app->PreTranslateMessage(&msg)) && !PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            if (IsIdleMessage(msg)) {
                idle = true;
                idleCount = 0;
            }
            if (!m_modalRunning || !m_hWnd)
                return;
        } while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

bool CDialog::PreTranslateMessage(MSG* msg)
{
    return m_hWnd && ::IsDialogMessageW(m_hWnd, msg);
}

void CDialog::EndDialog(INT_PTR result)
{
    m_modalResult = result;
    if (m_modalRunning)
        m_modalRunning = false;
    else if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

void CDialog::CenterWindow(HWND over)
{
    if (!over)
        over = ::GetWindow(m_hWnd, GW_OWNER);
    RECT outer;
    if (over && ::IsWindowVisible(over))
        ::GetWindowRect(over, &outer);
    else
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &outer, 0);
    RECT self;
    ::GetWindowRect(m_hWnd, &self);
    int width = self.right - self.left;
    int height = self.bottom - self.top;
    int x = outer.left + (outer.right - outer.left - width) / 2;
    int y = outer.top + (outer.bottom - outer.top - height) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
