#include "capture.h"

#include <cstdio>
#include <vector>

void Settle(HWND window)
{
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // Wine copies a window's surface to the display from its message loop.
    PumpFor(250);
    ::GdiFlush();
}

bool SaveScreenRect(RECT rect, const std::string& path)
{
    RECT screen = { 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN) };
    if (!::IntersectRect(&rect, &rect, &screen))
        return false;
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;

    HDC screenDc = ::GetDC(nullptr);
    HDC memoryDc = ::CreateCompatibleDC(screenDc);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screenDc, width, height);
    HGDIOBJ old = ::SelectObject(memoryDc, bitmap);
    ::BitBlt(memoryDc, 0, 0, width, height, screenDc, rect.left, rect.top, SRCCOPY);
    ::SelectObject(memoryDc, old);

    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height; // bottom-up, as a BMP file stores its rows
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);
    int rows = ::GetDIBits(memoryDc, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
                           DIB_RGB_COLORS);
    ::DeleteObject(bitmap);
    ::DeleteDC(memoryDc);
    ::ReleaseDC(nullptr, screenDc);
    if (rows != height)
        return false;

    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42; // "BM"
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(&header, sizeof header, 1, file) == 1 && std::fwrite(&info, sizeof info, 1, file) == 1 &&
                   std::fwrite(pixels.data(), pixels.size(), 1, file) == 1;
    return std::fclose(file) == 0 && written;
}

bool SaveWindow(HWND window, const std::string& path)
{
    RECT rect;
    return ::GetWindowRect(window, &rect) && SaveScreenRect(rect, path);
}
