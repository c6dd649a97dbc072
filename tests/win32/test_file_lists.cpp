// The two file lists: row alignment, scrolling and column widths in step,
// the painted rows, and comparing a row in a comparison window.
#include <doctest/doctest.h>

#include <algorithm>
#include <set>
#include <string>

#include "directory_window_fixture.h"
#include "pane_driver.h"
#include "text_pixels.h"

namespace {

// Forty names on each side, a third only on one side, every fifth pair of different size.
void FillPair(const TempDirectory& source, const TempDirectory& master)
{
    for (int i = 0; i < 60; ++i) {
        char name[32];
        ::wsprintfA(name, "file%02d.txt", i);
        if (i % 3 != 1)
            source.Write(name, "same");
        if (i % 3 != 2)
            master.Write(name, i % 5 == 0 ? "longer" : "same");
    }
}

RECT RowRect(const FileListView& list, int row)
{
    RECT rect = {};
    rect.left = LVIR_BOUNDS;
    list.SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

// The colour of a row where nothing but its background is drawn: left of
// the name, where only a marked row shows its tick.
COLORREF RowBackground(const FileListView& list, int row)
{
    RECT rect = RowRect(list, row);
    return ClientPixel(list.m_hWnd, rect.left + 3, (rect.top + rect.bottom) / 2);
}

} // namespace

TEST_CASE("the lists stay row-aligned by name and scroll together")
{
    TempDirectory source, master;
    FillPair(source, master);
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    FileListView& left = fixture.window.sourceFiles;
    FileListView& right = fixture.window.masterFiles;
    REQUIRE(left.RowCount() == 60);
    REQUIRE(right.RowCount() == 60);
    for (int row = 0; row < 60; ++row) {
        CAPTURE(row);
        const FileEntry* s = left.GetEntry(row);
        const FileEntry* m = right.GetEntry(row);
        REQUIRE((s || m));
        char name[32];
        ::wsprintfA(name, "file%02d.txt", row);
        CHECK((s ? s->DisplayName() : m->DisplayName()) == name);
        if (s && m)
            CHECK(s->status == (row % 5 == 0 ? 1 : 0));
        else
            CHECK((s ? s->status : m->status) == 1);
    }

    struct Step {
        const char* label;
        FileListView* list;
        WPARAM request;
    } steps[] = {
        { "line down in the Source list", &left, SB_LINEDOWN },
        { "page down in the Master list", &right, SB_PAGEDOWN },
        { "line up in the Master list", &right, SB_LINEUP },
    };
    for (const Step& step : steps) {
        CAPTURE(step.label);
        int before = step.list->TopRow();
        step.list->SendMessage(WM_VSCROLL, step.request, 0);
        CHECK(step.list->TopRow() != before);
        CHECK(left.TopRow() == right.TopRow());
    }
    // Thumb dragging: the partner takes the leader's top row.
    left.SendMessage(LVM_SCROLL, 0, 9 * (RowRect(left, 1).top - RowRect(left, 0).top));
    int top = left.TopRow();
    REQUIRE(top != right.TopRow());
    left.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, top), 0);
    CHECK(right.TopRow() == left.TopRow());
    // The wheel scrolls without WM_VSCROLL; the partner follows all the same.
    left.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    CHECK(right.TopRow() == left.TopRow());
}

TEST_CASE("Ctrl with an arrow moves the focus in both lists, a plain arrow through the selection")
{
    TempDirectory source, master;
    FillPair(source, master);
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    FileListView& left = fixture.window.sourceFiles;
    FileListView& right = fixture.window.masterFiles;
    ::SetFocus(left.m_hWnd);
    fixture.SelectRow(left, 3);
    CHECK(right.focusedRow == 3);
    {
        HeldKeys ctrl({ VK_CONTROL });
        left.SendMessage(WM_KEYDOWN, VK_DOWN, 1);
        left.SendMessage(WM_KEYUP, VK_DOWN, 1);
    }
    CHECK(left.focusedRow == 4);
    CHECK(right.focusedRow == 4);
    left.SendMessage(WM_KEYDOWN, VK_DOWN, 1);
    CHECK(left.focusedRow == 5);
    CHECK(right.focusedRow == 5);
    CHECK(left.GetSelectedRows() == std::vector<int>{ 5 });
    CHECK(right.GetSelectedRows().empty()); // only the focus follows
}

