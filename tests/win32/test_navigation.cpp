// Next, Previous and Select Difference, by command, key and double-click.
#include <doctest/doctest.h>

#include <string>

#include "compare_window_fixture.h"
#include "pane_driver.h"
#include "resources/resource.h"

namespace {

// 200 Master lines "line i"; the Source file differs in four blocks:
// row 5 (changed, 1 row), rows 61-63 (Source only), rows 103-122 (changed,
// 20 rows) and rows 153-192 (changed, 40 rows).
std::string NavigationSource()
{
    std::string text;
    for (int line = 0; line < 200; ++line) {
        bool changed = line == 5 || (line >= 100 && line < 120) || (line >= 150 && line < 190);
        text += (changed ? "CHANGED " : "line ") + std::to_string(line) + "\r\n";
        if (line == 60)
            text += "extra a\r\nextra b\r\nextra c\r\n";
    }
    return text;
}

class NavigationFixture : public CompareWindowFixture {
public:
    NavigationFixture() : CompareWindowFixture(NavigationSource(), NumberedLines("line ", 200)) {}

    void Command(UINT id) { window.SendMessage(WM_COMMAND, id, 0); }
    // Whole rows that the Next Difference positioning counts on.
    int ViewRows() const
    {
        return (ClientRect(window.sourcePane.m_hWnd).bottom - ::GetSystemMetrics(SM_CYHSCROLL)) /
               window.rowHeight;
    }
};

// The block from first to first + height is selected in whole rows, caret on its first row.
void CheckBlockSelected(const TextPane& pane, int first, int height)
{
    CHECK(pane.caret == TextPosition{ 0, first });
    CHECK(pane.anchor == TextPosition{ 0, first + height });
}

} // namespace

TEST_CASE("Next Difference steps from block to block, selects each and brings it into view")
{
    NavigationFixture fixture;
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    REQUIRE(window.blocks.size() == 9);
    const int rows = fixture.ViewRows();
    REQUIRE(rows > 6);
    REQUIRE(rows < 40);

    struct Step {
        const char* label;
        int first;
        int height;
        int topRow;
    };
    const Step steps[] = {
        { "a block inside the view: no scrolling", 5, 1, 0 },
        { "a short block below the view starts in its middle", 61, 3, 61 - rows / 2 },
        { "a block of more than half a view ends at its bottom", 103, 20, 103 + 20 - rows },
        { "a block taller than the view starts at its top", 153, 40, 153 },
    };
    for (const Step& step : steps) {
        INFO(step.label);
        CHECK(window.IsCommandEnabled(ID_NEXT_DIFFERENCE));
        fixture.Command(ID_NEXT_DIFFERENCE);
        CheckBlockSelected(window.sourcePane, step.first, step.height);
        CHECK(window.masterPane.caret == TextPosition{ 0, step.first });
        CHECK_FALSE(window.masterPane.HasSelection());
        CHECK(window.topRow == step.topRow);
        CHECK(ScreenMatchesRepaint(window.sourcePane.m_hWnd));
    }

    // On the first row of the last block: nothing further, and the command says so.
    CHECK_FALSE(window.IsCommandEnabled(ID_NEXT_DIFFERENCE));
    window.NextDifference();
    CheckBlockSelected(window.sourcePane, 153, 40);
    // Below it, in the last equal block, likewise.
    window.sourcePane.MoveCaret(0, 195, MOVE_BOTH);
    CHECK(window.NextDifferenceBlock() == nullptr);
    window.NextDifference();
    CHECK(window.sourcePane.caret == TextPosition{ 0, 195 });
}

