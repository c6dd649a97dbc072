// The floor for paint_timer: what the platform costs to start a process and
// paint a plain window with a status bar and a line of text.
#include <windows.h>
#include <commctrl.h>

namespace {

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window, &paint);
        const char text[] = "The tide comes in twice a day.";
        ::TextOutA(dc, 8, 8, text, sizeof text - 1);
        ::EndPaint(window, &paint);
        return 0;
    }
    case WM_SIZE:
        ::SendMessageA(::GetDlgItem(window, 1), WM_SIZE, 0, 0);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    ::InitCommonControls();
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FloorProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "ZelvaneFloor";
    ::RegisterClassA(&windowClass);
    HWND window = ::CreateWindowA("ZelvaneFloor", "Floor", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, nullptr,
                                  instance, nullptr);
    ::CreateWindowA(STATUSCLASSNAMEA, "Ready", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window,
                    reinterpret_cast<HMENU>(1), instance, nullptr);
    ::ShowWindow(window, show);
    ::UpdateWindow(window);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}
