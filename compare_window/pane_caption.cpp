#include "compare_window/glyph_drawing.h"
#include "compare_window/text_pane.h"

namespace {

const char* const PANE_CAPTION_CLASS = "ZelvanePaneCaption";
constexpr UINT PANE_CAPTION_ID = 0xFFFF;

} // namespace

BEGIN_MESSAGE_MAP(PaneCaption, CWnd)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
ON_MESSAGE(WM_MOUSEACTIVATE, OnMouseActivate)
ON_MESSAGE(WM_SETFOCUS, OnSetFocus)
END_MESSAGE_MAP()

bool PaneCaption::Create(CWnd* parent, TextPane* owner, const CString& text)
{
    pane = owner;
    // The text is centred: a resize repaints it all. Paint fills the whole
    // client area, so the class needs no background brush.
    const char* className =
        RegisterWindowClass(PANE_CAPTION_CLASS, CS_HREDRAW | CS_VREDRAW, nullptr, nullptr, nullptr);
    if (!className)
        return false;
    RECT rect = { 0, 0, 0, 0 };
    return CreateEx(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER, rect, parent, PANE_CAPTION_ID);
}

LRESULT PaneCaption::OnPaint(WPARAM, LPARAM)
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    if (dc) {
        Paint(dc);
        ::EndPaint(m_hWnd, &paint);
    }
    return 0;
}

LRESULT PaneCaption::OnPrintClient(WPARAM wParam, LPARAM)
{
    Paint(reinterpret_cast<HDC>(wParam));
    return 0;
}

void PaneCaption::Paint(HDC dc)
{
    const bool focused = pane && pane->m_hWnd && ::GetFocus() == pane->m_hWnd;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(focused ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    COLORREF oldColour = ::SetTextColor(dc, ::GetSysColor(focused ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    CString text = GetWindowText();
    if (pane && pane->IsModified())
        text += "*";
    // A path of the process code page (UTF-8 where the system allows) drawn as characters.
    const std::wstring wide = WidenProcessText(text);
    SIZE extent = { 0, 0 };
    ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
    const int x = (client.right - extent.cx) / 2;
    const int y = (client.bottom - extent.cy) / 2;
    ::ExtTextOutW(dc, x, y, ETO_CLIPPED, &client, wide.c_str(), static_cast<UINT>(wide.size()), nullptr);
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldColour);
}

// The click only gives the focus (which goes on to the pane); it is not passed on.
LRESULT PaneCaption::OnMouseActivate(WPARAM, LPARAM)
{
    ::SetFocus(m_hWnd);
    return MA_ACTIVATEANDEAT;
}

LRESULT PaneCaption::OnSetFocus(WPARAM, LPARAM)
{
    if (pane && pane->m_hWnd)
        ::SetFocus(pane->m_hWnd);
    return 0;
}
