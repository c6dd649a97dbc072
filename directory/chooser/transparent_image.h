// Draws one square image of a picture strip with its background left out.
#pragma once

#include <windows.h>

// The image is the square of the strip's height starting at imageX; its
// transparent colour is the colour of its bottom-left pixel. The strip itself
// is only read, and must not be selected into another device context.
void DrawTransparentImage(HDC target, int x, int y, HBITMAP strip, int imageX);
