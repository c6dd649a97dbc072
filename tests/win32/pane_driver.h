// Driving and seeing text panes in tests: keys with held modifiers, mouse
// points, and a pane's pixels as painted on screen or rendered on request.
#pragma once

#include <windows.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include <doctest/doctest.h>

#include "compare_window/text_pane.h"

namespace doctest {
template <> struct StringMaker<TextPosition> {
    static String convert(const TextPosition& position)
    {
        return ("(" + std::to_string(position.column) + ", " + std::to_string(position.row) + ")").c_str();
    }
};
} // namespace doctest

// Holds keys down in this thread's keyboard state, which GetKeyState reads.
class HeldKeys {
public:
    HeldKeys(std::initializer_list<int> keys)
    {
        ::GetKeyboardState(m_saved);
        BYTE state[256];
        std::copy(m_saved, m_saved + 256, state);
        for (int key : keys)
            state[key] |= 0x80;
        ::SetKeyboardState(state);
    }
    ~HeldKeys() { ::SetKeyboardState(m_saved); }

private:
    BYTE m_saved[256];
};

inline void PressKey(const CWnd& pane, UINT key, int repeat = 1)
{
    pane.SendMessage(WM_KEYDOWN, key, static_cast<LPARAM>(repeat & 0xFFFF));
}

// Client co-ordinates as mouse messages carry them (negative while captured).
inline LPARAM PointParam(int x, int y)
{
    return static_cast<LPARAM>((static_cast<DWORD>(y & 0xFFFF) << 16) | static_cast<DWORD>(x & 0xFFFF));
}

// A window's client area in a 32-bit top-down bitmap, either rendered by the
// window through WM_PRINTCLIENT or copied from what it has painted on screen
// (pending paints done first, the blinking caret kept out).
class PaneImage {
public:
    enum Source { RENDERED, ON_SCREEN };
    PaneImage(HWND window, Source source)
    {
        if (source == ON_SCREEN)
            ::UpdateWindow(window);
        RECT client;
        ::GetClientRect(window, &client);
        width = client.right;
        height = client.bottom;
        BITMAPINFO info = {};
        info.bmiHeader = { sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0 };
        void* bits = nullptr;
        m_bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = static_cast<const DWORD*>(bits);
        m_dc = ::CreateCompatibleDC(nullptr);
        m_old = ::SelectObject(m_dc, m_bitmap);
        if (source == RENDERED) {
            ::SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(m_dc), PRF_CLIENT | PRF_ERASEBKGND);
            return;
        }
        ::HideCaret(window);
        HDC screen = ::GetDC(window);
        ::BitBlt(m_dc, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        ::ReleaseDC(window, screen);
        ::ShowCaret(window);
    }
    ~PaneImage()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteDC(m_dc);
        ::DeleteObject(m_bitmap);
    }
    PaneImage(const PaneImage&) = delete;
    PaneImage& operator=(const PaneImage&) = delete;

    COLORREF At(int x, int y) const
    {
        DWORD pixel = m_bits[static_cast<size_t>(y) * width + x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    int Count(const RECT& area, COLORREF colour) const
    {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += At(x, y) == colour;
        return count;
    }
    // The first point where two images differ, or (-1, -1).
    POINT FirstDifference(const PaneImage& other) const
    {
        for (int y = 0; y < height && y < other.height; ++y)
            for (int x = 0; x < width && x < other.width; ++x)
                if (At(x, y) != other.At(x, y))
                    return { x, y };
        return { -1, -1 };
    }
    bool SameAs(const PaneImage& other) const
    {
        return width == other.width && height == other.height && FirstDifference(other).x < 0;
    }
    // Two row bands of the image compared pixel by pixel.
    bool SameBand(int rowA, int rowB, int rowHeight) const
    {
        for (int dy = 0; dy < rowHeight; ++dy)
            for (int x = 0; x < width; ++x)
                if (At(x, rowA * rowHeight + dy) != At(x, rowB * rowHeight + dy))
                    return false;
        return true;
    }

    int width = 0;
    int height = 0;

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    const DWORD* m_bits = nullptr;
};

// Whether the pane's screen shows exactly what a full repaint would.
inline bool ScreenMatchesRepaint(HWND window)
{
    PaneImage screen(window, PaneImage::ON_SCREEN);
    return screen.SameAs(PaneImage(window, PaneImage::RENDERED));
}

inline RECT ClientRect(HWND window)
{
    RECT rect;
    ::GetClientRect(window, &rect);
    return rect;
}

// The region that waits for painting, as a bounding rectangle (empty when none).
inline RECT PendingPaint(HWND window)
{
    RECT rect = { 0, 0, 0, 0 };
    if (!::GetUpdateRect(window, &rect, FALSE))
        rect = { 0, 0, 0, 0 };
    return rect;
}

// Puts plain text on the clipboard, as another program would.
inline void SetClipboardText(const std::string& text)
{
    REQUIRE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    char* bytes = static_cast<char*>(::GlobalLock(block));
    std::copy(text.begin(), text.end(), bytes);
    bytes[text.size()] = '\0';
    ::GlobalUnlock(block);
    ::SetClipboardData(CF_TEXT, block);
    ::CloseClipboard();
}
