// Editing in a pane: typing, Enter, Backspace and Delete, the clipboard, undo
// and redo, and what each does to the rows.
#include <doctest/doctest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "compare_window_fixture.h"
#include "pane_driver.h"
#include "resources/resource.h"

namespace {

std::string Row(const TextPane& pane, int row)
{
    return pane.buffer.GetLineText(static_cast<uint32_t>(row));
}

void Type(TextPane& pane, const std::string& text)
{
    for (char character : text)
        pane.SendMessage(WM_CHAR, static_cast<unsigned char>(character), 1);
}

// Gives the pane the focus and puts its caret (and the other's) at a place.
void Place(TextPane& pane, int column, int row)
{
    ::SetFocus(pane.m_hWnd);
    pane.MoveCaret(column, row, MOVE_BOTH);
}

std::string ClipboardText()
{
    std::string text;
    if (::OpenClipboard(nullptr)) {
        if (HGLOBAL data = ::GetClipboardData(CF_TEXT)) {
            text = static_cast<const char*>(::GlobalLock(data));
            ::GlobalUnlock(data);
        }
        ::CloseClipboard();
    }
    return text;
}

} // namespace

TEST_CASE("typing replaces the selection, pads virtual space and unmarks the row until undone")
{
    // The longer second row lets the caret go past the end of "ab".
    CompareWindowFixture fixture("ab\r\nsame line\r\n", "xy\r\nsame line\r\n");
    REQUIRE(fixture.created);
    TextPane& source = fixture.window.sourcePane;
    REQUIRE(source.buffer.IsChangedLine(0));

    Place(source, 5, 0);
    Type(source, "z");
    CHECK(Row(source, 0) == "ab   z");
    CHECK(source.caret == TextPosition{ 6, 0 });
    CHECK_FALSE(source.buffer.IsChangedLine(0));
    CHECK_FALSE(source.buffer.HasFileLine(0));
    CHECK(fixture.window.statusBar.GetPaneText(source.statusPaneIndex) == "");
    CHECK(source.IsModified());
    CHECK(fixture.window.IsCommandEnabled(ID_SAVE_SOURCE));
    CHECK(fixture.window.IsCommandEnabled(ID_EDIT_UNDO));

    fixture.window.SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    CHECK(Row(source, 0) == "ab");
    CHECK(source.buffer.IsChangedLine(0));
    CHECK(source.caret == TextPosition{ 5, 0 });
    CHECK_FALSE(source.IsModified());
    CHECK(fixture.window.IsCommandEnabled(ID_EDIT_REDO));

    fixture.window.SendMessage(WM_COMMAND, ID_EDIT_REDO);
    CHECK(Row(source, 0) == "ab   z");
    CHECK(source.caret == TextPosition{ 6, 0 });

    SUBCASE("a new edit empties the redo list")
    {
        fixture.window.SendMessage(WM_COMMAND, ID_EDIT_UNDO);
        Type(source, "q");
        CHECK(source.redoList.empty());
        CHECK_FALSE(fixture.window.IsCommandEnabled(ID_EDIT_REDO));
        CHECK(Row(source, 0) == "ab   q");
    }
}

TEST_CASE("overwrite mode replaces cells, but Enter still splits the row")
{
    CompareWindowFixture fixture("abc\r\n", "abc\r\n");
    REQUIRE(fixture.created);
    TextPane& source = fixture.window.sourcePane;
    Place(source, 0, 0);
    PressKey(source, VK_INSERT);
    CHECK(fixture.window.insertMode == 0);
    CHECK(fixture.window.masterPane.insertMode == 0);
    Type(source, "xy");
    CHECK(Row(source, 0) == "xyc");
    Type(source, "\r");
    CHECK(Row(source, 0) == "xy");
    CHECK(Row(source, 1) == "c");
    CHECK(source.buffer.rowCount == 2);
}

