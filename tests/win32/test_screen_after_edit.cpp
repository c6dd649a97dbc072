// What the user sees after each kind of edit: the pixels on the screen must be
// those a full repaint draws, in the middle of the view and where the edit
// scrolls it. A rendering on request cannot see a band that was missed; only
// the screen keeps the old pixels.
#include <doctest/doctest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <vector>

#include "compare_window_fixture.h"
#include "pane_driver.h"
#include "resources/resource.h"

namespace {

// Source "line 0" ... "line 79" with a long tail on every fifth row; the
// Master changes rows 20 and 21, lacks line 40 and has one line of its own
// after line 60: highlighted rows and fillers on both sides.
void MakeFiles(std::string& source, std::string& master)
{
    for (int line = 0; line < 80; ++line) {
        std::string text = "line " + std::to_string(line) + (line % 5 == 0 ? " with a tail long enough to pass the right edge of either pane" : "");
        source += text + "\r\n";
        if (line == 20 || line == 21)
            master += text + " changed\r\n";
        else if (line != 40)
            master += text + "\r\n";
        if (line == 60)
            master += "master only\r\n";
    }
}

void Type(TextPane& pane, const std::string& text)
{
    for (char character : text)
        pane.SendMessage(WM_CHAR, static_cast<unsigned char>(character), 1);
}

// Whole rows that both panes show.
int PageRows(const CompareWindow& window)
{
    RECT source = ClientRect(window.sourcePane.m_hWnd);
    RECT master = ClientRect(window.masterPane.m_hWnd);
    return std::min(source.bottom, master.bottom) / window.rowHeight;
}

// The first pixel where a window's screen differs from its full repaint, left
// out the caret's cells of a pane; empty when there is none.
struct Capture {
    HWND window;
    std::unique_ptr<PaneImage> image;
};

std::string StaleScreen(CompareWindow& window)
{
    HWND windows[] = { window.sourcePane.m_hWnd, window.masterPane.m_hWnd, window.sourceCaption.m_hWnd,
                       window.masterCaption.m_hWnd };
    const char* names[] = { "Source pane", "Master pane", "Source caption", "Master caption" };
    std::vector<std::unique_ptr<PaneImage>> screen;
    for (HWND hwnd : windows)
        screen.push_back(std::make_unique<PaneImage>(hwnd, PaneImage::ON_SCREEN));
    ::RedrawWindow(window.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (size_t index = 0; index < std::size(windows); ++index) {
        PaneImage repainted(windows[index], PaneImage::ON_SCREEN);
        const PaneImage& shown = *screen[index];
        if (shown.width != repainted.width || shown.height != repainted.height)
            return std::string(names[index]) + ": size changed";
        RECT caret = { 0, 0, 0, 0 };
        if (index < 2) {
            const TextPane& pane = index == 0 ? window.sourcePane : window.masterPane;
            int x = (pane.caret.column - pane.firstColumn) * pane.charWidth;
            int y = (pane.caret.row - pane.topRow) * pane.rowHeight;
            caret = { x - 1, y, x + 3, y + pane.rowHeight };
        }
        for (int y = 0; y < shown.height; ++y) {
            for (int x = 0; x < shown.width; ++x) {
                POINT point = { x, y };
                if (shown.At(x, y) != repainted.At(x, y) && !::PtInRect(&caret, point)) {
                    std::ostringstream text;
                    text << names[index] << ": pixel (" << x << ", " << y << ") is stale, row "
                         << y / window.rowHeight + window.topRow;
                    return text.str();
                }
            }
        }
    }
    return {};
}

// The screen made whole, so that only the edit's own repaint is judged.
void CleanScreen(CompareWindow& window)
{
    ::RedrawWindow(window.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

struct Scene {
    CompareWindow& window;
    TextPane& source;
    TextPane& master;
    int page;

    int Middle() const { return window.topRow + page / 2; }
    int LastVisible() const { return window.topRow + page - 1; }
    void Place(TextPane& pane, int column, int row)
    {
        ::SetFocus(pane.m_hWnd);
        pane.MoveCaret(column, row, MOVE_BOTH);
    }
    void Select(TextPane& pane, TextPosition from, TextPosition to)
    {
        Place(pane, from.column, from.row);
        pane.MoveCaret(to.column, to.row, MOVE_BOTH | EXTEND_SELECTION);
    }
    void Command(UINT id) { window.SendMessage(WM_COMMAND, id); }
};

struct Edit {
    const char* label;
    bool scrolls; // the edit moves the view
    std::function<void(Scene&)> prepare;
    std::function<void(Scene&)> act;
};

const DiffBlock& BlockAt(const CompareWindow& window, int row)
{
    const DiffBlock* block = window.FindBlockAtRow(row);
    REQUIRE(block != nullptr);
    REQUIRE(block->kind != BLOCK_EQUAL);
    return *block;
}

} // namespace

TEST_CASE("after every kind of edit the screen shows what a full repaint shows")
{
    std::string sourceText, masterText;
    MakeFiles(sourceText, masterText);

    const Edit edits[] = {
        { "typing in the middle", false, [](Scene& s) { s.Place(s.source, 3, s.Middle()); },
          [](Scene& s) { Type(s.source, "xy"); } },
        { "typing past the right edge scrolls sideways", false,
          [](Scene& s) { s.Place(s.source, ClientRect(s.source.m_hWnd).right / s.source.charWidth - 4, s.Middle()); },
          [](Scene& s) { Type(s.source, "abcdefgh"); } },
        { "Enter in the middle of a row", false, [](Scene& s) { s.Place(s.source, 3, s.Middle()); },
          [](Scene& s) { Type(s.source, "\r"); } },
        { "Enter in the middle of the last visible row", true,
          [](Scene& s) { s.Place(s.source, 3, s.LastVisible()); }, [](Scene& s) { Type(s.source, "\r"); } },
        { "Backspace at column 0 joins the row above", false, [](Scene& s) { s.Place(s.source, 0, s.Middle()); },
          [](Scene& s) { Type(s.source, "\b"); } },
        { "Backspace at column 0 of the top row", true, [](Scene& s) { s.Place(s.source, 0, s.window.topRow); },
          [](Scene& s) { Type(s.source, "\b"); } },
        { "Delete at the end of a row joins the row below", false,
          [](Scene& s) { s.Place(s.master, 6, s.Middle()); }, [](Scene& s) { PressKey(s.master, VK_DELETE); } },
        { "Delete across several line ends from the last visible row", true,
          [](Scene& s) { s.Place(s.master, 6, s.LastVisible()); },
          [](Scene& s) { PressKey(s.master, VK_DELETE, 9); } },
        { "paste of one line into a row", false,
          [](Scene& s) {
              SetClipboardText("pasted");
              s.Place(s.source, 2, s.Middle());
          },
          [](Scene& s) { s.Command(ID_EDIT_PASTE); } },
        { "paste of two lines over a whole selected row", false,
          [](Scene& s) {
              SetClipboardText("first\r\nsecond");
              s.Select(s.source, { 0, s.Middle() }, { 0, s.Middle() + 1 });
          },
          [](Scene& s) { s.Command(ID_EDIT_PASTE); } },
        { "paste of several lines on the last visible row", true,
          [](Scene& s) {
              SetClipboardText("one\r\ntwo\r\nthree\r\n");
              s.Place(s.source, 2, s.LastVisible());
          },
          [](Scene& s) { s.Command(ID_EDIT_PASTE); } },
        { "paste of one line over a selection of whole rows", false,
          [](Scene& s) {
              SetClipboardText("single\r\n");
              s.Select(s.source, { 0, s.Middle() }, { 0, s.Middle() + 3 });
          },
          [](Scene& s) { s.Command(ID_EDIT_PASTE); } },
        { "cut of a selection over three rows", false,
          [](Scene& s) { s.Select(s.master, { 2, s.Middle() - 1 }, { 4, s.Middle() + 2 }); },
          [](Scene& s) { s.Command(ID_EDIT_CUT); } },
        { "cut of a selection that starts above the view", true,
          [](Scene& s) {
              s.Select(s.source, { 2, s.window.topRow + 3 }, { 1, s.Middle() });
              s.window.ScrollToRow(SB_THUMBPOSITION, s.window.topRow + 5);
          },
          [](Scene& s) { s.Command(ID_EDIT_CUT); } },
        { "undo of an Enter on the last visible row, seen from below", true,
          [](Scene& s) {
              s.Place(s.source, 3, s.LastVisible());
              Type(s.source, "\r");
              s.window.ScrollToRow(SB_THUMBPOSITION, s.window.topRow + s.page);
          },
          [](Scene& s) { s.Command(ID_EDIT_UNDO); } },
        { "redo of a paste of several lines", false,
          [](Scene& s) {
              SetClipboardText("a\r\nb\r\nc");
              s.Place(s.source, 1, s.Middle());
              s.Command(ID_EDIT_PASTE);
              s.Command(ID_EDIT_UNDO);
          },
          [](Scene& s) { s.Command(ID_EDIT_REDO); } },
        { "merge from the Source into the Master", false,
          [](Scene& s) { s.Place(s.source, 0, 20); }, [](Scene& s) { s.Command(ID_COPY_SOURCE_DIFFERENCE); } },
        { "merge from the Master into the Source", false,
          [](Scene& s) {
              s.window.ScrollToRow(SB_THUMBPOSITION, 40 - s.page / 2);
              s.Place(s.master, 0, static_cast<int>(BlockAt(s.window, 40).firstRow));
          },
          [](Scene& s) { s.Command(ID_COPY_MASTER_DIFFERENCE); } },
        { "merge of a block on the last visible row", true,
          [](Scene& s) {
              const int row = static_cast<int>(BlockAt(s.window, 61).firstRow);
              s.window.ScrollToRow(SB_THUMBPOSITION, row - s.page + 1);
              s.Place(s.source, 0, row);
          },
          [](Scene& s) { s.Command(ID_COPY_SOURCE_DIFFERENCE); } },
    };

    for (const Edit& edit : edits) {
        const std::string label = edit.label;
        CAPTURE(label);
        CompareWindowFixture fixture(sourceText, masterText);
        REQUIRE(fixture.created);
        CompareWindow& window = fixture.window;
        Scene scene{ window, window.sourcePane, window.masterPane, PageRows(window) };
        REQUIRE(scene.page > 8);
        REQUIRE(window.rowHeight > 0);
        window.ScrollToRow(SB_THUMBPOSITION, 14);
        REQUIRE(window.topRow == 14);
        edit.prepare(scene);
        CleanScreen(window);
        const int topBefore = window.topRow;
        const size_t undoBefore = window.sourcePane.undoList.size() + window.masterPane.undoList.size();
        edit.act(scene);
        CHECK(window.sourcePane.undoList.size() + window.masterPane.undoList.size() != undoBefore);
        CHECK((window.topRow != topBefore) == edit.scrolls);
        CHECK(StaleScreen(window) == "");
    }
}
