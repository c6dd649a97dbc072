// ColorSwatch: a static control that shows one colour, filling its whole
// client area. Double-clicking it (handled by its dialog through STN_DBLCLK)
// opens the system's colour dialog on that colour.
#pragma once

#include "framework/wnd.h"

class ColorSwatch : public CWnd {
public:
    COLORREF colour = RGB(0, 0, 0);

    // Takes the colour and repaints.
    void SetColour(COLORREF newColour);
    // The colour dialog (ChooseColor) owned by the window, starting from the
    // swatch's colour; on OK the swatch takes the chosen colour. The row of
    // custom colours is shared by every swatch and kept for the whole run.
    bool ChooseColour(HWND owner);

    void Paint(HDC dc);

    // The row of 16 custom colours the colour dialog shows and edits.
    static COLORREF* CustomColours();

private:
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnPrintClient(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()
};
