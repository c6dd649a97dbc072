#include "color_swatch.h"

#include "framework/common_dialogs.h"

BEGIN_MESSAGE_MAP(ColorSwatch, CWnd)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
ON_MESSAGE(WM_ERASEBKGND, OnEraseBackground)
END_MESSAGE_MAP()

COLORREF* ColorSwatch::CustomColours()
{
    // Kept for the run, so colours added in one Preferences dialog are
    // offered again in the next; they start white, as the colour dialog's own.
    static COLORREF colours[16] = { RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255) };
    return colours;
}

void ColorSwatch::SetColour(COLORREF newColour)
{
    colour = newColour;
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

bool ColorSwatch::ChooseColour(HWND owner)
{
    CHOOSECOLORA choice = {};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = owner;
    choice.rgbResult = colour;
    choice.lpCustColors = CustomColours();
    choice.Flags = CC_RGBINIT;
    if (!CommonChooseColor(&choice))
        return false;
    SetColour(choice.rgbResult);
    return true;
}

void ColorSwatch::Paint(HDC dc)
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(dc, &client, brush);
    ::DeleteObject(brush);
}

LRESULT ColorSwatch::OnPaint(WPARAM, LPARAM)
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    if (dc) {
        Paint(dc);
        ::EndPaint(m_hWnd, &paint);
    }
    return 0;
}

LRESULT ColorSwatch::OnPrintClient(WPARAM wParam, LPARAM)
{
    Paint(reinterpret_cast<HDC>(wParam));
    return 0;
}

// The paint covers every pixel, so erasing first would only flicker.
LRESULT ColorSwatch::OnEraseBackground(WPARAM, LPARAM)
{
    return TRUE;
}