TEST_CASE("Enter indents the new row by the tabs that lead the caret's row, up to the caret")
{
    struct Case {
        std::string label;
        int column;
        std::string firstRow;
        std::string secondRow;
    } cases[] = {
        { "after both tabs: two tabs carried", 8, "\t\t", "\t\tfoo" },
        { "between the tabs: one carried before the remaining one", 4, "\t", "\t\tfoo" },
        { "before the tabs: none carried", 0, "", "\t\tfoo" },
        { "in the text: two carried", 9, "\t\tf", "\t\too" },
    };
    for (const Case& test : cases) {
        CAPTURE(test.label);
        CompareWindowFixture fixture("\t\tfoo\r\n", "\t\tfoo\r\n");
        REQUIRE(fixture.created);
        TextPane& source = fixture.window.sourcePane;
        Place(source, test.column, 0);
        Type(source, "\r");
        CHECK(Row(source, 0) == test.firstRow);
        CHECK(Row(source, 1) == test.secondRow);
        CHECK(source.caret.row == 1);
    }
}

TEST_CASE("Backspace and Delete cross line breaks; deleting whole rows removes exactly them")
{
    CompareWindowFixture fixture("one\r\ntwo\r\nthree\r\nfour\r\n", "one\r\ntwo\r\nthree\r\nfour\r\n");
    REQUIRE(fixture.created);
    TextPane& source = fixture.window.sourcePane;

    SUBCASE("Backspace at column 0 joins with the row above")
    {
        Place(source, 0, 1);
        Type(source, "\b");
        CHECK(Row(source, 0) == "onetwo");
        CHECK(source.caret == TextPosition{ 3, 0 });
        CHECK(source.buffer.rowCount == 3);
    }
    SUBCASE("Delete at the end of a row joins the row below")
    {
        Place(source, 3, 0);
        PressKey(source, VK_DELETE);
        CHECK(Row(source, 0) == "onetwo");
        CHECK(source.buffer.rowCount == 3);
    }
    SUBCASE("two whole rows selected and deleted")
    {
        Place(source, 0, 1);
        {
            HeldKeys shift({ VK_SHIFT });
            PressKey(source, VK_DOWN, 2);
        }
        CHECK(source.anchor == TextPosition{ 0, 1 });
        CHECK(source.caret == TextPosition{ 0, 3 });
        CHECK(fixture.window.IsCommandEnabled(ID_EDIT_DELETE));
        PressKey(source, VK_DELETE);
        CHECK(source.buffer.rowCount == 2);
        CHECK(Row(source, 0) == "one");
        CHECK(Row(source, 1) == "four");
        CHECK(source.buffer.HasFileLine(1)); // the untouched row keeps its line
        CHECK(source.caret == TextPosition{ 0, 1 }); // just after the (empty) inserted text
    }
    SUBCASE("Backspace on the very first column does nothing harmful")
    {
        Place(source, 0, 0);
        Type(source, "\b");
        CHECK(Row(source, 0) == "one");
        CHECK(source.buffer.rowCount == 4);
        CHECK(source.undoList.empty());
        CHECK_FALSE(source.IsModified());
        CHECK(source.buffer.HasFileLine(0));
        CHECK(fixture.window.statusBar.GetPaneText(source.statusPaneIndex) == "S 00001");
    }
}

TEST_CASE("the keys at the edges of the text change nothing where there is nothing to delete")
{
    // The first and last rows differ, so each carries a highlight and a line number to lose.
    CompareWindowFixture fixture("first\r\nsame line here\r\nlast\r\n", "eins\r\nsame line here\r\nletzte\r\n");
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    TextPane& source = window.sourcePane;
    auto unchanged = [&](const char* what) {
        CAPTURE(what);
        CHECK(source.buffer.rowCount == 3);
        CHECK(Row(source, 0) == "first");
        CHECK(Row(source, 2) == "last");
        CHECK(source.buffer.IsChangedLine(0));
        CHECK(source.buffer.IsChangedLine(2));
        CHECK(source.undoList.empty());
        CHECK_FALSE(source.IsModified());
        CHECK_FALSE(source.HasSelection());
    };

    Place(source, 0, 0);
    Type(source, "\b");
    unchanged("Backspace at the start of the file");
    CHECK(source.caret == TextPosition{ 0, 0 });

    Place(source, 4, 2);
    PressKey(source, VK_DELETE, 2);
    unchanged("Delete at the end of the last line");
    CHECK(window.statusBar.GetPaneText(source.statusPaneIndex) == "S 00003");

    Place(source, 7, 2);
    PressKey(source, VK_DELETE);
    unchanged("Delete in the virtual space after the last line");

    Place(source, 2, 3);
    REQUIRE(source.caret == TextPosition{ 2, 3 });
    PressKey(source, VK_DELETE);
    unchanged("Delete on the row past the last line");
    Place(source, 0, 3);
    PressKey(source, VK_DELETE);
    unchanged("Delete at the start of the row past the last line");
    Type(source, "\b");
    unchanged("Backspace at the start of the row past the last line");
    CHECK(source.caret == TextPosition{ 4, 2 });

    // Backspace in the virtual space after a row only steps the caret back.
    Place(source, 7, 0);
    Type(source, "\b");
    unchanged("Backspace in virtual space");
    CHECK(source.caret == TextPosition{ 6, 0 });
    CHECK(window.masterPane.caret == TextPosition{ 6, 0 });
    // Repeated: one step back to the end of the text, then two characters deleted.
    source.SendMessage(WM_CHAR, '\b', 3);
    CHECK(Row(source, 0) == "fir");
    CHECK(source.caret == TextPosition{ 3, 0 });
    CHECK(source.undoList.size() == 1);
}

