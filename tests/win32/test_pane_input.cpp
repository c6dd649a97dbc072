// The caret under keys and mouse: moves of both panes, the selection, the
// line numbers in the status bar, the Insert key and the focus.
#include <doctest/doctest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "compare_window_fixture.h"
#include "pane_driver.h"
#include "resources/resource.h"

namespace {

CString ShownStatusText(CompareWindow& window, int index)
{
    char text[256] = "";
    window.statusBar.SendMessage(SB_GETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

LPARAM CellPoint(const TextPane& pane, int column, int row)
{
    return PointParam((column - pane.firstColumn) * pane.charWidth + 2, (row - pane.topRow) * pane.rowHeight + 3);
}

void Click(TextPane& pane, LPARAM point)
{
    pane.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
    pane.SendMessage(WM_LBUTTONUP, 0, point);
}

} // namespace

TEST_CASE("keys move the caret of both panes")
{
    // Rows: "a\tbc" (b at column 4), "hello world" (the longest: the column
    // limit is 11), an empty row, then 97 numbered rows.
    const std::string text = "a\tbc\r\nhello world\r\n\r\n" + NumberedLines("row ", 97);
    CompareWindowFixture fixture(text, text);
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    TextPane& source = window.sourcePane;
    TextPane& master = window.masterPane;
    REQUIRE(window.totalRows == 100);
    REQUIRE(source.columnLimit == 11);
    const int page = ClientRect(source.m_hWnd).bottom / source.rowHeight;
    REQUIRE(page > 10);

    struct Case {
        const char* label;
        TextPosition from;
        UINT key;
        bool control;
        int repeat;
        TextPosition expected;
    };
    const Case cases[] = {
        { "Right steps over a tab", { 1, 0 }, VK_RIGHT, false, 1, { 4, 0 } },
        { "Right from inside a tab's cells goes past the tab", { 2, 0 }, VK_RIGHT, false, 1, { 4, 0 } },
        { "Left onto a tab", { 4, 0 }, VK_LEFT, false, 1, { 1, 0 } },
        { "Left onto the character after a tab", { 5, 0 }, VK_LEFT, false, 1, { 4, 0 } },
        { "Left with a repeat count stops at column 0", { 5, 0 }, VK_LEFT, false, 9, { 0, 0 } },
        { "Right into the virtual space after the text", { 0, 2 }, VK_RIGHT, false, 3, { 3, 2 } },
        { "Right stops at the column limit", { 10, 1 }, VK_RIGHT, false, 5, { 11, 1 } },
        { "Ctrl does not change Right", { 1, 0 }, VK_RIGHT, true, 1, { 4, 0 } },
        { "End goes after the last character, tabs expanded", { 0, 0 }, VK_END, false, 1, { 6, 0 } },
        { "End of an empty row", { 7, 2 }, VK_END, false, 1, { 0, 2 } },
        { "Home", { 5, 1 }, VK_HOME, false, 1, { 0, 1 } },
        { "Ctrl+Home", { 5, 40 }, VK_HOME, true, 1, { 0, 0 } },
        { "Ctrl+End: column 0 of the comparison's last row", { 5, 3 }, VK_END, true, 1, { 0, 99 } },
        { "Up with a repeat count keeps the column", { 3, 10 }, VK_UP, false, 4, { 3, 6 } },
        { "Up past the top stops at row 0", { 3, 2 }, VK_UP, false, 5, { 3, 0 } },
        { "Down stops just past the last row", { 0, 97 }, VK_DOWN, false, 5, { 0, 100 } },
        { "Page Down moves a page, whatever the repeat count", { 2, 5 }, VK_NEXT, false, 3, { 2, 5 + page } },
        { "Page Up stops at row 0", { 2, 5 }, VK_PRIOR, false, 1, { 2, 0 } },
    };
    for (const Case& c : cases) {
        INFO(c.label);
        source.MoveCaret(c.from.column, c.from.row, MOVE_BOTH);
        {
            HeldKeys held({ c.control ? VK_CONTROL : 0 });
            PressKey(source, c.key, c.repeat);
        }
        CHECK(source.caret == c.expected);
        CHECK(source.anchor == c.expected);
        CHECK(master.caret == c.expected);
        CHECK(master.anchor == c.expected);
    }

    SUBCASE("Shift extends the selection in the focused pane only")
    {
        source.MoveCaret(3, 1, MOVE_BOTH);
        {
            HeldKeys shift({ VK_SHIFT });
            PressKey(source, VK_DOWN);
        }
        CHECK(source.anchor == TextPosition{ 3, 1 });
        CHECK(source.caret == TextPosition{ 3, 2 });
        CHECK_FALSE(master.HasSelection());
        CHECK(master.caret == TextPosition{ 3, 2 });

        source.MoveCaret(3, 50, MOVE_BOTH);
        {
            HeldKeys shiftControl({ VK_SHIFT, VK_CONTROL });
            PressKey(source, VK_HOME);
        }
        CHECK(source.anchor == TextPosition{ 3, 50 });
        CHECK(source.caret == TextPosition{ 0, 0 });
        CHECK(window.topRow == 0);
    }
    SUBCASE("Page Down on the last page goes past the last row and scrolls no further than the range")
    {
        source.MoveCaret(0, 90, MOVE_BOTH);
        PressKey(source, VK_NEXT);
        CHECK(source.caret.row == 100);
        CHECK(window.topRow == 100 - page);
        CHECK(master.topRow == window.topRow);
    }
    SUBCASE("a caret beyond the right edge scrolls its own pane sideways")
    {
        ::MoveWindow(window.m_hWnd, 0, 0, 160, 300, TRUE);
        const int visible = ClientRect(source.m_hWnd).right / source.charWidth;
        REQUIRE(visible < 10);
        source.MoveCaret(0, 1, 0);
        PressKey(source, VK_END);
        CHECK(source.firstColumn == 11 - visible);
        CHECK(master.firstColumn == 11 - visible);
        master.MoveCaret(0, 1, 0);
        CHECK(master.firstColumn == 0);
        CHECK(source.firstColumn == 11 - visible);
    }
}

TEST_CASE("the caret reaches the end of a row that tabs make wider than the longest line's length")
{
    // Four characters, but thirteen cells: the column limit alone would stop the caret at 4.
    CompareWindowFixture fixture("\t\t\tx\r\nab\r\n", "\t\t\tx\r\nab\r\n");
    REQUIRE(fixture.created);
    TextPane& pane = fixture.window.sourcePane;
    REQUIRE(pane.columnLimit == 4);
    PressKey(pane, VK_END);
    CHECK(pane.caret == TextPosition{ 13, 0 });
    PressKey(pane, VK_RIGHT);
    CHECK(pane.caret == TextPosition{ 13, 0 });
    PressKey(pane, VK_LEFT);
    CHECK(pane.caret == TextPosition{ 12, 0 });
    // Other rows keep the column limit.
    PressKey(pane, VK_DOWN);
    CHECK(pane.caret == TextPosition{ 4, 1 });
}

TEST_CASE("the view follows a caret past the longest loaded line: a row widened by tabs, a row lengthened by typing")
{
    // Row 0: 14 characters in 44 cells; row 1, "hello world plus", is the longest at 16.
    const std::string text = "\t\t\t\t\t\t\t\t\t\tabcd\r\nhello world plus\r\n";
    CompareWindowFixture fixture(text, text);
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    TextPane& source = window.sourcePane;
    REQUIRE(source.columnLimit == 16);
    ::MoveWindow(window.m_hWnd, 0, 0, 200, 300, TRUE);
    const int visible = ClientRect(source.m_hWnd).right / source.charWidth;
    REQUIRE(visible < 14);
    auto inView = [&](const TextPane& pane) {
        return pane.caret.column >= pane.firstColumn && pane.caret.column - pane.firstColumn <= visible;
    };

    source.MoveCaret(0, 0, MOVE_BOTH);
    PressKey(source, VK_END);
    REQUIRE(source.caret == TextPosition{ 44, 0 });
    CHECK(inView(source));
    CHECK(inView(window.masterPane));

    source.MoveCaret(0, 1, MOVE_BOTH);
    PressKey(source, VK_END);
    for (char character : std::string("typed on"))
        source.SendMessage(WM_CHAR, static_cast<unsigned char>(character), 1);
    REQUIRE(source.caret == TextPosition{ 24, 1 });
    CHECK(inView(source));
}

TEST_CASE("the status bar shows both files' line numbers at the caret row")
{
    // The Master file lacks line 42 of the Source file, so row 41 is a Master filler.
    std::string master = NumberedLines("line ", 41) + NumberedLines("more ", 8);
    std::string source = NumberedLines("line ", 41) + "line 41\r\n" + NumberedLines("more ", 8);
    CompareWindowFixture fixture(source, master);
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    REQUIRE(window.masterPane.buffer.IsFiller(41));
    const int sourceIndex = window.sourcePane.statusPaneIndex;
    const int masterIndex = window.masterPane.statusPaneIndex;

    struct Case {
        const char* label;
        int row;
        const char* sourceText;
        const char* masterText;
    };
    const Case cases[] = {
        { "a filler row of the Master file", 41, "S 00042", "" },
        { "the rows after it", 42, "S 00043", "M 00042" },
        { "the first row", 0, "S 00001", "M 00001" },
        { "past the last row", 50, "", "" },
    };
    for (const Case& c : cases) {
        INFO(c.label);
        window.sourcePane.MoveCaret(0, c.row, MOVE_BOTH);
        CHECK(window.statusBar.GetPaneText(sourceIndex) == c.sourceText);
        CHECK(window.statusBar.GetPaneText(masterIndex) == c.masterText);
        CHECK(ShownStatusText(window, sourceIndex) == c.sourceText);
    }
}

TEST_CASE("Insert switches both panes between insert and overwrite, and OVR shows while overwriting")
{
    CompareWindowFixture fixture("a\r\n", "b\r\n");
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    const int ovr = window.statusBar.CommandToIndex(ID_INDICATOR_OVR);
    fixture.Idle();
    CHECK(ShownStatusText(window, ovr).empty());

    PressKey(window.masterPane, VK_INSERT);
    CHECK(window.insertMode == 0);
    CHECK(window.sourcePane.insertMode == 0);
    CHECK(window.masterPane.insertMode == 0);
    fixture.Idle();
    CHECK(ShownStatusText(window, ovr) == "OVR");

    PressKey(window.sourcePane, VK_INSERT);
    CHECK(window.insertMode == 1);
    CHECK(window.masterPane.insertMode == 1);
    CHECK(window.sourcePane.caret == TextPosition{ 0, 0 });
    fixture.Idle();
    CHECK(ShownStatusText(window, ovr).empty());
}

TEST_CASE("a click into the Master pane moves both carets there and gives the Master pane the focus")
{
    CompareWindowFixture fixture("same\r\nsame\r\nsource\r\nsame\r\n", "same\r\nsame\r\nmaster\r\nsame\r\n");
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    TextPane& source = window.sourcePane;
    TextPane& master = window.masterPane;
    REQUIRE(::GetFocus() == source.m_hWnd);
    CHECK_FALSE(window.IsCommandEnabled(ID_SELECT_DIFFERENCE));

    Click(master, CellPoint(master, 3, 2));
    CHECK(::GetFocus() == master.m_hWnd);
    CHECK(window.activePane == &master);
    CHECK(::GetCapture() == nullptr);
    CHECK(master.caret == TextPosition{ 3, 2 });
    CHECK(source.caret == TextPosition{ 3, 2 });
    CHECK_FALSE(master.HasSelection());
    CHECK(PaneImage(window.masterCaption.m_hWnd, PaneImage::ON_SCREEN).At(1, 1) == ::GetSysColor(COLOR_ACTIVECAPTION));
    CHECK(PaneImage(window.sourceCaption.m_hWnd, PaneImage::ON_SCREEN).At(1, 1) == ::GetSysColor(COLOR_INACTIVECAPTION));
    CHECK(window.IsCommandEnabled(ID_SELECT_DIFFERENCE));

    // A caret placed with the focus elsewhere appears where the caret is.
    ::SetFocus(source.m_hWnd);
    source.MoveCaret(1, 3, MOVE_BOTH);
    ::SetFocus(master.m_hWnd);
    POINT caret;
    ::GetCaretPos(&caret);
    CHECK(caret.x == 1 * master.charWidth);
    CHECK(caret.y == 3 * master.rowHeight);
}

TEST_CASE("dragging selects from the button-down point and scrolls at the pane's edges")
{
    CompareWindowFixture fixture(NumberedLines("row ", 200), NumberedLines("row ", 200));
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    TextPane& source = window.sourcePane;
    HWND hwnd = source.m_hWnd;
    const RECT client = ClientRect(hwnd);
    const int page = client.bottom / source.rowHeight;

    source.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, CellPoint(source, 1, 2));
    CHECK(::GetCapture() == hwnd);
    source.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, CellPoint(source, 4, 5));
    CHECK(source.anchor == TextPosition{ 1, 2 });
    CHECK(source.caret == TextPosition{ 4, 5 });
    CHECK(window.masterPane.caret == TextPosition{ 4, 5 });
    CHECK_FALSE(window.masterPane.HasSelection());

