#include "gauge.h"

namespace {

constexpr int POSITION_OFFSET = 0;
constexpr int RANGE_OFFSET = 2;

COLORREF g_barColour = RGB(0, 0, 255);
COLORREF g_contrastColour = RGB(255, 255, 255);

unsigned ReadWord(HWND gauge, int offset)
{
    return static_cast<unsigned short>(::GetWindowWord(gauge, offset));
}

LRESULT CALLBACK GaugeProc(HWND gauge, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        Gauge::SetRange(gauge, 100);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(gauge, &paint);
        Gauge::Paint(gauge, dc);
        ::EndPaint(gauge, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        Gauge::Paint(gauge, reinterpret_cast<HDC>(wParam));
        return 0;
    default:
        return ::DefWindowProcA(gauge, message, wParam, lParam);
    }
}

} // namespace

namespace Gauge {

bool Register()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = GaugeProc;
    wc.cbWndExtra = 4;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = GAUGE_CLASS;
    if (!::RegisterClassA(&wc))
        return false;
    HDC screen = ::GetDC(nullptr);
    g_barColour = ::GetDeviceCaps(screen, NUMCOLORS) == 2 ? RGB(0, 0, 0) : RGB(0, 0, 255);
    ::ReleaseDC(nullptr, screen);
    g_contrastColour = RGB(255, 255, 255);
    return true;
}

void SetRange(HWND gauge, unsigned range)
{
    ::SetWindowWord(gauge, RANGE_OFFSET, static_cast<WORD>(range));
    SetPos(gauge, 0);
}

void SetPos(HWND gauge, unsigned position)
{
    ::SetWindowWord(gauge, POSITION_OFFSET, static_cast<WORD>(position));
    ::InvalidateRect(gauge, nullptr, FALSE);
    ::UpdateWindow(gauge);
}

COLORREF BarColour()
{
    return g_barColour;
}

COLORREF ContrastColour()
{
    return g_contrastColour;
}

void Paint(HWND gauge, HDC dc)
{
    RECT rect;
    ::GetClientRect(gauge, &rect);
    ::FrameRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));

    unsigned position = ReadWord(gauge, POSITION_OFFSET);
    unsigned range = ReadWord(gauge, RANGE_OFFSET);
    if (range == 0)
        range = 1;
    if (position > range)
        position = range;

    char text[16];
    int length = wsprintfA(text, "%3d%%", position * 100 / range);
    SIZE extent;
    ::GetTextExtentPointA(dc, text, length, &extent);

    ::InflateRect(&rect, -1, -1);
    int split = rect.left + (rect.right - rect.left) * static_cast<int>(position) / static_cast<int>(range);
    RECT done = { rect.left, rect.top, split, rect.bottom };
    RECT rest = { split, rect.top, rect.right, rect.bottom };
    int x = ((rect.right - rect.left) - extent.cx) / 2;
    int y = ((rect.bottom - rect.top) - extent.cy) / 2;

    // The same text twice, each clipped to its half, so its colour flips exactly
    // where the bar ends.
    ::SetBkColor(dc, g_barColour);
    ::SetTextColor(dc, g_contrastColour);
    ::ExtTextOutA(dc, x, y, ETO_OPAQUE | ETO_CLIPPED, &done, text, static_cast<UINT>(length), nullptr);
    ::SetBkColor(dc, g_contrastColour);
    ::SetTextColor(dc, g_barColour);
    ::ExtTextOutA(dc, x, y, ETO_OPAQUE | ETO_CLIPPED, &rest, text, static_cast<UINT>(length), nullptr);
}

} // namespace Gauge