TEST_CASE("lines with a lone CR or ending in CR CR LF stay one row through edits, merges, undo, redo and saving")
{
    const std::string sourceText = "abc\r\r\nx\ry\r\nend\r\n";
    CompareWindowFixture fixture(sourceText, "other\r\nx\ry\r\nend\r\n");
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    TextPane& source = window.sourcePane;
    TextPane& master = window.masterPane;
    REQUIRE(source.buffer.rowCount == 3);
    REQUIRE(Row(source, 0) == "abc\r");

    Place(source, 0, 0);
    Type(source, "z");
    CHECK(source.buffer.rowCount == 3);
    CHECK(Row(source, 0) == "zabc\r");
    CHECK(Row(source, 1) == "x\ry");
    CHECK(source.caret == TextPosition{ 1, 0 });
    CHECK(ScreenMatchesRepaint(source.m_hWnd));
    Place(source, 1, 1);
    Type(source, "!");
    CHECK(source.buffer.rowCount == 3);
    CHECK(Row(source, 1) == "x!\ry");
    CHECK(source.caret == TextPosition{ 2, 1 });
    window.SendMessage(WM_COMMAND, ID_SAVE_SOURCE);
    CHECK(ReadWholeFile(window.sourcePath) == "zabc\r\r\nx!\ry\r\nend\r\n");

    window.SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    window.SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    CHECK(source.buffer.rowCount == 3);
    CHECK(Row(source, 0) == "abc\r");
    window.SendMessage(WM_COMMAND, ID_SAVE_SOURCE);
    CHECK(ReadWholeFile(window.sourcePath) == sourceText);
    window.SendMessage(WM_COMMAND, ID_EDIT_REDO);
    window.SendMessage(WM_COMMAND, ID_EDIT_REDO);
    CHECK(Row(source, 1) == "x!\ry");
    window.SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    window.SendMessage(WM_COMMAND, ID_EDIT_UNDO);

    // The changed first block copied into the Master pane keeps its one row.
    Place(source, 0, 0);
    window.SendMessage(WM_COMMAND, ID_COPY_SOURCE_DIFFERENCE);
    CHECK(master.buffer.rowCount == 3);
    CHECK(master.buffer.GetLineText(0) == "abc\r");
    window.SendMessage(WM_COMMAND, ID_SAVE_MASTER);
    CHECK(ReadWholeFile(window.masterPath) == sourceText);

    // So does a pasted line with a lone CR in it.
    SetClipboardText("p\rq");
    Place(source, 0, 2);
    window.SendMessage(WM_COMMAND, ID_EDIT_PASTE);
    CHECK(source.buffer.rowCount == 3);
    CHECK(Row(source, 2) == "p\rqend");
    CHECK(source.caret == TextPosition{ 3, 2 });
}

