// CScrollBar: a scroll-bar control.
#pragma once

#include "wnd.h"

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
