#include "frame_wnd.h"

#include <commctrl.h>

#include "message_box.h"
#include "status_bar.h"
#include "tool_bar.h"
#include "win_app.h"

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_MESSAGE(WM_CLOSE, OnClose)
ON_MESSAGE(WM_SIZE, OnSize)
ON_MESSAGE(WM_MENUSELECT, OnMenuSelect)
ON_MESSAGE(WM_EXITMENULOOP, OnExitMenuLoop)
ON_COMMAND_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, OnBarCheck)
ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateKeyIndicator)
END_MESSAGE_MAP()

CFrameWnd::~CFrameWnd()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

bool CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent)
{
    HINSTANCE instance = AfxGetInstanceHandle();
    HICON icon = ::LoadIconA(instance, MAKEINTRESOURCEA(resourceId));
    // One class per frame resource, so each frame carries its own icon.
    char className[32];
    wsprintfA(className, "ZelvaneFrame%u", resourceId);
    if (!RegisterWindowClass(className, CS_DBLCLKS, nullptr, (HBRUSH)(COLOR_BTNFACE + 1), icon))
        return false;
    HMENU menu = ::LoadMenuA(instance, MAKEINTRESOURCEA(resourceId));
    m_accelerators = ::LoadAcceleratorsA(instance, MAKEINTRESOURCEA(resourceId));
    HWND owner = parent ? parent->m_hWnd : nullptr;
    HWND hwnd = ::CreateWindowExA(0, className, m_title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, owner, menu, instance, this);
    if (!hwnd) {
        if (menu && !::IsMenu(menu))
            menu = nullptr;
        if (menu)
            ::DestroyMenu(menu);
        m_hWnd = nullptr;
        return false;
    }
    return true;
}

bool CFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (!m_accelerators || !m_hWnd)
        return false;
    // Accelerators apply to keys aimed at this frame or any of its children.
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd))
        return false;
    return ::TranslateAcceleratorA(m_hWnd, m_accelerators, msg) != 0;
}

LRESULT CFrameWnd::OnClose(WPARAM, LPARAM)
{
    DestroyWindow();
    return 0;
}

LRESULT CFrameWnd::OnSize(WPARAM, LPARAM)
{
    if (::IsIconic(m_hWnd))
        return 0;
    RecalcLayout();
    return 0;
}

void CFrameWnd::RecalcLayout()
{
    // The common controls place themselves at the top and bottom on WM_SIZE.
    for (UINT id : { AFX_IDW_TOOLBAR, AFX_IDW_STATUS_BAR })
        if (HWND bar = Bar(id))
            ::SendMessageA(bar, WM_SIZE, 0, 0);
}

RECT CFrameWnd::GetInnerRect() const
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    // The bars of a frame not shown yet take their places all the same.
    HWND toolBar = Bar(AFX_IDW_TOOLBAR);
    if (toolBar && (::GetWindowLongA(toolBar, GWL_STYLE) & WS_VISIBLE)) {
        RECT rect;
        ::GetWindowRect(toolBar, &rect);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        client.top = rect.bottom;
    }
    HWND statusBar = Bar(AFX_IDW_STATUS_BAR);
    if (statusBar && (::GetWindowLongA(statusBar, GWL_STYLE) & WS_VISIBLE)) {
        RECT rect;
        ::GetWindowRect(statusBar, &rect);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        client.bottom = rect.top;
    }
    return client;
}

void CFrameWnd::SetMessageText(const CString& text)
{
    if (auto* statusBar = static_cast<CStatusBar*>(CWnd::FromHandle(Bar(AFX_IDW_STATUS_BAR))))
        statusBar->SetPaneText(0, text);
}

CString CFrameWnd::CommandPrompt(UINT id)
{
    CString text = AfxLoadString(id);
    size_t newline = text.find('\n');
    return newline == CString::npos ? text : text.substr(0, newline);
}

LRESULT CFrameWnd::OnMenuSelect(WPARAM wParam, LPARAM lParam)
{
    UINT item = LOWORD(wParam);
    UINT flags = HIWORD(wParam);
    if (flags == 0xFFFF && lParam == 0)
        SetMessageText(AfxLoadString(AFX_IDS_IDLEMESSAGE));
    else if (!(flags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU)) && item != 0)
        SetMessageText(CommandPrompt(item));
    else
        SetMessageText(CString());
    return 0;
}

LRESULT CFrameWnd::OnExitMenuLoop(WPARAM, LPARAM)
{
    SetMessageText(AfxLoadString(AFX_IDS_IDLEMESSAGE));
    return 0;
}

bool CFrameWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    // Toolbar tooltips: the tip follows the line feed of the command's string,
    // and the prompt before it flies by in the status bar.
    if (header->code == TTN_GETDISPINFOA || header->code == TTN_GETDISPINFOW) {
        UINT id = static_cast<UINT>(header->idFrom);
        CString text = AfxLoadString(id);
        size_t newline = text.find('\n');
        CString tip = newline == CString::npos ? CString() : text.substr(newline + 1);
        SetMessageText(newline == CString::npos ? text : text.substr(0, newline));
        if (header->code == TTN_GETDISPINFOA) {
            auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
            lstrcpynA(info->szText, tip.c_str(), sizeof info->szText);
            info->lpszText = info->szText;
        } else {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            ::MultiByteToWideChar(CP_ACP, 0, tip.c_str(), -1, info->szText, 80);
            info->lpszText = info->szText;
        }
        *result = 0;
        return true;
    }
    if (header->code == TTN_POP) {
        SetMessageText(AfxLoadString(AFX_IDS_IDLEMESSAGE));
        *result = 0;
        return true;
    }
    return CWnd::OnNotify(wParam, lParam, result);
}

// Show or hide the toolbar or status bar, then lay the frame out again.
void CFrameWnd::OnBarCheck(UINT id)
{
    HWND bar = Bar(id == ID_VIEW_TOOLBAR ? AFX_IDW_TOOLBAR : AFX_IDW_STATUS_BAR);
    if (!bar)
        return;
    ::ShowWindow(bar, ::IsWindowVisible(bar) ? SW_HIDE : SW_SHOWNA);
    RecalcLayout();
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* state)
{
    HWND bar = Bar(state->m_nID == ID_VIEW_TOOLBAR ? AFX_IDW_TOOLBAR : AFX_IDW_STATUS_BAR);
    state->Enable(bar != nullptr);
    state->SetCheck(bar && (::GetWindowLongA(bar, GWL_STYLE) & WS_VISIBLE) ? 1 : 0);
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* state)
{
    int key = state->m_nID == ID_INDICATOR_CAPS ? VK_CAPITAL : VK_NUMLOCK;
    state->Enable((::GetKeyState(key) & 1) != 0);
}