TEST_CASE("the clipboard: copy leaves fillers out, cut removes, paste splits lines")
{
    // Master lacks "extra": a filler row on the Master side.
    CompareWindowFixture fixture("a\r\nextra\r\nb\r\nc\r\n", "a\r\nb\r\nc\r\n");
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    TextPane& master = window.masterPane;
    REQUIRE(master.buffer.IsFiller(1));

    Place(master, 0, 0);
    {
        HeldKeys shift({ VK_SHIFT });
        PressKey(master, VK_DOWN, 3);
    }
    window.SendMessage(WM_COMMAND, ID_EDIT_COPY);
    CHECK(ClipboardText() == "a\r\nb\r\n");
    CHECK(window.IsCommandEnabled(ID_EDIT_PASTE));

    window.SendMessage(WM_COMMAND, ID_EDIT_CUT);
    CHECK(ClipboardText() == "a\r\nb\r\n");
    CHECK(master.buffer.rowCount == 1);
    CHECK(Row(master, 0) == "c");
    CHECK(master.caret == TextPosition{ 0, 0 });

    SetClipboardText("x\r\ny");
    Place(window.sourcePane, 1, 0);
    size_t blocks = window.blocks.size();
    window.SendMessage(WM_COMMAND, ID_EDIT_PASTE);
    CHECK(Row(window.sourcePane, 0) == "ax");
    CHECK(Row(window.sourcePane, 1) == "y");
    CHECK(window.sourcePane.caret == TextPosition{ 1, 1 });
    CHECK(master.buffer.rowCount == 1);
    CHECK(window.blocks.size() == blocks);
}

TEST_CASE("the modified state follows the undo count at the last save")
{
    CompareWindowFixture fixture("a\r\n", "a\r\n");
    REQUIRE(fixture.created);
    TextPane& source = fixture.window.sourcePane;
    Place(source, 1, 0);
    Type(source, "b");
    fixture.window.SendMessage(WM_COMMAND, ID_SAVE_SOURCE);
    CHECK_FALSE(source.IsModified());
    CHECK(ReadWholeFile(fixture.window.sourcePath) == "ab\r\n");
    fixture.window.SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    CHECK(source.IsModified());
    fixture.window.SendMessage(WM_COMMAND, ID_EDIT_REDO);
    CHECK_FALSE(source.IsModified());

    SUBCASE("an edit made after undoing past the save can never read as saved")
    {
        fixture.window.SendMessage(WM_COMMAND, ID_EDIT_UNDO);
        Type(source, "c");
        CHECK(Row(source, 0) == "ac");
        CHECK(source.IsModified());
        CHECK(fixture.window.IsCommandEnabled(ID_SAVE_SOURCE));
        fixture.window.SendMessage(WM_COMMAND, ID_EDIT_UNDO); // "a": still not what was saved
        CHECK(source.IsModified());
        fixture.window.SendMessage(WM_COMMAND, ID_EDIT_REDO);
        {
            DialogAnswerer answers({ IDCANCEL });
            fixture.window.SendMessage(WM_CLOSE);
            CHECK(answers.Count() == 1);
        }
        fixture.window.SendMessage(WM_COMMAND, ID_SAVE_SOURCE);
        CHECK_FALSE(source.IsModified());
        CHECK(ReadWholeFile(fixture.window.sourcePath) == "ac\r\n");
    }
}

namespace {

// Owns the clipboard and, when asked to give it up, closes it under the
// program's feet: the program's EmptyClipboard then fails.
class ClipboardSpoiler {
public:
    ClipboardSpoiler()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ZelvaneClipboardSpoiler";
        ::RegisterClassA(&windowClass);
        window = ::CreateWindowA("ZelvaneClipboardSpoiler", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 windowClass.hInstance, nullptr);
        REQUIRE(::OpenClipboard(window));
        ::EmptyClipboard();
        HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, 7);
        std::copy_n("theirs", 7, static_cast<char*>(::GlobalLock(block)));
        ::GlobalUnlock(block);
        ::SetClipboardData(CF_TEXT, block);
        ::CloseClipboard();
    }
    ~ClipboardSpoiler() { ::DestroyWindow(window); }

    HWND window = nullptr;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_DESTROYCLIPBOARD) {
            ::CloseClipboard();
            return 0;
        }
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
};

} // namespace

