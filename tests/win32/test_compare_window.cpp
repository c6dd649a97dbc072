// The comparison window's frame: its bars, layout, scrolling, position,
// command states and the questions when it closes.
#include <doctest/doctest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <map>

#include "compare_window_fixture.h"
#include "resources/resource.h"

std::string NumberedLines(const std::string& prefix, int count)
{
    std::string text;
    for (int line = 0; line < count; ++line)
        text += prefix + std::to_string(line) + "\r\n";
    return text;
}

namespace {

RECT WindowRect(HWND hwnd)
{
    RECT rect;
    ::GetWindowRect(hwnd, &rect);
    return rect;
}

RECT ChildRect(HWND parent, HWND child)
{
    RECT rect = WindowRect(child);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The page of the shared scroll bar: the whole rows that both panes show.
int WholeRowsOfBothPanes(const CompareWindow& window)
{
    RECT source, master;
    ::GetClientRect(window.sourcePane.m_hWnd, &source);
    ::GetClientRect(window.masterPane.m_hWnd, &master);
    return std::min(source.bottom, master.bottom) / window.rowHeight;
}

} // namespace

TEST_CASE("the window is built with its caption, toolbar buttons and status indicators")
{
    CompareWindowFixture fixture("a\r\nb\r\n", "a\r\nc\r\n");
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    CHECK(window.GetWindowText() == "Zelvane - fixture");
    CHECK(window.comparisonResult == 1);

    const int expected[] = { 40019, 40021, 57607, 40016, 0, 40013, 40014, 40023, 40024, 0,
                             57635, 57634, 57637, 0, 57643, 57644 };
    REQUIRE(window.toolBar.SendMessage(TB_BUTTONCOUNT) == 16);
    for (int index = 0; index < 16; ++index) {
        TBBUTTON button = {};
        window.toolBar.SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
        CAPTURE(index);
        CHECK(button.idCommand == expected[index]);
        CHECK(((button.fsStyle & TBSTYLE_SEP) != 0) == (expected[index] == 0));
    }

    // Then the two encoding indicators, CAP, NUM and OVR.
    REQUIRE(window.statusBar.GetCount() == 8);
    CHECK(window.statusBar.GetPaneText(0) == "Ready");
    CHECK(window.sourcePane.statusPaneIndex == 1);
    CHECK(window.masterPane.statusPaneIndex == 2);
    CHECK(window.sourcePane.sideLetter == 'S');
    CHECK(window.masterPane.sideLetter == 'M');
    UINT id, style;
    int width;
    window.statusBar.GetPaneInfo(1, id, style, width);
    CHECK(id == 0);
    CHECK((style & SBPS_DISABLED) == 0);
    CHECK(width > 0);
}

TEST_CASE("the accelerator table binds exactly the Ctrl keys that the menu shows")
{
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    HMENU menu = ::LoadMenuA(instance, MAKEINTRESOURCEA(IDR_COMPARE_WINDOW));
    REQUIRE(menu != nullptr);
    std::map<char, UINT> fromMenu;
    for (int top = 0; top < ::GetMenuItemCount(menu); ++top) {
        HMENU popup = ::GetSubMenu(menu, top);
        for (int item = 0; item < ::GetMenuItemCount(popup); ++item) {
            char text[128] = "";
            ::GetMenuStringA(popup, static_cast<UINT>(item), text, sizeof text, MF_BYPOSITION);
            std::string label = text;
            size_t ctrl = label.find("\tCtrl+");
            if (ctrl != std::string::npos)
                fromMenu[label[ctrl + 6]] = ::GetMenuItemID(popup, item);
        }
    }
    ::DestroyMenu(menu);

    HACCEL table = ::LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_COMPARE_WINDOW));
    REQUIRE(table != nullptr);
    ACCEL entries[32];
    int count = ::CopyAcceleratorTableA(table, entries, 32);
    std::map<char, UINT> fromTable;
    for (int index = 0; index < count; ++index) {
        CHECK((entries[index].fVirt & (FCONTROL | FVIRTKEY)) == (FCONTROL | FVIRTKEY));
        CHECK((entries[index].fVirt & (FSHIFT | FALT)) == 0);
        fromTable[static_cast<char>(entries[index].key)] = entries[index].cmd;
    }
    CHECK(fromMenu.size() == 9);
    CHECK(fromTable == fromMenu);
}

TEST_CASE("without stored settings the window takes its default place, and saves its restored place")
{
    CompareWindowFixture fixture("a\r\n", "a\r\n");
    REQUIRE(fixture.created);
    int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    RECT rect = WindowRect(fixture.window.m_hWnd);
    CHECK(rect.left == screenWidth / 6);
    CHECK(rect.top == screenHeight / 4);
    CHECK(rect.right - rect.left == screenWidth * 2 / 3);
    CHECK(rect.bottom - rect.top == screenHeight / 2);

    ::MoveWindow(fixture.window.m_hWnd, 40, 50, 600, 400, TRUE);
    ::ShowWindow(fixture.window.m_hWnd, SW_MAXIMIZE);
    ::DestroyWindow(fixture.window.m_hWnd);
    CHECK(ReadSetting("Position", "x").AsDword() == 40);
    CHECK(ReadSetting("Position", "y").AsDword() == 50);
    CHECK(ReadSetting("Position", "cx").AsDword() == 600);
    CHECK(ReadSetting("Position", "cy").AsDword() == 400);
    CHECK(ReadSetting("Position", "cx").type == REG_DWORD);
}