TEST_CASE("Shift with an arrow selects a range: the partner's focus and the copy button follow")
{
    TempDirectory source, master;
    FillPair(source, master);
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    FileListView& left = fixture.window.sourceFiles;
    FileListView& right = fixture.window.masterFiles;
    ::SetFocus(left.m_hWnd);
    fixture.SelectRow(left, 5);
    LVITEMA none = {};
    none.stateMask = LVIS_SELECTED;
    left.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    REQUIRE_FALSE(fixture.Enabled(IDC_COPY_TO_MASTER));
    {
        HeldKeys shift({ VK_SHIFT });
        left.SendMessage(WM_KEYDOWN, VK_DOWN, 1);
        left.SendMessage(WM_KEYDOWN, VK_DOWN, 1);
    }
    CHECK(left.GetSelectedRows() == std::vector<int>{ 5, 6, 7 });
    CHECK(left.focusedRow == 7);
    CHECK(PumpUntil([&] { return right.focusedRow == 7; }));
    CHECK(fixture.Enabled(IDC_COPY_TO_MASTER));
    // Typing finds no row by its name: the focus stays where it is.
    left.SendMessage(WM_CHAR, 'f', 1);
    CHECK(left.focusedRow == 7);
    CHECK(left.GetSelectedRows().size() == 3);
}

TEST_CASE("the end of a column drag gives the partner's column the same width")
{
    TempDirectory source, master;
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    FileListView& left = fixture.window.sourceFiles;
    FileListView& right = fixture.window.masterFiles;
    HWND header = reinterpret_cast<HWND>(right.SendMessage(LVM_GETHEADER));
    REQUIRE(header != nullptr);
    for (int column : { 0, 3 }) {
        CAPTURE(column);
        int width = left.ColumnWidth(column) + 37;
        right.SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0));
        HDITEMA item = {};
        item.mask = HDI_WIDTH;
        item.cxy = width;
        NMHEADERA notify = {};
        notify.hdr.hwndFrom = header;
        notify.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(header));
        notify.hdr.code = HDN_ENDTRACKA;
        notify.iItem = column;
        notify.pitem = &item;
        right.SendMessage(WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
        CHECK(left.ColumnWidth(column) == width);
    }
}