TEST_CASE("Previous Difference goes to the start of the block the caret is in, or of the one before")
{
    NavigationFixture fixture;
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    TextPane& source = window.sourcePane;

    struct Case {
        const char* label;
        int caretRow;
        int first; // -1: nothing happens
        int height;
    };
    const Case cases[] = {
        { "inside a block, below its first row: that block", 110, 103, 20 },
        { "on a block's first row: the block before", 103, 61, 3 },
        { "in an equal block: the block above", 90, 61, 3 },
        { "past the last row: the last block", 203, 153, 40 },
        { "on the first block's first row: nothing", 5, -1, 0 },
        { "above every block: nothing", 2, -1, 0 },
    };
    for (const Case& c : cases) {
        INFO(c.label);
        source.MoveCaret(0, c.caretRow, MOVE_BOTH);
        CHECK(window.IsCommandEnabled(ID_PREVIOUS_DIFFERENCE) == (c.first >= 0));
        fixture.Command(ID_PREVIOUS_DIFFERENCE);
        if (c.first >= 0) {
            CheckBlockSelected(source, c.first, c.height);
            // The first row of the block is in view.
            CHECK(window.topRow <= c.first);
            CHECK(c.first < window.topRow + ClientRect(source.m_hWnd).bottom / source.rowHeight);
        } else {
            CHECK(source.caret == TextPosition{ 0, c.caretRow });
            CHECK_FALSE(source.HasSelection());
        }
    }
}

TEST_CASE("Select Difference and the double-click select the block under the caret, and only a difference")
{
    NavigationFixture fixture;
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    TextPane& source = window.sourcePane;
    auto doubleClick = [&](TextPane& pane, int column, int row) {
        LPARAM point = PointParam(column * pane.charWidth + 1, (row - pane.topRow) * pane.rowHeight + 2);
        pane.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
        pane.SendMessage(WM_LBUTTONUP, 0, point);
        pane.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, point);
        pane.SendMessage(WM_LBUTTONUP, 0, point);
    };

    SUBCASE("a double-click on an equal row only places the caret")
    {
        doubleClick(source, 3, 20);
        CHECK(source.caret == TextPosition{ 3, 20 });
        CHECK_FALSE(source.HasSelection());
        CHECK_FALSE(window.IsCommandEnabled(ID_SELECT_DIFFERENCE));
        window.SelectDifference();
        CHECK_FALSE(source.HasSelection());
    }
    SUBCASE("a double-click inside a block selects all of its rows")
    {
        window.ScrollToRow(SB_THUMBPOSITION, 100);
        doubleClick(source, 4, 110);
        CheckBlockSelected(source, 103, 20);
        CHECK(window.masterPane.caret == TextPosition{ 0, 103 });
        CHECK(ScreenMatchesRepaint(source.m_hWnd));
    }
    SUBCASE("the command replaces an earlier selection")
    {
        source.MoveCaret(2, 58, MOVE_BOTH);
        {
            HeldKeys shift({ VK_SHIFT });
            PressKey(source, VK_DOWN, 4);
        }
        REQUIRE(source.caret.row == 62);
        fixture.Command(ID_SELECT_DIFFERENCE);
        CheckBlockSelected(source, 61, 3);
        CHECK(ScreenMatchesRepaint(source.m_hWnd));
    }
}

TEST_CASE("with the Master pane active, its block is selected and the Source caret only follows")
{
    NavigationFixture fixture;
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    TextPane& master = window.masterPane;
    ::SetFocus(master.m_hWnd);
    REQUIRE(window.activePane == &master);
    PressKey(master, VK_DOWN, 50);

    fixture.Command(ID_NEXT_DIFFERENCE);
    CheckBlockSelected(master, 61, 3);
    CHECK(window.sourcePane.caret == TextPosition{ 0, 61 });
    CHECK_FALSE(window.sourcePane.HasSelection());
    CHECK(ScreenMatchesRepaint(master.m_hWnd));
    CHECK(ScreenMatchesRepaint(window.sourcePane.m_hWnd));

    fixture.Command(ID_PREVIOUS_DIFFERENCE);
    CheckBlockSelected(master, 5, 1);
    CHECK(window.topRow == 5);
}
