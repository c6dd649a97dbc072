// GAUGE: the program's own percentage bar, a window class usable in dialog
// templates. Position and range live in the window's extra bytes as two
// 16-bit words.
#pragma once

#include <windows.h>

namespace Gauge {

// Registers the class "GAUGE" and fixes the bar and contrast colours.
bool Register();
void SetRange(HWND gauge, unsigned range);
void SetPos(HWND gauge, unsigned position);

// The colours fixed at registration (exposed for pixel tests).
COLORREF BarColour();
COLORREF ContrastColour();
// Paints the gauge into a device context; the window procedure uses it for WM_PAINT.
void Paint(HWND gauge, HDC dc);

} // namespace Gauge

#define GAUGE_CLASS "GAUGE"
