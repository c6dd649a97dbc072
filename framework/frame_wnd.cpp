#include "frame_wnd.h"

#include "win_app.h"

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_MESSAGE(WM_CLOSE, OnClose)
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
    if (!RegisterWindowClass(className, CS_DBLCLKS, nullptr, (HBRUSH)(COLOR_WINDOW + 1), icon))
        return false;
    HMENU menu = ::LoadMenuA(instance, MAKEINTRESOURCEA(resourceId));
    m_accelerators = ::LoadAcceleratorsA(instance, MAKEINTRESOURCEA(resourceId));
    HWND owner = parent ? parent->m_hWnd : nullptr;
    HWND hwnd = ::CreateWindowExA(0, className, m_title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, owner, menu, instance, this);
    if (!hwnd) {
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