TEST_CASE("layout: panes beside the shared scroll bar, which shows only when the rows do not fit")
{
    CompareWindowFixture fixture(NumberedLines("line ", 200), NumberedLines("line ", 200));
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    HWND frame = window.m_hWnd;
    ::MoveWindow(frame, 0, 0, 700, 500, TRUE);

    RECT source = ChildRect(frame, window.sourcePane.m_hWnd);
    RECT bar = ChildRect(frame, window.scrollBar.m_hWnd);
    RECT master = ChildRect(frame, window.masterPane.m_hWnd);
    RECT caption = ChildRect(frame, window.sourceCaption.m_hWnd);
    CHECK(source.right == bar.left);
    CHECK(bar.right == master.left);
    CHECK(caption.bottom == source.top);
    CHECK(bar.right - bar.left == ::GetSystemMetrics(SM_CXVSCROLL));
    CHECK(::IsWindowVisible(window.scrollBar.m_hWnd));
    int low = 0, high = 0;
    ::GetScrollRange(window.scrollBar.m_hWnd, SB_CTL, &low, &high);
    CHECK(high == 200 - WholeRowsOfBothPanes(window));

    SUBCASE("hiding the toolbar and the status bar gives their room to the panes")
    {
        int topBefore = source.top;
        window.SendMessage(WM_COMMAND, MAKEWPARAM(59392, 0), 0);
        window.SendMessage(WM_COMMAND, MAKEWPARAM(59393, 0), 0);
        CHECK_FALSE(::IsWindowVisible(window.toolBar.m_hWnd));
        RECT after = ChildRect(frame, window.sourcePane.m_hWnd);
        CHECK(after.top < topBefore);
        RECT client;
        ::GetClientRect(frame, &client);
        CHECK(after.bottom == client.bottom);
        ::GetScrollRange(window.scrollBar.m_hWnd, SB_CTL, &low, &high);
        CHECK(high == 200 - WholeRowsOfBothPanes(window));
        CCmdUI state(59392);
        window.OnUpdateCmdMsg(&state);
        CHECK(state.m_checked == 0);
    }
    SUBCASE("a tall window needs no scroll bar")
    {
        CompareWindowFixture small("a\r\nb\r\n", "a\r\nc\r\n");
        REQUIRE(small.created);
        CHECK_FALSE(::IsWindowVisible(small.window.scrollBar.m_hWnd));
    }
}

TEST_CASE("both panes scroll together and the top row stays within range")
{
    CompareWindowFixture fixture(NumberedLines("s", 300), NumberedLines("m", 300));
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    RECT client;
    ::GetClientRect(window.sourcePane.m_hWnd, &client);
    int page = client.bottom / window.rowHeight;

    window.ScrollToRow(SB_LINEDOWN, 0);
    CHECK(window.topRow == 1);
    window.ScrollToRow(SB_PAGEDOWN, 0);
    CHECK(window.topRow == 1 + page);
    CHECK(window.sourcePane.topRow == window.topRow);
    CHECK(window.masterPane.topRow == window.topRow);
    window.ScrollToRow(SB_THUMBPOSITION, 100000);
    CHECK(window.topRow == 300 - page);
    CHECK(window.scrollBar.GetScrollPos() == 300 - page);
    window.ScrollToRow(SB_PAGEUP, 0);
    window.ScrollToRow(SB_THUMBPOSITION, -5);
    CHECK(window.topRow == 0);
    window.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), reinterpret_cast<LPARAM>(window.scrollBar.m_hWnd));
    CHECK(window.topRow == 1);
}

TEST_CASE("command states follow the comparison and the insert mode")
{
    SUBCASE("identical files: nothing to print as differences, nothing to save")
    {
        CompareWindowFixture fixture("same\r\n", "same\r\n");
        REQUIRE(fixture.created);
        CHECK_FALSE(fixture.window.IsCommandEnabled(ID_PRINT_DIFFERENCES));
        CHECK_FALSE(fixture.window.IsCommandEnabled(ID_SAVE_SOURCE));
        CHECK_FALSE(fixture.window.IsCommandEnabled(ID_SAVE_MASTER));
        CHECK(fixture.window.IsCommandEnabled(ID_FILE_PRINT));
        CHECK(fixture.window.IsCommandEnabled(ID_FILE_EXIT));
    }
    SUBCASE("a difference can be printed; OVR shows only in overwrite mode")
    {
        CompareWindowFixture fixture("a\r\n", "b\r\n");
        REQUIRE(fixture.created);
        CHECK(fixture.window.IsCommandEnabled(ID_PRINT_DIFFERENCES));
        int ovr = fixture.window.statusBar.CommandToIndex(59140);
        REQUIRE(ovr == 7);
        fixture.Idle();
        UINT id, style;
        int width;
        fixture.window.statusBar.GetPaneInfo(ovr, id, style, width);
        CHECK((style & SBPS_DISABLED) != 0);
        fixture.window.insertMode = 0;
        fixture.Idle();
        fixture.window.statusBar.GetPaneInfo(ovr, id, style, width);
        CHECK((style & SBPS_DISABLED) == 0);
    }
    SUBCASE("toolbar buttons follow the update handlers during idle")
    {
        CompareWindowFixture fixture("same\r\n", "same\r\n");
        REQUIRE(fixture.created);
        fixture.Idle();
        CHECK_FALSE(fixture.window.toolBar.IsButtonEnabled(ID_PRINT_DIFFERENCES));
        CHECK(fixture.window.toolBar.IsButtonEnabled(ID_FILE_PRINT));
    }
}

