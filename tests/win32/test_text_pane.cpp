// The text panes on screen: loading, row colours, tabs, partial repaints,
// scrolling in both directions, the inverted selection and the captions.
#include <doctest/doctest.h>

#include <algorithm>
#include <string>

#include "compare_window_fixture.h"
#include "pane_driver.h"

namespace {

constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF BLACK = RGB(0, 0, 0);
constexpr COLORREF GREY = RGB(192, 192, 192);

// A point in the middle of a cell, in client pixels.
POINT Cell(const TextPane& pane, int column, int row)
{
    return { (column - pane.firstColumn) * pane.charWidth + pane.charWidth / 2,
             (row - pane.topRow) * pane.rowHeight + pane.rowHeight / 2 };
}

COLORREF CellColour(const PaneImage& image, const TextPane& pane, int column, int row)
{
    POINT at = Cell(pane, column, row);
    return image.At(at.x, at.y);
}

RECT RowBand(const TextPane& pane, const PaneImage& image, int row)
{
    int top = (row - pane.topRow) * pane.rowHeight;
    return { 0, top, image.width, top + pane.rowHeight };
}

} // namespace

TEST_CASE("a pane loads its file and sizes its horizontal range by the longest loaded line")
{
    const std::string longLine(150, 'x');
    CompareWindowFixture fixture("short\r\n" + longLine + "\r\n\t\tab\r\n", "a\r\nb\r\n");
    REQUIRE(fixture.created);
    TextPane& source = fixture.window.sourcePane;
    TextPane& master = fixture.window.masterPane;
    CHECK(source.charWidth == 8);
    CHECK(source.rowHeight >= 13);
    CHECK(source.columnLimit == 150);
    CHECK(master.columnLimit == 1);

    int low = -1, high = -1;
    ::GetScrollRange(source.m_hWnd, SB_HORZ, &low, &high);
    CHECK(low == 0);
    CHECK(high == 150 - ClientRect(source.m_hWnd).right / source.charWidth);
    // A range of 0 ... 0 takes the horizontal scroll bar away.
    ::GetScrollRange(master.m_hWnd, SB_HORZ, &low, &high);
    CHECK(high == 0);
    CHECK((::GetWindowLongA(master.m_hWnd, GWL_STYLE) & WS_HSCROLL) == 0);

    SUBCASE("after a resize the pane shows column 0 again, with the range of its new width")
    {
        source.ScrollColumns(SB_RIGHT, 0);
        REQUIRE(source.firstColumn > 0);
        ::MoveWindow(fixture.window.m_hWnd, 0, 0, 500, 400, TRUE);
        CHECK(source.firstColumn == 0);
        CHECK(::GetScrollPos(source.m_hWnd, SB_HORZ) == 0);
        ::GetScrollRange(source.m_hWnd, SB_HORZ, &low, &high);
        CHECK(high == 150 - ClientRect(source.m_hWnd).right / source.charWidth);
    }
}

TEST_CASE("a file that cannot be opened fails its pane and the window, with the open error")
{
    CleanSettings clean;
    TempFile master("a\r\n");
    TempDirectory directory;
    const std::string missing = directory.Path() + "\\missing.txt";
    CompareWindow window;
    window.titleText = "missing";
    window.sourcePath = missing;
    window.masterPath = master.Path();
    DialogAnswerer answerer({ IDOK });
    CHECK_FALSE(window.Create());
    REQUIRE(answerer.Count() == 1);
    CHECK(answerer.At(0).caption == "Zelvane Error");
    CHECK(answerer.At(0).text == "Error trying to open " + missing + " for editing");
}