    struct Step {
        const char* label;
        int y;
        int caretRow;
        int topRow;
    };
    const int below = client.bottom + 20;
    const Step steps[] = {
        { "below the pane: the view follows", below, below / source.rowHeight, below / source.rowHeight - page + 1 },
        { "less than a row above the pane: the top row", -5, below / source.rowHeight - page + 1,
          below / source.rowHeight - page + 1 },
        { "a row above the pane: one row up", -source.rowHeight - 2, below / source.rowHeight - page,
          below / source.rowHeight - page },
    };
    for (const Step& step : steps) {
        INFO(step.label);
        source.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, PointParam(20, step.y));
        CHECK(source.caret.row == step.caretRow);
        CHECK(window.topRow == step.topRow);
        CHECK(source.anchor == TextPosition{ 1, 2 });
        // Inverting the change while the rows scroll leaves what a full repaint shows.
        CHECK(ScreenMatchesRepaint(hwnd));
    }
    source.SendMessage(WM_LBUTTONUP, 0, PointParam(20, 20));
    CHECK(::GetCapture() == nullptr);
    const TextPosition caret = source.caret;
    source.SendMessage(WM_MOUSEMOVE, 0, CellPoint(source, 6, 6));
    CHECK(source.caret == caret);
}

TEST_CASE("rows typed past the comparison's last row come into view and stay within the scroll bar's reach")
{
    const std::string text = NumberedLines("row ", 100);
    CompareWindowFixture fixture(text, text);
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    TextPane& source = window.sourcePane;
    const int page = window.PageRows();
    REQUIRE(page > 3);
    REQUIRE(page < 100);

    source.MoveCaret(0, 99, MOVE_BOTH);
    PressKey(source, VK_END);
    for (char character : std::string("\rone\rtwo\rthree"))
        source.SendMessage(WM_CHAR, static_cast<unsigned char>(character), 1);
    REQUIRE(source.caret.row == 102);
    CHECK(source.caret.row >= window.topRow);
    CHECK(source.caret.row < window.topRow + page);
    int low = 0, high = 0;
    ::GetScrollRange(window.scrollBar.m_hWnd, SB_CTL, &low, &high);
    CHECK(high >= 103 - page);

    // Back to the top, then down with the thumb.
    window.ScrollToRow(SB_THUMBPOSITION, 0);
    window.ScrollToRow(SB_THUMBPOSITION, high);
    CHECK(window.topRow + page > 102);
}