TEST_CASE("closing asks about modified files, Source first, and Cancel keeps the window")
{
    CompareWindowFixture fixture("a\r\n", "b\r\n");
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    // Pretend both panes were edited: the question depends only on the undo count.
    window.sourcePane.undoList.emplace_back();
    window.masterPane.undoList.emplace_back();

    {
        DialogAnswerer answers({ IDCANCEL });
        window.SendMessage(WM_CLOSE);
        PumpFor(50);
        REQUIRE(answers.Count() == 1);
        CHECK(answers.At(0).caption == "Zelvane");
        CHECK(answers.At(0).text == "Save changes to " + window.sourcePath + "?");
    }
    CHECK(::IsWindow(window.m_hWnd));
    {
        DialogAnswerer answers({ IDNO, IDNO });
        window.SendMessage(WM_CLOSE);
        REQUIRE(answers.Count() == 2);
        CHECK(answers.At(1).text == "Save changes to " + window.masterPath + "?");
    }
    CHECK(window.m_hWnd == nullptr);
}

TEST_CASE("a Yes to the save question that does not save keeps the window open and the edits")
{
    CompareWindowFixture fixture("a\r\n", "b\r\n");
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    const std::string path = window.sourcePath;
    ::SetFocus(window.sourcePane.m_hWnd);
    window.sourcePane.SendMessage(WM_CHAR, 'x', 1);
    REQUIRE(window.sourcePane.IsModified());

    SUBCASE("the read-only question answered No")
    {
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        {
            DialogAnswerer answers({ IDYES, IDNO });
            window.SendMessage(WM_CLOSE);
            REQUIRE(answers.Count() == 2);
            CHECK(answers.At(1).text.find("is read-only") != std::string::npos);
        }
        CHECK(::IsWindow(window.m_hWnd));
        {
            DialogAnswerer answers({ IDYES, IDNO });
            CHECK(window.SendMessage(WM_QUERYENDSESSION) == 0);
            CHECK(answers.Count() == 2);
        }
    }
    SUBCASE("the file cannot be written")
    {
        HANDLE lock = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        REQUIRE(lock != INVALID_HANDLE_VALUE);
        {
            DialogAnswerer answers({ IDYES, IDOK });
            window.SendMessage(WM_CLOSE);
            REQUIRE(answers.Count() == 2);
            CHECK(answers.At(1).text == "Error writing file " + path);
        }
        ::CloseHandle(lock);
        CHECK(::IsWindow(window.m_hWnd));
    }
    CHECK(window.sourcePane.IsModified());
    CHECK(ReadWholeFile(path) == "a\r\n");
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_CASE("the object may go while its window is still open: the window goes first")
{
    CleanSettings clean;
    TempFile source("a\r\n"), master("b\r\n");
    auto* window = new CompareWindow;
    window->sourcePath = source.Path();
    window->masterPath = master.Path();
    REQUIRE(window->Create());
    ::ShowWindow(window->m_hWnd, SW_SHOW);
    HWND frame = window->m_hWnd;
    ::SetFocus(window->masterPane.m_hWnd);
    delete window;
    CHECK_FALSE(::IsWindow(frame));
    CHECK(ReadSetting("Position", "cx").exists);
}

TEST_CASE("prompts from the string table: menu items in the status bar, toolbar tips")
{
    CompareWindowFixture fixture("a\r\n", "b\r\n");
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;

    window.SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_NEXT_DIFFERENCE, MF_STRING), 1);
    CHECK(window.statusBar.GetPaneText(0) == "Find the next difference between the two files");
    window.SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_APP_ABOUT, MF_STRING), 1);
    CHECK(window.statusBar.GetPaneText(0) == "Display program information, version number and copyright");
    window.SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    CHECK(window.statusBar.GetPaneText(0) == "Ready");

    NMTTDISPINFOA tip = {};
    tip.hdr.hwndFrom = window.toolBar.m_hWnd;
    tip.hdr.idFrom = ID_SAVE_MASTER;
    tip.hdr.code = TTN_GETDISPINFOA;
    window.SendMessage(WM_NOTIFY, ID_SAVE_MASTER, reinterpret_cast<LPARAM>(&tip));
    CHECK(std::string(tip.lpszText) == "Save Master");
    CHECK(window.statusBar.GetPaneText(0) == "Save Master File");
}
