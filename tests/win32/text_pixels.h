// Reading drawn text back by its pixels: a rectangle of a window as on screen
// against the same text drawn there with DrawTextW in the window's font.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct TextPixels {
    // The pixels of a width x height bitmap after paint(dc) drew on it.
    template <typename Paint>
    static std::vector<COLORREF> Painted(int width, int height, Paint paint)
    {
        HDC screen = ::GetDC(nullptr);
        HDC dc = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
        ::ReleaseDC(nullptr, screen);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        paint(dc);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels.push_back(::GetPixel(dc, x, y));
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
        return pixels;
    }
    // The pixels of rect (client coordinates of window) after a full repaint.
    static std::vector<COLORREF> OnScreen(HWND window, const RECT& rect)
    {
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        HDC source = ::GetDC(window);
        std::vector<COLORREF> pixels = Painted(rect.right - rect.left, rect.bottom - rect.top, [&](HDC dc) {
            ::BitBlt(dc, 0, 0, rect.right - rect.left, rect.bottom - rect.top, source, rect.left, rect.top, SRCCOPY);
        });
        ::ReleaseDC(window, source);
        return pixels;
    }
    // rect on the background, with text drawn from its top left corner in font;
    // narrow draws the bytes with ExtTextOutA instead (what the lists drew before).
    static std::vector<COLORREF> Drawn(const RECT& rect, HFONT font, const std::wstring& text, COLORREF background,
                                       COLORREF ink, const std::string* narrow = nullptr)
    {
        return Painted(rect.right - rect.left, rect.bottom - rect.top, [&](HDC dc) {
            RECT box = { 0, 0, rect.right - rect.left, rect.bottom - rect.top };
            HGDIOBJ oldFont = ::SelectObject(dc, font);
            ::SetBkColor(dc, background);
            ::SetTextColor(dc, ink);
            ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &box, nullptr, 0, nullptr);
            if (narrow)
                ::ExtTextOutA(dc, 0, 0, ETO_CLIPPED, &box, narrow->c_str(), static_cast<UINT>(narrow->size()), nullptr);
            else
                ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
            ::SelectObject(dc, oldFont);
        });
    }
    // How many pixels differ from the background: the text has ink.
    static int Ink(const std::vector<COLORREF>& pixels, COLORREF background)
    {
        int ink = 0;
        for (COLORREF pixel : pixels)
            ink += pixel != background;
        return ink;
    }
};