TEST_CASE("rows are filled by their state: highlight, grey filler, white")
{
    // Rows 1-3 are one changed block: Source S1, B, a blank row against Master
    // B, M1 and a filler.
    CompareWindowFixture fixture("A\r\nS1\r\nB\r\n\t  \r\nC\r\n", "A\r\nB\r\nM1\r\nC\r\n");
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    TextPane& source = window.sourcePane;
    TextPane& master = window.masterPane;
    REQUIRE(window.totalRows == 5);
    REQUIRE(master.buffer.IsFiller(3));

    PaneImage left(source.m_hWnd, PaneImage::RENDERED);
    PaneImage right(master.m_hWnd, PaneImage::RENDERED);
    struct Case {
        const char* label;
        const PaneImage* image;
        int row;
        COLORREF background;
    };
    const Case cases[] = {
        { "Source equal row", &left, 0, WHITE },
        { "Source changed row", &left, 1, window.sourceColour },
        { "Source changed blank row", &left, 3, window.sourceColour },
        { "Source equal row after the block", &left, 4, WHITE },
        { "Source past the last row", &left, 5, WHITE },
        { "Master changed row", &right, 2, window.masterColour },
        { "Master filler", &right, 3, GREY },
        { "Master past the last row", &right, 7, WHITE },
    };
    for (const Case& c : cases) {
        INFO(c.label);
        // The far right of the band holds no text.
        CHECK(c.image->At(c.image->width - 2, c.row * source.rowHeight + source.rowHeight / 2) == c.background);
    }
    // Text is black, drawn transparently over the highlight; a row of tabs and
    // spaces only is filled, with nothing drawn on it.
    const RECT textRow = RowBand(source, left, 1);
    const int band = source.rowHeight * left.width;
    CHECK(left.Count(textRow, BLACK) > 0);
    CHECK(left.Count(textRow, BLACK) + left.Count(textRow, window.sourceColour) == band);
    CHECK(left.Count(RowBand(source, left, 3), window.sourceColour) == band);
}

TEST_CASE("tabs align on multiples of four cells, also when the pane is scrolled sideways")
{
    const std::string tail = " " + std::string(120, 'y');
    // Pairs of rows that must look the same: a tab against the spaces it stands for.
    const std::string text = "\tX" + tail + "\r\n    X" + tail + "\r\nab\tX" + tail + "\r\nab  X" + tail +
                             "\r\nabcd\tX" + tail + "\r\nabcd    X" + tail + "\r\n";
    CompareWindowFixture fixture(text, text);
    REQUIRE(fixture.created);
    TextPane& pane = fixture.window.sourcePane;
    for (int firstColumn : { 0, 1, 3, 6 }) {
        CAPTURE(firstColumn);
        pane.ScrollColumns(SB_THUMBPOSITION, firstColumn);
        REQUIRE(pane.firstColumn == firstColumn);
        PaneImage image(pane.m_hWnd, PaneImage::RENDERED);
        CHECK(image.SameBand(0, 1, pane.rowHeight));
        CHECK(image.SameBand(2, 3, pane.rowHeight));
        CHECK(image.SameBand(4, 5, pane.rowHeight));
        // Different tab widths really were drawn: X stands at column 4 in one, 8 in the other.
        CHECK_FALSE(image.SameBand(0, 4, pane.rowHeight));
    }
}

TEST_CASE("painting part of a pane gives the pixels that painting all of it gives")
{
    const std::string text =
        "\tfirst row\r\nsecond\trow with\ttabs\r\nthird\r\n\r\n  fifth " + std::string(80, 'q') + "\r\n";
    CompareWindowFixture fixture(text + "only here\r\n", text);
    REQUIRE(fixture.created);
    TextPane& pane = fixture.window.sourcePane;
    HWND hwnd = pane.m_hWnd;
    // A selection, so that its inversion is clipped too.
    pane.MoveCaret(3, 1, 0);
    {
        HeldKeys shift({ VK_SHIFT });
        PressKey(pane, VK_DOWN, 3);
    }
    REQUIRE(::GetFocus() == hwnd);
    pane.ScrollColumns(SB_THUMBPOSITION, 1);
    REQUIRE(pane.firstColumn == 1);
    const int w = pane.charWidth;
    const int h = pane.rowHeight;
    struct Case {
        const char* label;
        RECT area;
    };
    const Case cases[] = {
        { "a band cutting two rows in half", { 0, h / 2, 400, h + h / 2 } },
        { "a left part starting inside the first cell", { 3, 0, 5 * w + 3, 6 * h } },
        { "a right part starting inside a cell", { 6 * w + 5, 0, 30 * w, 6 * h } },
        { "below the last row", { 0, 5 * h + 2, 300, 9 * h } },
    };
    PaneImage whole(hwnd, PaneImage::RENDERED);
    for (const Case& c : cases) {
        INFO(c.label);
        ::InvalidateRect(hwnd, &c.area, TRUE);
        PaneImage screen(hwnd, PaneImage::ON_SCREEN);
        POINT at = screen.FirstDifference(whole);
        CAPTURE(at.x);
        CAPTURE(at.y);
        CHECK(at.x < 0);
    }
}

