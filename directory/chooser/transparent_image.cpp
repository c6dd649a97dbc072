#include "directory/chooser/transparent_image.h"

#include <initializer_list>

namespace {

// The memory contexts and bitmaps of one drawing, released in any case.
struct Scratch {
    HDC strip = nullptr;
    HDC mask = nullptr;
    HDC copy = nullptr;
    HBITMAP maskBitmap = nullptr;
    HBITMAP copyBitmap = nullptr;
    HGDIOBJ oldStrip = nullptr;
    HGDIOBJ oldMask = nullptr;
    HGDIOBJ oldCopy = nullptr;

    ~Scratch()
    {
        if (oldCopy)
            ::SelectObject(copy, oldCopy);
        if (oldMask)
            ::SelectObject(mask, oldMask);
        if (oldStrip)
            ::SelectObject(strip, oldStrip);
        if (copyBitmap)
            ::DeleteObject(copyBitmap);
        if (maskBitmap)
            ::DeleteObject(maskBitmap);
        for (HDC dc : { copy, mask, strip }) {
            if (dc)
                ::DeleteDC(dc);
        }
    }
};

} // namespace

void DrawTransparentImage(HDC target, int x, int y, HBITMAP strip, int imageX)
{
    BITMAP info;
    if (!strip || !::GetObjectA(strip, sizeof info, &info))
        return;
    const int side = info.bmHeight;

    Scratch scratch;
    scratch.strip = ::CreateCompatibleDC(target);
    scratch.mask = ::CreateCompatibleDC(target);
    scratch.copy = ::CreateCompatibleDC(target);
    scratch.maskBitmap = ::CreateBitmap(side, side, 1, 1, nullptr);
    scratch.copyBitmap = ::CreateCompatibleBitmap(target, side, side);
    if (!scratch.strip || !scratch.mask || !scratch.copy || !scratch.maskBitmap || !scratch.copyBitmap)
        return;
    scratch.oldStrip = ::SelectObject(scratch.strip, strip);
    scratch.oldMask = ::SelectObject(scratch.mask, scratch.maskBitmap);
    scratch.oldCopy = ::SelectObject(scratch.copy, scratch.copyBitmap);
    if (!scratch.oldStrip || !scratch.oldMask || !scratch.oldCopy)
        return;

    const COLORREF key = ::GetPixel(scratch.strip, imageX, side - 1);

    // Colour to monochrome: the pixels of the background colour become 1 (white).
    ::SetBkColor(scratch.strip, key);
    ::BitBlt(scratch.mask, 0, 0, side, side, scratch.strip, imageX, 0, SRCCOPY);

    // The image's transparent pixels blackened, in a copy: the shared strip
    // stays as it is. Monochrome to colour: 1 bits take the background colour,
    // 0 bits the text colour.
    ::BitBlt(scratch.copy, 0, 0, side, side, scratch.strip, imageX, 0, SRCCOPY);
    ::SetBkColor(scratch.copy, RGB(0, 0, 0));
    ::SetTextColor(scratch.copy, RGB(255, 255, 255));
    ::BitBlt(scratch.copy, 0, 0, side, side, scratch.mask, 0, 0, SRCAND);

    // A black hole in the target for the opaque pixels, then the image into it.
    COLORREF oldBack = ::SetBkColor(target, RGB(255, 255, 255));
    COLORREF oldText = ::SetTextColor(target, RGB(0, 0, 0));
    ::BitBlt(target, x, y, side, side, scratch.mask, 0, 0, SRCAND);
    ::BitBlt(target, x, y, side, side, scratch.copy, 0, 0, SRCPAINT);
    ::SetBkColor(target, oldBack);
    ::SetTextColor(target, oldText);
}
