// The GAUGE control by its pixels, the progress dialog's Cancel and Escape,
// the delay before it shows, and cancelling a long comparison in the running
// program.
#include <doctest/doctest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "compare_window_fixture.h"
#include "engine/compare_progress_dialog.h"
#include "engine/gauge.h"
#include "framework/wnd.h"
#include "modal_driver.h"
#include "test_support.h"

namespace {

constexpr COLORREF BLUE = RGB(0, 0, 255);
constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF BLACK = RGB(0, 0, 0);

// A gauge in a plain top-level window, rendered into a memory bitmap.
class GaugeFixture {
public:
    GaugeFixture()
    {
        RECT rect = { 10, 10, 260, 80 };
        host.CreateEx(0, nullptr, "gauge host", WS_OVERLAPPED, rect, nullptr, 0);
        gauge = ::CreateWindowExA(0, GAUGE_CLASS, "", WS_CHILD | WS_VISIBLE, 0, 0, WIDTH, HEIGHT, host.m_hWnd,
                                  nullptr, ::GetModuleHandleA(nullptr), nullptr);
        HDC screen = ::GetDC(nullptr);
        dc = ::CreateCompatibleDC(screen);
        bitmap = ::CreateCompatibleBitmap(screen, WIDTH, HEIGHT);
        ::ReleaseDC(nullptr, screen);
        old = ::SelectObject(dc, bitmap);
        ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    }
    ~GaugeFixture()
    {
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
        host.DestroyWindow();
    }
    void Render()
    {
        RECT all = { 0, 0, WIDTH, HEIGHT };
        ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
        Gauge::Paint(gauge, dc);
    }
    COLORREF At(int x, int y) const { return ::GetPixel(dc, x, y); }
    // Counts pixels of a colour in columns [from, to) of the middle rows.
    int Count(COLORREF colour, int from, int to) const
    {
        int count = 0;
        for (int x = from; x < to; ++x)
            for (int y = 2; y < HEIGHT - 2; ++y)
                count += At(x, y) == colour;
        return count;
    }