TEST_CASE("the selection is inverted exactly, and only while the pane has the focus")
{
    // The blank tail of the last row lets the caret stand 40 columns out.
    const std::string text = "ab\r\ncd\r\nef\r\ngh\r\nij" + std::string(38, ' ') + "\r\n";
    CompareWindowFixture fixture(text, text);
    REQUIRE(fixture.created);
    TextPane& pane = fixture.window.sourcePane;
    HWND hwnd = pane.m_hWnd;
    REQUIRE(::GetFocus() == hwnd);
    pane.MoveCaret(3, 1, MOVE_BOTH);
    PaneImage plain(hwnd, PaneImage::ON_SCREEN);
    {
        HeldKeys shift({ VK_SHIFT });
        PressKey(pane, VK_DOWN, 2);
        PressKey(pane, VK_RIGHT, 2);
    }
    CHECK(pane.anchor == TextPosition{ 3, 1 });
    CHECK(pane.caret == TextPosition{ 5, 3 });

    PaneImage screen(hwnd, PaneImage::ON_SCREEN);
    struct Case {
        const char* label;
        int column, row;
        COLORREF colour;
    };
    const Case cases[] = {
        { "first row before the start", 2, 1, WHITE },
        { "first row from the start", 3, 1, BLACK },
        { "first row up to the right edge", 48, 1, BLACK },
        { "a row in between, from its left edge", 2, 2, BLACK },
        { "last row before the end", 4, 3, BLACK },
        { "last row from the end", 5, 3, WHITE },
        { "the row above", 4, 0, WHITE },
        { "the row below", 4, 4, WHITE },
    };
    for (const Case& c : cases) {
        INFO(c.label);
        CHECK(CellColour(screen, pane, c.column, c.row) == c.colour);
    }
    CHECK(ScreenMatchesRepaint(hwnd));

    SUBCASE("growing and shrinking across the anchor inverts only the change")
    {
        HeldKeys shift({ VK_SHIFT });
        PressKey(pane, VK_UP, 3);  // above the anchor: the selection flips
        PressKey(pane, VK_LEFT, 1);
        PressKey(pane, VK_END);
        PressKey(pane, VK_DOWN, 1); // back onto the anchor's row, before it
        CHECK(pane.caret == TextPosition{ 2, 1 });
        CHECK(ScreenMatchesRepaint(hwnd));
        PressKey(pane, VK_RIGHT, 1); // exactly onto the anchor: no selection
        CHECK_FALSE(pane.HasSelection());
        CHECK(PaneImage(hwnd, PaneImage::ON_SCREEN).SameAs(plain));
    }
    SUBCASE("losing the focus takes the selection off the screen, regaining it brings it back")
    {
        ::SetFocus(fixture.window.masterPane.m_hWnd);
        CHECK(pane.HasSelection());
        CHECK(PaneImage(hwnd, PaneImage::ON_SCREEN).SameAs(plain));
        CHECK(PaneImage(hwnd, PaneImage::RENDERED).SameAs(plain));
        ::SetFocus(hwnd);
        CHECK(PaneImage(hwnd, PaneImage::ON_SCREEN).SameAs(screen));
    }
    SUBCASE("a plain move takes the selection away")
    {
        PressKey(pane, VK_HOME);
        CHECK_FALSE(pane.HasSelection());
        CHECK(ScreenMatchesRepaint(hwnd));
        CHECK(CellColour(PaneImage(hwnd, PaneImage::ON_SCREEN), pane, 2, 2) == WHITE);
    }
}