TEST_CASE("rows are painted in the side's colour when they differ, in the system's when selected")
{
    TempDirectory source, master;
    source.Write("differs.txt", "1");
    master.Write("differs.txt", "22");
    source.Write("only.txt", "1");
    source.Write("same.txt", "1");
    master.Write("same.txt", "1");
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    FileListView& left = fixture.window.sourceFiles;
    FileListView& right = fixture.window.masterFiles;
    REQUIRE(left.RowCount() == 3);
    ::RedrawWindow(fixture.window.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpFor(30);
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    struct Row {
        const char* label;
        FileListView* list;
        int row;
        COLORREF colour;
    } rows[] = {
        { "differing pair, Source", &left, 0, RGB(255, 0, 255) },
        { "differing pair, Master", &right, 0, RGB(255, 255, 0) },
        { "file without partner", &left, 1, RGB(255, 0, 255) },
        { "empty row facing it", &right, 1, window },
        { "same pair", &left, 2, window },
    };
    for (const Row& row : rows) {
        CAPTURE(row.label);
        CHECK(RowBackground(*row.list, row.row) == row.colour);
    }
    fixture.SelectRow(left, 0);
    ::UpdateWindow(left.m_hWnd);
    CHECK(RowBackground(left, 0) == ::GetSysColor(COLOR_HIGHLIGHT));

    // A new colour repaints the list.
    right.SetHighlightColour(RGB(0, 200, 0));
    ::UpdateWindow(right.m_hWnd);
    CHECK(RowBackground(right, 0) == RGB(0, 200, 0));
}

TEST_CASE("a pair not read yet is grey on the window colour, and drawn as any row when selected")
{
    TempDirectory source, master;
    source.Write("pending.txt", "1");
    master.Write("pending.txt", "2");
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    FileListView& left = fixture.window.sourceFiles;
    REQUIRE(left.RowCount() == 1);
    left.GetEntry(0)->status = STATUS_NOT_KNOWN;
    struct Case {
        const char* label;
        bool selected;
        int background;
        int ink;
    } cases[] = {
        { "not selected", false, COLOR_WINDOW, COLOR_GRAYTEXT },
        { "selected", true, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT },
    };
    for (const Case& c : cases) {
        CAPTURE(c.label);
        if (c.selected)
            fixture.SelectRow(left, 0);
        std::vector<COLORREF> pixels = TextPixels::OnScreen(left.m_hWnd, RowRect(left, 0));
        CHECK(RowBackground(left, 0) == ::GetSysColor(c.background));
        CHECK(std::count(pixels.begin(), pixels.end(), ::GetSysColor(c.ink)) > 0);
        CHECK(std::count(pixels.begin(), pixels.end(), ::GetSysColor(COLOR_WINDOWTEXT)) == 0);
    }
}

TEST_CASE("a comparison opened from a row marks it and gives the focus back to its list")
{
    TempDirectory source, master;
    source.Write("b.txt", "one\r\n");
    master.Write("b.txt", "two\r\n");
    source.Write("c.txt", "x");
    master.Write("c.txt", "x");
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    DirectoryWindow& window = fixture.window;
    fixture.SelectRow(window.masterFiles, 0);

    bool hiddenMeanwhile = false, disabledMeanwhile = false;
    CWnd* mainMeanwhile = nullptr;
    CompareWindowDriver driver([&](HWND) {
        hiddenMeanwhile = !::IsWindowVisible(window.m_hWnd);
        disabledMeanwhile = !::IsWindowEnabled(window.m_hWnd);
        mainMeanwhile = AfxGetApp()->m_pMainWnd;
        return true;
    });
    window.masterFiles.SendMessage(WM_CHAR, '\r', 1);
    CHECK(CompareWindowDriver::s_title == "Zelvane - b.txt");
    CHECK(hiddenMeanwhile);
    CHECK(disabledMeanwhile);
    CHECK(mainMeanwhile != &window);
    CHECK(AfxGetApp()->m_pMainWnd == &window);
    CHECK(::IsWindowVisible(window.m_hWnd));
    CHECK(::IsWindowEnabled(window.m_hWnd));
    CHECK(::GetFocus() == window.masterFiles.m_hWnd);
    CHECK(window.masterFiles.GetEntry(0)->mark == 1);
    CHECK(window.sourceFiles.GetEntry(0)->mark == 0); // only the list that asked
    CHECK(window.masterFiles.GetEntry(1)->mark == 0);
}

TEST_CASE("comparing needs exactly one selected row with files on both sides")
{
    TempDirectory source, master;
    source.Write("a.txt", "1");
    master.Write("a.txt", "1");
    source.Write("b.txt", "1");
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    DirectoryWindow& window = fixture.window;
    CompareWindowDriver driver;
    window.CompareSelectedRow(window.sourceFiles); // nothing selected
    fixture.SelectRow(window.sourceFiles, 1);      // b.txt faces an empty row
    window.CompareSelectedRow(window.sourceFiles);
    LVITEMA all = {};
    all.stateMask = all.state = LVIS_SELECTED;
    window.sourceFiles.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&all));
    window.CompareSelectedRow(window.sourceFiles); // two rows
    CHECK(CompareWindowDriver::s_seen == nullptr);
    CHECK(window.sourceFiles.GetEntry(1)->mark == 0);
}