TEST_CASE("Cut deletes nothing when the text does not reach the clipboard")
{
    CompareWindowFixture fixture("one\r\ntwo\r\n", "one\r\ntwo\r\n");
    REQUIRE(fixture.created);
    TextPane& source = fixture.window.sourcePane;
    ClipboardSpoiler spoiler;
    Place(source, 0, 0);
    {
        HeldKeys shift({ VK_SHIFT });
        PressKey(source, VK_RIGHT, 2);
    }
    fixture.window.SendMessage(WM_COMMAND, ID_EDIT_CUT);
    CHECK(Row(source, 0) == "one");
    CHECK(source.undoList.empty());
    CHECK(source.HasSelection());
    CHECK(ClipboardText() != "on");
}

TEST_CASE("an edit past the row limit is reported and changes nothing")
{
    // 65,535 rows: one more line would pass the limit of the row table.
    std::string text;
    for (int line = 0; line < 0xFFFF; ++line)
        text += "x\r\n";
    CompareWindowFixture fixture(text, text);
    REQUIRE(fixture.created);
    TextPane& source = fixture.window.sourcePane;
    REQUIRE(source.buffer.rowCount == 0xFFFFu);
    Place(source, 1, 0);
    {
        DialogAnswerer answers({ IDOK });
        Type(source, "\r");
        REQUIRE(answers.Count() == 1);
        CHECK(answers.At(0).caption == "Zelvane Error");
        CHECK(answers.At(0).text == "Out of memory.");
    }
    CHECK(source.buffer.rowCount == 0xFFFFu);
    CHECK(source.undoList.empty());
    CHECK(Row(source, 0) == "x");
    Type(source, "y"); // an edit that keeps the row count still works
    CHECK(Row(source, 0) == "xy");
}

TEST_CASE("long random editing sessions undo back to the loaded rows and redo forward again")
{
    std::string source, master;
    for (int line = 0; line < 40; ++line) {
        source += (line % 7 == 3 ? "\t\tindented " : "line ") + std::to_string(line) + "\r\n";
        if (line % 5 != 2)
            master += "line " + std::to_string(line) + (line % 6 == 1 ? " changed" : "") + "\n";
    }
    CompareWindowFixture fixture(source, master);
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    auto rowsOf = [](const TextPane& pane) {
        return std::vector<DisplayRow>(pane.buffer.rows, pane.buffer.rows + pane.buffer.rowCount);
    };

    for (unsigned seed = 1; seed <= 4; ++seed) {
        CAPTURE(seed);
        std::mt19937 random(seed);
        TextPane& pane = seed % 2 ? window.sourcePane : window.masterPane;
        const std::vector<DisplayRow> loaded = rowsOf(pane);
        const size_t undoBefore = pane.undoList.size();
        for (int step = 0; step < 150; ++step) {
            int rows = static_cast<int>(pane.buffer.rowCount);
            Place(pane, static_cast<int>(random() % 20), static_cast<int>(random() % (rows + 1)));
            if (random() % 3 == 0) {
                HeldKeys shift({ VK_SHIFT });
                PressKey(pane, random() % 2 ? VK_DOWN : VK_RIGHT, 1 + static_cast<int>(random() % 4));
            }
            switch (random() % 6) {
            case 0: Type(pane, "ab"); break;
            case 1: Type(pane, "\r"); break;
            case 2: Type(pane, "\b"); break;
            case 3: PressKey(pane, VK_DELETE); break;
            case 4:
                SetClipboardText(random() % 2 ? "x\r\ny\r\n" : "tail");
                window.SendMessage(WM_COMMAND, ID_EDIT_PASTE);
                break;
            default:
                window.SendMessage(WM_COMMAND, ID_EDIT_CUT);
                break;
            }
        }
        const std::vector<DisplayRow> edited = rowsOf(pane);
        const size_t edits = pane.undoList.size() - undoBefore;
        CHECK(edits > 100);
        ::SetFocus(pane.m_hWnd);
        for (size_t undo = 0; undo < edits; ++undo)
            window.SendMessage(WM_COMMAND, ID_EDIT_UNDO);
        CHECK(rowsOf(pane) == loaded);
        for (size_t redo = 0; redo < edits; ++redo)
            window.SendMessage(WM_COMMAND, ID_EDIT_REDO);
        CHECK(rowsOf(pane) == edited);
        for (size_t undo = 0; undo < edits; ++undo)
            window.SendMessage(WM_COMMAND, ID_EDIT_UNDO);
        CHECK(rowsOf(pane) == loaded);
        CHECK(pane.redoList.size() == edits);
    }
}