TEST_CASE("vertical scrolling moves the pixels and repaints only the exposed band")
{
    CompareWindowFixture fixture(NumberedLines("line\t", 200), NumberedLines("line\t", 120));
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    TextPane& pane = window.sourcePane;
    HWND hwnd = pane.m_hWnd;
    const int h = pane.rowHeight;
    const RECT client = ClientRect(hwnd);
    const int rows = client.bottom / h;
    ::UpdateWindow(hwnd);

    SUBCASE("down: the last whole row and the partial row below it")
    {
        window.ScrollToRow(SB_LINEDOWN, 0);
        CHECK(pane.topRow == 1);
        RECT pending = PendingPaint(hwnd);
        CHECK(pending.top == (rows - 1) * h);
        CHECK(pending.bottom == client.bottom);
    }
    SUBCASE("up: the band at the top")
    {
        window.ScrollToRow(SB_THUMBPOSITION, 10);
        ::UpdateWindow(hwnd);
        window.ScrollToRow(SB_LINEUP, 0);
        CHECK(pane.topRow == 9);
        RECT pending = PendingPaint(hwnd);
        CHECK(pending.top == 0);
        CHECK(pending.bottom == h);
    }
    SUBCASE("a whole page and back")
    {
        window.ScrollToRow(SB_PAGEDOWN, 0);
        CHECK(ScreenMatchesRepaint(hwnd));
        window.ScrollToRow(SB_LINEUP, 0);
        window.ScrollToRow(SB_LINEUP, 0);
    }
    // Whatever moved, the screen shows what a full repaint would.
    CHECK(ScreenMatchesRepaint(hwnd));
    CHECK(ScreenMatchesRepaint(window.masterPane.m_hWnd));
    CHECK(window.masterPane.topRow == pane.topRow);

    SUBCASE("a caret move inside the view repaints nothing")
    {
        ::UpdateWindow(hwnd);
        PressKey(pane, VK_DOWN);
        PressKey(pane, VK_RIGHT, 2);
        RECT pending = PendingPaint(hwnd);
        CHECK(::IsRectEmpty(&pending));
    }
}

TEST_CASE("horizontal scrolling by the scroll codes, clamped to the longest line")
{
    const std::string longLine(100, 'z');
    CompareWindowFixture fixture(longLine + "\r\n", "short\r\n");
    REQUIRE(fixture.created);
    TextPane& pane = fixture.window.sourcePane;
    const int maximum = 100 - ClientRect(pane.m_hWnd).right / pane.charWidth;
    REQUIRE(maximum > 20);
    struct Case {
        const char* label;
        int from;
        int code;
        int position;
        int expected;
    };
    const Case cases[] = {
        { "line right", 5, SB_LINERIGHT, 0, 6 },
        { "line left at 0 stays", 0, SB_LINELEFT, 0, 0 },
        { "page right is eight columns", 5, SB_PAGERIGHT, 0, 13 },
        { "page left is four columns", 5, SB_PAGELEFT, 0, 1 },
        { "page left clamps at 0", 2, SB_PAGELEFT, 0, 0 },
        { "thumb position", 0, SB_THUMBTRACK, 17, 17 },
        { "thumb past the end clamps", 0, SB_THUMBPOSITION, 5000, maximum },
        { "right end", 0, SB_RIGHT, 0, maximum },
        { "page right near the end clamps", maximum - 2, SB_PAGERIGHT, 0, maximum },
        { "left end", 9, SB_LEFT, 0, 0 },
        { "end scroll changes nothing", 9, SB_ENDSCROLL, 0, 9 },
    };
    for (const Case& c : cases) {
        INFO(c.label);
        pane.ScrollColumns(SB_THUMBPOSITION, c.from);
        // A thumb position travels in the message only from a real drag.
        if (c.code == SB_THUMBTRACK || c.code == SB_THUMBPOSITION)
            pane.ScrollColumns(c.code, c.position);
        else
            pane.SendMessage(WM_HSCROLL, MAKEWPARAM(c.code, 0), 0);
        CHECK(pane.firstColumn == c.expected);
        CHECK(::GetScrollPos(pane.m_hWnd, SB_HORZ) == c.expected);
    }
    // The system caret stays on its column while the text moves under it.
    REQUIRE(::GetFocus() == pane.m_hWnd);
    pane.MoveCaret(12, 0, 0);
    pane.SendMessage(WM_HSCROLL, SB_PAGERIGHT, 0);
    POINT caret;
    ::GetCaretPos(&caret);
    CHECK(caret.x == (12 - pane.firstColumn) * pane.charWidth);
    // A pane whose lines fit never scrolls sideways.
    fixture.window.masterPane.ScrollColumns(SB_PAGERIGHT, 0);
    CHECK(fixture.window.masterPane.firstColumn == 0);
}

