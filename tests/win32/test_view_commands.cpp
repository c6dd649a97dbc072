// The comparison window's View command that marks changed characters: its
// menu item, its check mark, its prompt and the setting it keeps.
#include <doctest/doctest.h>

#include "app/settings.h"
#include "compare_window_fixture.h"
#include "pane_driver.h"
#include "resources/resource.h"

namespace {

// The View menu's item after "&Status Bar", with the check its update handler gives.
struct ViewItem {
    UINT id = 0;
    std::string text;
    bool checked = false;
};

ViewItem ItemAfterStatusBar(CompareWindow& window)
{
    HMENU view = ::GetSubMenu(::GetMenu(window.m_hWnd), 3);
    window.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 3);
    ViewItem item;
    for (int index = 0; index + 1 < ::GetMenuItemCount(view); ++index) {
        if (::GetMenuItemID(view, index) != 59393)
            continue;
        char text[128] = "";
        ::GetMenuStringA(view, static_cast<UINT>(index + 1), text, sizeof text, MF_BYPOSITION);
        item.id = ::GetMenuItemID(view, index + 1);
        item.text = text;
        item.checked = (::GetMenuState(view, static_cast<UINT>(index + 1), MF_BYPOSITION) & MF_CHECKED) != 0;
    }
    return item;
}

constexpr COLORREF MAGENTA = RGB(0xFF, 0x00, 0xFF);
constexpr COLORREF YELLOW = RGB(0xFF, 0xFF, 0x00);
constexpr COLORREF WHITE = RGB(0xFF, 0xFF, 0xFF);

// What row 0 of a pane should show: cells [markBegin, markEnd) on mark, the
// rest of the row on plain, and only black text over either.
struct RowLook {
    int markBegin;
    int markEnd;
    COLORREF plain;
    COLORREF mark;
};

void CheckFirstRow(const TextPane& pane, PaneImage::Source source, const RowLook& look)
{
    PaneImage image(pane.m_hWnd, source);
    int wrong = 0;
    int marked = 0;
    for (int y = 0; y < pane.rowHeight; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const int cell = x / pane.charWidth;
            const COLORREF wanted = cell >= look.markBegin && cell < look.markEnd ? look.mark : look.plain;
            const COLORREF pixel = image.At(x, y);
            wrong += pixel != wanted && pixel != RGB(0, 0, 0);
            marked += pixel == look.mark;
        }
    }
    CHECK(wrong == 0);
    CHECK((marked > 0) == (look.markEnd > look.markBegin));
}

} // namespace

TEST_CASE("changed characters are filled at three quarters of the side's colour, and follow typing on white")
{
    g_values.showChangedCharacters = true;
    CompareWindowFixture fixture("x = 1;\r\n", "x = 2;\r\n");
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    struct Case {
        const char* label;
        const TextPane& pane;
        RowLook marks, off;
    };
    const Case cases[] = {
        { "Source", window.sourcePane, { 4, 5, MAGENTA, RGB(0xBF, 0x00, 0xBF) }, { 0, 0, MAGENTA, RGB(0xBF, 0x00, 0xBF) } },
        { "Master", window.masterPane, { 4, 5, YELLOW, RGB(0xBF, 0xBF, 0x00) }, { 0, 0, YELLOW, RGB(0xBF, 0xBF, 0x00) } },
    };
    for (const Case& c : cases) {
        CAPTURE(c.label);
        CheckFirstRow(c.pane, PaneImage::RENDERED, c.marks);
        window.SendMessage(WM_COMMAND, ID_VIEW_CHANGED_CHARACTERS);
        CheckFirstRow(c.pane, PaneImage::ON_SCREEN, c.off);
        window.SendMessage(WM_COMMAND, ID_VIEW_CHANGED_CHARACTERS);
        CheckFirstRow(c.pane, PaneImage::ON_SCREEN, c.marks);
    }

    // "x = 12;" against "x = 1;": the Master's number is marked whole, on the
    // white of an edited row; the Source row keeps its colour.
    TextPane& master = window.masterPane;
    ::SetFocus(master.m_hWnd);
    master.MoveCaret(4, 0, MOVE_BOTH);
    master.SendMessage(WM_CHAR, '1', 1);
    CheckFirstRow(master, PaneImage::ON_SCREEN, { 4, 6, WHITE, RGB(0xBF, 0xBF, 0x00) });
    CheckFirstRow(window.sourcePane, PaneImage::ON_SCREEN, { 4, 5, MAGENTA, RGB(0xBF, 0x00, 0xBF) });
}

TEST_CASE("Show Changed Characters turns the marks off and on and the registry keeps the choice")
{
    g_values.showChangedCharacters = true;
    CompareWindowFixture fixture("x = 1;\r\n", "x = 2;\r\n");
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;

    ViewItem item = ItemAfterStatusBar(window);
    CHECK(item.id == ID_VIEW_CHANGED_CHARACTERS);
    CHECK(item.text == "Show Changed &Characters");
    CHECK(item.checked);
    CHECK(window.changeMarks.ForRow(0).master.size() == 1);

    window.SendMessage(WM_COMMAND, ID_VIEW_CHANGED_CHARACTERS);
    CHECK_FALSE(g_values.showChangedCharacters);
    CHECK_FALSE(ItemAfterStatusBar(window).checked);
    CHECK(window.changeMarks.ForRow(0).Empty());
    RegistryValue stored = ReadSetting("Preferences", "ShowChangedCharacters");
    CHECK(stored.type == REG_DWORD);
    CHECK(stored.AsDword() == 0);
    ProcessValues read;
    ReadPreferences(*AfxGetApp(), read);
    CHECK_FALSE(read.showChangedCharacters);

    window.SendMessage(WM_COMMAND, ID_VIEW_CHANGED_CHARACTERS);
    CHECK(g_values.showChangedCharacters);
    CHECK(ItemAfterStatusBar(window).checked);
    CHECK(ReadSetting("Preferences", "ShowChangedCharacters").AsDword() == 1);
    ReadPreferences(*AfxGetApp(), read);
    CHECK(read.showChangedCharacters);

    window.SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_VIEW_CHANGED_CHARACTERS, MF_STRING), 1);
    CHECK(window.statusBar.GetPaneText(0) == "Mark the characters that differ inside changed lines");
}

TEST_CASE("a fresh account shows the marks, and typing moves them")
{
    CleanSettings clean;
    ProcessValues read;
    read.showChangedCharacters = false;
    ReadPreferences(*AfxGetApp(), read);
    CHECK(read.showChangedCharacters);

    g_values.showChangedCharacters = true;
    CompareWindowFixture fixture("x = 1;\r\n", "x = 2;\r\n");
    REQUIRE(fixture.created);
    TextPane& master = fixture.window.masterPane;
    ::SetFocus(master.m_hWnd);
    master.MoveCaret(5, 0, MOVE_BOTH);
    master.SendMessage(WM_CHAR, '3', 1);
    const RowMarks& marks = fixture.window.changeMarks.ForRow(0);
    REQUIRE(marks.master.size() == 1);
    CHECK(marks.master[0].cellBegin == 4);
    CHECK(marks.master[0].cellEnd == 6);
}
