// CScrollBar: a scroll-bar control.
#pragma once

#include "wnd.h"

// The thumb position of a scroll message (SB_THUMBTRACK, SB_THUMBPOSITION) in
// full: the message itself carries only 16 bits. Other codes give wParam's.
inline int ScrollMessagePosition(HWND window, int bar, WPARAM wParam)
{
    int code = LOWORD(wParam);
    int position = HIWORD(wParam);
    if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        if (::GetScrollInfo(window, bar, &info))
            position = info.nTrackPos;
    }
    return position;
}

class CScrollBar : public CWnd {
public:
    bool Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CreateEx(0, "SCROLLBAR", "", style, rect, parent, id);
    }
    void SetScrollRange(int minimum, int maximum, bool redraw = true)
    {
        ::SetScrollRange(m_hWnd, SB_CTL, minimum, maximum, redraw);
    }
    void SetScrollPos(int position, bool redraw = true) { ::SetScrollPos(m_hWnd, SB_CTL, position, redraw); }
    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    void ShowScrollBar(bool show = true) { ::ShowScrollBar(m_hWnd, SB_CTL, show); }
};