TEST_CASE("captions: the path in active colours beside the focused pane, and a star while modified")
{
    CompareWindowFixture fixture("a\r\n", "b\r\n");
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    const COLORREF active = ::GetSysColor(COLOR_ACTIVECAPTION);
    const COLORREF inactive = ::GetSysColor(COLOR_INACTIVECAPTION);
    REQUIRE(active != inactive);
    CHECK(window.sourceCaption.GetWindowText() == window.sourcePath);
    REQUIRE(::GetFocus() == window.sourcePane.m_hWnd);
    CHECK(PaneImage(window.sourceCaption.m_hWnd, PaneImage::ON_SCREEN).At(1, 1) == active);
    CHECK(PaneImage(window.masterCaption.m_hWnd, PaneImage::ON_SCREEN).At(1, 1) == inactive);

    SUBCASE("a click on a caption gives the focus to its pane and is eaten")
    {
        LRESULT answer = window.masterCaption.SendMessage(WM_MOUSEACTIVATE,
                                                          reinterpret_cast<WPARAM>(window.m_hWnd),
                                                          MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
        CHECK(answer == MA_ACTIVATEANDEAT);
        CHECK(::GetFocus() == window.masterPane.m_hWnd);
        CHECK(window.activePane == &window.masterPane);
        // Repainted at once, without waiting for the queue.
        HDC dc = ::GetDC(window.masterCaption.m_hWnd);
        CHECK(::GetPixel(dc, 1, 1) == active);
        ::ReleaseDC(window.masterCaption.m_hWnd, dc);
        CHECK(PaneImage(window.sourceCaption.m_hWnd, PaneImage::ON_SCREEN).At(1, 1) == inactive);
    }
    SUBCASE("a star follows the path while the undo list differs from the saved state")
    {
        // The rightmost text pixel moves right by the star (centred text: half its width).
        auto rightmostText = [&](HWND caption) {
            PaneImage image(caption, PaneImage::RENDERED);
            int rightmost = -1;
            for (int y = 0; y < image.height; ++y)
                for (int x = 0; x < image.width; ++x)
                    if (image.At(x, y) != active)
                        rightmost = std::max(rightmost, x);
            return rightmost;
        };
        const int saved = rightmostText(window.sourceCaption.m_hWnd);
        window.sourcePane.undoList.emplace_back();
        CHECK(window.sourcePane.IsModified());
        CHECK(rightmostText(window.sourceCaption.m_hWnd) > saved);
        window.sourcePane.savedUndoCount = 1;
        CHECK(rightmostText(window.sourceCaption.m_hWnd) == saved);
        window.sourcePane.undoList.clear();
        window.sourcePane.savedUndoCount = 0;
    }
}
