// The shared scroll bar against the panes at every height, and the window's
// place when the stored one lies off the screen.
#include <doctest/doctest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "compare_window_fixture.h"
#include "pane_driver.h"
#include "resources/resource.h"

namespace {

// Whole rows a pane shows at its current size.
int WholeRows(const CompareWindow& window, const TextPane& pane)
{
    return ClientRect(pane.m_hWnd).bottom / window.rowHeight;
}

bool HasHorizontalBar(HWND pane)
{
    return (::GetWindowLongA(pane, GWL_STYLE) & WS_HSCROLL) != 0;
}

// 40 short rows; the Source has one line too long for its pane, so only the
// Source pane shows a horizontal scroll bar.
std::string LongLineSource()
{
    return NumberedLines("row ", 20) + std::string(300, 'x') + "\r\n" + NumberedLines("more ", 19);
}
std::string ShortMaster()
{
    return NumberedLines("row ", 20) + "short\r\n" + NumberedLines("more ", 19);
}

} // namespace

TEST_CASE("the shared scroll bar reaches every row and shows whenever rows are cut off, at every height")
{
    CompareWindowFixture fixture(LongLineSource(), ShortMaster());
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    HWND frame = window.m_hWnd;
    HWND bar = window.scrollBar.m_hWnd;
    const int totalRows = window.totalRows;
    REQUIRE(totalRows == 40);

    int heightsWithBar = 0;
    for (int height = 180; height <= 900; height += 7) {
        CAPTURE(height);
        ::MoveWindow(frame, 0, 0, 700, height, TRUE);
        window.ScrollToRow(SB_THUMBPOSITION, 0);
        REQUIRE(HasHorizontalBar(window.sourcePane.m_hWnd));
        REQUIRE_FALSE(HasHorizontalBar(window.masterPane.m_hWnd));
        const int rows = std::min(WholeRows(window, window.sourcePane), WholeRows(window, window.masterPane));
        const bool cutOff = rows < totalRows;
        CHECK(::IsWindowVisible(bar) == cutOff);
        if (!cutOff)
            continue;
        ++heightsWithBar;

        // The thumb at the end of its range shows the last row whole in both panes.
        int low = 0, high = 0;
        ::GetScrollRange(bar, SB_CTL, &low, &high);
        window.ScrollToRow(SB_THUMBPOSITION, high);
        CHECK(window.topRow == high);
        CHECK((totalRows - window.topRow) * window.rowHeight <= ClientRect(window.sourcePane.m_hWnd).bottom);
        CHECK((totalRows - window.topRow) * window.rowHeight <= ClientRect(window.masterPane.m_hWnd).bottom);
        // Scrolling further stops where the thumb stops.
        window.ScrollToRow(SB_PAGEDOWN, 0);
        CHECK(window.topRow == high);

        // Ctrl+End in the taller pane brings the last row into the shorter one too.
        window.ScrollToRow(SB_THUMBPOSITION, 0);
        ::SetFocus(window.masterPane.m_hWnd);
        {
            HeldKeys control({ VK_CONTROL });
            PressKey(window.masterPane, VK_END);
        }
        CHECK(window.masterPane.caret.row == totalRows - 1);
        CHECK((totalRows - window.topRow) * window.rowHeight <= ClientRect(window.sourcePane.m_hWnd).bottom);
        // Page Down from the top moves by the rows both panes show.
        window.sourcePane.MoveCaret(0, 0, MOVE_BOTH);
        PressKey(window.masterPane, VK_NEXT);
        CHECK(window.masterPane.caret.row == rows);
    }
    CHECK(heightsWithBar > 10);
}

TEST_CASE("growing the window after scrolling down pulls the view back: no rows stranded above it")
{
    CompareWindowFixture fixture(LongLineSource(), ShortMaster());
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    HWND frame = window.m_hWnd;
    const int totalRows = window.totalRows;

    ::MoveWindow(frame, 0, 0, 700, 260, TRUE);
    window.ScrollToRow(SB_THUMBPOSITION, totalRows);
    REQUIRE(window.topRow > 10);

    SUBCASE("taller, still too short: the last row stays at the bottom")
    {
        ::MoveWindow(frame, 0, 0, 700, 480, TRUE);
        int rows = std::min(WholeRows(window, window.sourcePane), WholeRows(window, window.masterPane));
        REQUIRE(rows < totalRows);
        CHECK(window.topRow == totalRows - rows);
        CHECK(window.scrollBar.GetScrollPos() == window.topRow);
        CHECK(window.sourcePane.topRow == window.topRow);
        CHECK(window.masterPane.topRow == window.topRow);
    }
    SUBCASE("tall enough for every row: the bar goes and the first row is at the top")
    {
        ::MoveWindow(frame, 0, 0, 700, 900, TRUE);
        REQUIRE(std::min(WholeRows(window, window.sourcePane), WholeRows(window, window.masterPane)) >= totalRows);
        CHECK_FALSE(::IsWindowVisible(window.scrollBar.m_hWnd));
        CHECK(window.topRow == 0);
        CHECK(window.sourcePane.topRow == 0);
        CHECK(window.masterPane.topRow == 0);
    }
    CHECK(ScreenMatchesRepaint(window.sourcePane.m_hWnd));
    CHECK(ScreenMatchesRepaint(window.masterPane.m_hWnd));
}

TEST_CASE("a stored place off every monitor comes back onto the screen; one on it is kept")
{
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    RECT work;
    REQUIRE(::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    struct Case {
        const char* label;
        int x, y, cx, cy;
        bool kept;
    } cases[] = {
        { "on the screen: kept exactly", 40, 60, 500, 300, true },
        { "partly on the screen: kept", screenWidth - 100, 60, 500, 300, true },
        { "on a monitor to the right that is gone", screenWidth + 200, 100, 500, 300, false },
        { "above and left of the screen", -3000, -2000, 500, 300, false },
        { "below a smaller screen", 100, screenHeight + 400, 500, 300, false },
    };
    for (const Case& c : cases) {
        CAPTURE(c.label);
        CleanSettings clean;
        TempFile source("a\r\n"), master("b\r\n");
        WriteRawSetting("Position", "x", REG_DWORD, &c.x, sizeof c.x);
        WriteRawSetting("Position", "y", REG_DWORD, &c.y, sizeof c.y);
        WriteRawSetting("Position", "cx", REG_DWORD, &c.cx, sizeof c.cx);
        WriteRawSetting("Position", "cy", REG_DWORD, &c.cy, sizeof c.cy);
        CompareWindow window;
        window.sourcePath = source.Path();
        window.masterPath = master.Path();
        REQUIRE(window.Create());
        RECT rect;
        ::GetWindowRect(window.m_hWnd, &rect);
        CHECK(rect.right - rect.left == c.cx);
        CHECK(rect.bottom - rect.top == c.cy);
        if (c.kept) {
            CHECK(rect.left == c.x);
            CHECK(rect.top == c.y);
        } else {
            CHECK(rect.left >= work.left);
            CHECK(rect.top >= work.top);
            CHECK(rect.right <= work.right);
            CHECK(rect.bottom <= work.bottom);
        }
        // What is stored at the end is where the window stood, in the same co-ordinates.
        ::DestroyWindow(window.m_hWnd);
        CHECK(static_cast<int>(ReadSetting("Position", "x").AsDword()) == rect.left);
        CHECK(static_cast<int>(ReadSetting("Position", "y").AsDword()) == rect.top);
    }
}