TEST_CASE("a rescan due while a comparison is open runs after it closes and the mark finds its file")
{
    TempDirectory source, master;
    source.Write("m.txt", "one\r\n");
    master.Write("m.txt", "two\r\n");
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    DirectoryWindow& window = fixture.window;
    fixture.SelectRow(window.sourceFiles, 0);

    int stage = 0;
    int rowsWhileOpen = -1;
    CompareWindowDriver driver([&](HWND) {
        if (stage == 0) {
            // A save in the comparison window, as far as the directory sees it.
            source.Write("a.txt", "new");
            window.sourceDirectories.RequestFileRescan();
            stage = 1;
            return false;
        }
        if (window.busy.Pending() == 0)
            return false; // the rescan timer has not fired yet
        rowsWhileOpen = window.sourceFiles.RowCount();
        return true;
    });
    window.CompareSelectedRow(window.sourceFiles);
    CHECK(rowsWhileOpen == 1); // postponed, not run under the comparison
    REQUIRE(window.sourceFiles.RowCount() == 2);
    CHECK(fixture.RowName(window.sourceFiles, 0) == "a.txt");
    CHECK(window.sourceFiles.GetEntry(0)->mark == 0);
    CHECK(fixture.RowName(window.sourceFiles, 1) == "m.txt");
    CHECK(window.sourceFiles.GetEntry(1)->mark == 1);
    CHECK(window.busy.Pending() == 0);
}

TEST_CASE("the comparison's quit message does not end the directory window; a real quit is kept")
{
    TempDirectory source, master;
    std::string left = source.Write("q.txt", "1\r\n");
    std::string right = master.Write("q.txt", "2\r\n");
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    DirectoryWindow& window = fixture.window;
    MSG msg;

    SUBCASE("posted as the comparison window goes")
    {
        CompareWindowDriver driver([&](HWND frame) {
            ::DestroyWindow(frame);
            ::PostQuitMessage(0); // what a framework does for its main window
            return false;
        });
        CHECK(window.RunCompareWindow("q", left, right, RGB(255, 0, 255), RGB(255, 255, 0)));
        CHECK_FALSE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    }
    SUBCASE("posted while the comparison is open")
    {
        CompareWindowDriver driver([&](HWND) {
            ::PostQuitMessage(7);
            return true;
        });
        window.RunCompareWindow("q", left, right, RGB(255, 0, 255), RGB(255, 255, 0));
        REQUIRE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        CHECK(msg.wParam == 7);
    }
    CHECK(::IsWindowVisible(window.m_hWnd));
}

TEST_CASE("the comparison's loop sleeps while there is nothing to do")
{
    TempDirectory source, master;
    std::string left = source.Write("s.txt", "1\r\n");
    std::string right = master.Write("s.txt", "2\r\n");
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    FILETIME created, exited, kernelStart, userStart, kernelEnd, userEnd;
    DWORD openedAt = 0;
    CompareWindowDriver driver([&](HWND) {
        if (!openedAt) {
            openedAt = ::GetTickCount();
            ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernelStart, &userStart);
            return false;
        }
        if (::GetTickCount() - openedAt < 600)
            return false;
        ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernelEnd, &userEnd);
        return true;
    });
    fixture.window.RunCompareWindow("s", left, right, RGB(255, 0, 255), RGB(255, 255, 0));
    auto ticks = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    ULONGLONG busyMs = (ticks(userEnd) - ticks(userStart) + ticks(kernelEnd) - ticks(kernelStart)) / 10000;
    // Resting costs next to nothing; a loop that polls without waiting used
    // some 170 ms of the 600 here (the rest is spent in the Wine server).
    CHECK(busyMs < 80);
}
