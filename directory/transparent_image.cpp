#include "transparent_image.h"

void DrawTransparentImage(HDC target, int x, int y, HBITMAP strip, int imageX)
{
    BITMAP info;
    if (!strip || !::GetObjectA(strip, sizeof info, &info))
        return;
    const int side = info.bmHeight;

    HDC image = ::CreateCompatibleDC(target);
    HDC maskDc = ::CreateCompatibleDC(target);
    HBITMAP mask = ::CreateBitmap(side, side, 1, 1, nullptr);
    if (!image || !maskDc || !mask) {
        if (mask)
            ::DeleteObject(mask);
        if (maskDc)
            ::DeleteDC(maskDc);
        if (image)
            ::DeleteDC(image);
        return;
    }
    HGDIOBJ oldImage = ::SelectObject(image, strip);
    HGDIOBJ oldMask = ::SelectObject(maskDc, mask);
    COLORREF oldImageBack = ::GetBkColor(image);
    COLORREF oldImageText = ::GetTextColor(image);
    COLORREF oldTargetBack = ::GetBkColor(target);
    COLORREF oldTargetText = ::GetTextColor(target);

    const COLORREF key = ::GetPixel(image, imageX, side - 1);

    // Colour to monochrome: pixels of the background colour become 1 (white).
    ::SetBkColor(image, key);
    ::BitBlt(maskDc, 0, 0, side, side, image, imageX, 0, SRCCOPY);

    // Monochrome to colour: 1 bits take the background colour, 0 bits the text colour.
    ::SetBkColor(image, RGB(0, 0, 0));
    ::SetTextColor(image, RGB(255, 255, 255));
    ::BitBlt(image, imageX, 0, side, side, maskDc, 0, 0, SRCAND); // transparent pixels black

    ::SetBkColor(target, RGB(255, 255, 255));
    ::SetTextColor(target, RGB(0, 0, 0));
    ::BitBlt(target, x, y, side, side, maskDc, 0, 0, SRCAND);       // hole for the opaque pixels
    ::BitBlt(target, x, y, side, side, image, imageX, 0, SRCPAINT); // the image into the hole

    // Put the strip back as it was for the next caller.
    ::SetBkColor(image, key);
    ::SetTextColor(image, RGB(0, 0, 0));
    ::BitBlt(image, imageX, 0, side, side, maskDc, 0, 0, SRCPAINT);

    ::SetBkColor(target, oldTargetBack);
    ::SetTextColor(target, oldTargetText);
    ::SetBkColor(image, oldImageBack);
    ::SetTextColor(image, oldImageText);
    ::SelectObject(maskDc, oldMask);
    ::SelectObject(image, oldImage);
    ::DeleteObject(mask);
    ::DeleteDC(maskDc);
    ::DeleteDC(image);
}