    static constexpr int WIDTH = 202;
    static constexpr int HEIGHT = 22;
    CWnd host;
    HWND gauge = nullptr;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
};

// The show delay's clock: the comparison's start, then a fixed time later.
unsigned long g_elapsed = 0;
int g_clockCalls = 0;
unsigned long ElapsedClock()
{
    return g_clockCalls++ ? g_elapsed : 0;
}

// Counts the dialogs created on this thread, shown or not.
int g_dialogs = 0;
LRESULT CALLBACK CountDialogs(int code, WPARAM wParam, LPARAM lParam)
{
    char name[16] = "";
    if (code == HCBT_CREATEWND && ::GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name))
        g_dialogs += std::string(name) == "#32770";
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TEST_CASE("the progress dialog shows only for a comparison still running after the delay, and then cancels it")
{
    // Lone braces are trivial: the search refutes each candidate only at the
    // last line, and pumps for seconds.
    std::string braces;
    for (int pair = 0; pair < 20000; ++pair)
        braces += "{\r\n}\r\n";
    const struct Row {
        const char* label;
        unsigned long elapsed;
        std::string source;
        std::string master;
        bool shown;
    } rows[] = {
        { "ended before the delay", CompareProgressDialog::SHOW_DELAY - 1, "a\r\nb\r\n", "a\r\nx\r\n", false },
        { "running at the delay", CompareProgressDialog::SHOW_DELAY, "X\r\n" + braces + "Q\r\n",
          "Y\r\n" + braces + "R\r\n", true },
    };
    const CompareProgressDialog::Clock realClock = CompareProgressDialog::clock;
    CompareProgressDialog::clock = ElapsedClock;
    for (const Row& row : rows) {
        CAPTURE(row.label);
        g_elapsed = row.elapsed;
        g_clockCalls = g_dialogs = 0;
        ModalDriver cancel("Zelvane Utility", [](HWND dialog) { ClickButton(dialog, IDCANCEL); });
        HHOOK hook = ::SetWindowsHookExA(WH_CBT, CountDialogs, nullptr, ::GetCurrentThreadId());
        CompareWindowFixture fixture(row.source, row.master);
        ::UnhookWindowsHookEx(hook);
        CHECK(g_dialogs == (row.shown ? 1 : 0));
        CHECK(cancel.Ran() == row.shown);
        CHECK(fixture.window.comparisonResult == (row.shown ? 0 : 1));
    }
    CompareProgressDialog::clock = realClock;
}

TEST_CASE("the gauge paints a bar whose text changes colour where the bar ends")
{
    GaugeFixture fixture;
    REQUIRE(fixture.gauge != nullptr);
    CHECK(Gauge::BarColour() == BLUE);
    const int W = GaugeFixture::WIDTH;
    const int H = GaugeFixture::HEIGHT;

    SUBCASE("a new gauge stands at 0 of 100: frame, then an empty bar")
    {
        fixture.Render();
        CHECK(fixture.At(0, 0) == BLACK);
        CHECK(fixture.At(W - 1, H - 1) == BLACK);
        CHECK(fixture.At(3, H / 2) == WHITE);
        CHECK(fixture.Count(BLUE, 1, W - 1) > 0); // the "0%" text in bar colour
        CHECK(fixture.At(W / 2 - 40, 2) == WHITE);
    }
    SUBCASE("half way: blue with white text on the left, white with blue text on the right")
    {
        Gauge::SetRange(fixture.gauge, 200);
        Gauge::SetPos(fixture.gauge, 100);
        fixture.Render();
        int split = 1 + (W - 2) * 100 / 200;
        CHECK(fixture.At(3, H / 2) == BLUE);
        CHECK(fixture.At(split - 1, 2) == BLUE);
        CHECK(fixture.At(split, 2) == WHITE);
        CHECK(fixture.At(W - 4, H / 2) == WHITE);
        CHECK(fixture.Count(WHITE, split - 20, split) > 0); // text left of the split, in white
        CHECK(fixture.Count(BLUE, split, split + 20) > 0);  // text right of the split, in blue
        CHECK(fixture.Count(RGB(128, 128, 128), 1, W - 1) == 0);
    }
    SUBCASE("a range of 0 draws as 0 of 1")
    {
        Gauge::SetRange(fixture.gauge, 0);
        Gauge::SetPos(fixture.gauge, 0);
        fixture.Render();
        CHECK(fixture.At(3, H / 2) == WHITE);
        CHECK(fixture.At(W - 4, H / 2) == WHITE);
    }
    SUBCASE("a position above the range draws a full bar; values keep their low 16 bits")
    {
        Gauge::SetRange(fixture.gauge, 10);
        Gauge::SetPos(fixture.gauge, 0x10000 + 50);
        CHECK(static_cast<WORD>(::GetWindowWord(fixture.gauge, 0)) == 50);
        fixture.Render();
        CHECK(fixture.At(3, H / 2) == BLUE);
        CHECK(fixture.At(W - 4, H / 2) == BLUE);
        CHECK(fixture.Count(WHITE, 1, W - 1) > 0); // "100%" in white
    }
}

TEST_CASE("the progress dialog names both files, and Cancel and Escape only raise the flag")
{
    CWnd owner;
    RECT rect = { 100, 100, 500, 400 };
    REQUIRE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect, nullptr, 0));
    CompareProgressDialog dialog;
    dialog.sourceName = "C:\\new\\main.c";
    dialog.masterName = "C:\\old\\main.c";
    REQUIRE(dialog.Create(&owner));
    CHECK(::IsWindowVisible(dialog.m_hWnd));
    CHECK(dialog.GetWindowText() == "Zelvane Utility");
    CHECK(dialog.GetDlgItemText(1019) == "C:\\new\\main.c");
    CHECK(dialog.GetDlgItemText(1020) == "C:\\old\\main.c");
    REQUIRE(dialog.gauge != nullptr);
    dialog.SetRange(1000);
    dialog.SetPos(250);
    CHECK(static_cast<WORD>(::GetWindowWord(dialog.gauge, 2)) == 1000);
    CHECK(static_cast<WORD>(::GetWindowWord(dialog.gauge, 0)) == 250);

    SUBCASE("a Source of more than 65,535 lines moves the bar steadily from 0 to 100 percent")
    {
        for (uint32_t lines : { 65536u, 70000u, 200000u, 3000000u }) {
            CAPTURE(lines);
            dialog.SetRange(lines);
            unsigned previous = 0;
            bool steady = true;
            for (uint32_t line = 0; line <= lines; line += lines / 97) {
                dialog.SetPos(line);
                unsigned position = static_cast<WORD>(::GetWindowWord(dialog.gauge, 0));
                unsigned range = static_cast<WORD>(::GetWindowWord(dialog.gauge, 2));
                REQUIRE(range > 0);
                unsigned percent = std::min(position, range) * 100 / range;
                // Never back, and within a percent of the true share.
                steady = steady && percent >= previous &&
                         std::abs(static_cast<int>(percent) - static_cast<int>(uint64_t(line) * 100 / lines)) <= 1;
                previous = percent;
            }
            CHECK(steady);
            dialog.SetPos(lines);
            CHECK(::GetWindowWord(dialog.gauge, 0) == ::GetWindowWord(dialog.gauge, 2));
        }
    }
    SUBCASE("Cancel")
    {
        ::PostMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                       reinterpret_cast<LPARAM>(dialog.GetDlgItem(IDCANCEL)));
        dialog.PumpAllMessages();
        CHECK(dialog.IsCancelled());
    }
    SUBCASE("Escape")
    {
        HWND button = dialog.GetDlgItem(IDCANCEL);
        ::PostMessageA(button, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        dialog.PumpAllMessages();
        CHECK(dialog.IsCancelled());
    }
    SUBCASE("Enter does not close it")
    {
        HWND button = dialog.GetDlgItem(IDCANCEL);
        ::PostMessageA(button, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        dialog.PumpAllMessages();
    }
    CHECK(::IsWindow(dialog.m_hWnd));
    CHECK(::IsWindowVisible(dialog.m_hWnd));
    dialog.Destroy();
    CHECK(dialog.m_hWnd == nullptr);
    owner.DestroyWindow();
}
