// The screenshot program's two tools: pictures of the screen saved as BMP
// files, and the watch that finds the window a step opens.
#include <doctest/doctest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "test_support.h"
#include "tools/screenshots/capture.h"
#include "tools/screenshots/window_watch.h"

namespace {

const COLORREF TOP_BAND = RGB(0, 0, 255);
const COLORREF BODY = RGB(20, 200, 40);
const int BAND_ROWS = 5;

LRESULT CALLBACK BandedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window, &paint);
        RECT client;
        ::GetClientRect(window, &client);
        HBRUSH body = ::CreateSolidBrush(BODY);
        HBRUSH band = ::CreateSolidBrush(TOP_BAND);
        ::FillRect(dc, &client, body);
        client.bottom = BAND_ROWS;
        ::FillRect(dc, &client, band);
        ::DeleteObject(body);
        ::DeleteObject(band);
        ::EndPaint(window, &paint);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

const char* RegisterClassOnce(const char* name)
{
    WNDCLASSA windowClass = {};
    if (!::GetClassInfoA(::GetModuleHandleA(nullptr), name, &windowClass)) {
        windowClass.lpfnWndProc = BandedProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = name;
        ::RegisterClassA(&windowClass);
    }
    return name;
}

HWND BandedWindow(int x, int y, int width, int height)
{
    return ::CreateWindowExA(WS_EX_TOPMOST, RegisterClassOnce("ZelCaptureTest"), "", WS_POPUP | WS_VISIBLE, x, y,
                             width, height, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

struct Bitmap {
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER info;
    std::string bytes;
    // The colour at (x, y) counted from the top left, as the picture shows it.
    COLORREF Pixel(int x, int y) const
    {
        size_t stride = (static_cast<size_t>(info.biWidth) * 3 + 3) & ~static_cast<size_t>(3);
        size_t offset = file.bfOffBits + stride * static_cast<size_t>(info.biHeight - 1 - y) + static_cast<size_t>(x) * 3;
        auto byte = [&](size_t at) { return static_cast<BYTE>(bytes.at(at)); };
        return RGB(byte(offset + 2), byte(offset + 1), byte(offset));
    }
};

Bitmap ReadBitmap(const std::string& path)
{
    Bitmap bitmap;
    bitmap.bytes = ReadWholeFile(path);
    REQUIRE(bitmap.bytes.size() >= sizeof bitmap.file + sizeof bitmap.info);
    std::memcpy(&bitmap.file, bitmap.bytes.data(), sizeof bitmap.file);
    std::memcpy(&bitmap.info, bitmap.bytes.data() + sizeof bitmap.file, sizeof bitmap.info);
    return bitmap;
}

} // namespace

TEST_CASE("A saved screen rectangle is a BMP of the pixels on screen, top row last, rows padded, clipped to the screen")
{
    TempFile picture("", ".bmp");
    // 37 pixels make 111 bytes a row: the file pads each row to 112.
    HWND window = BandedWindow(100, 120, 37, 21);
    REQUIRE(window);
    Settle(window);
    REQUIRE(SaveWindow(window, picture.Path()));

    Bitmap bitmap = ReadBitmap(picture.Path());
    CHECK(bitmap.file.bfType == 0x4D42);
    CHECK(bitmap.file.bfSize == bitmap.bytes.size());
    CHECK(bitmap.info.biWidth == 37);
    CHECK(bitmap.info.biHeight == 21);
    CHECK(bitmap.bytes.size() == bitmap.file.bfOffBits + 112u * 21u);
    CHECK(bitmap.Pixel(0, 0) == TOP_BAND);
    CHECK(bitmap.Pixel(36, BAND_ROWS - 1) == TOP_BAND);
    CHECK(bitmap.Pixel(0, BAND_ROWS) == BODY);
    CHECK(bitmap.Pixel(36, 20) == BODY);
    ::DestroyWindow(window);

    SUBCASE("a rectangle partly off the screen keeps its visible part")
    {
        HWND corner = BandedWindow(0, 0, 30, 30);
        Settle(corner);
        RECT rect = { -10, -10, 20, 20 };
        REQUIRE(SaveScreenRect(rect, picture.Path()));
        Bitmap clipped = ReadBitmap(picture.Path());
        CHECK(clipped.info.biWidth == 20);
        CHECK(clipped.info.biHeight == 20);
        CHECK(clipped.Pixel(0, 0) == TOP_BAND);
        CHECK(clipped.Pixel(19, 19) == BODY);
        ::DestroyWindow(corner);
    }
    SUBCASE("a rectangle wholly off the screen saves nothing")
    {
        RECT rect = { -50, -50, -10, -10 };
        CHECK_FALSE(SaveScreenRect(rect, picture.Path()));
    }
}

TEST_CASE("A window watch runs once, on the first matching window that was not there when it was armed")
{
    HWND before = BandedWindow(10, 10, 20, 20);
    int runs = 0;
    HWND seen = nullptr;
    {
        WindowWatch watch(WindowWatch::ClassNamed("ZelCaptureTest"), [&](HWND window) {
            ++runs;
            seen = window;
        });
        PumpFor(150);
        CHECK(runs == 0); // the window that was already there is not the one awaited

        HWND hidden = ::CreateWindowExA(0, "ZelCaptureTest", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr,
                                        ::GetModuleHandleA(nullptr), nullptr);
        PumpFor(150);
        CHECK(runs == 0); // nor one that is not shown

        HWND opened = BandedWindow(40, 10, 20, 20);
        CHECK(PumpUntil([&] { return watch.Ran(); }, 3000));
        CHECK(seen == opened);
        HWND later = BandedWindow(70, 10, 20, 20);
        PumpFor(150);
        CHECK(runs == 1);
        ::DestroyWindow(later);
        ::DestroyWindow(opened);
        ::DestroyWindow(hidden);
    }
    ::DestroyWindow(before);
}
