// The directory window: set-up, layout, the copy buttons, the Enter rules,
// the directory edits and what it stores when it closes.
#include <doctest/doctest.h>

#include <cctype>
#include <iterator>
#include <vector>

#include "directory_window_fixture.h"

namespace {

RECT ChildRect(HWND parent, int id)
{
    RECT rect;
    ::GetWindowRect(::GetDlgItem(parent, id), &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void PressEnter(HWND focus)
{
    ::SetFocus(focus);
    MSG msg = { focus, WM_KEYDOWN, VK_RETURN, 1, 0, { 0, 0 } };
    if (!AfxGetApp()->PreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    PumpFor(30);
}

std::string ComboItem(HWND combo, int index)
{
    char text[256] = "";
    ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

} // namespace

TEST_CASE("set-up restores the file types and the pattern and scans both sides")
{
    TempDirectory source, master;
    source.Write("a.c", "1");
    source.Write("b.txt", "1");
    master.Write("a.c", "22");
    master.Write("c.h", "1");
    DirectoryWindowFixture fixture;
    DWORD type = 0;
    WriteRawSetting("Position", "FileType", REG_DWORD, &type, sizeof type);
    REQUIRE(fixture.Open(source.Path(), master.Path(), ""));
    DirectoryWindow& window = fixture.window;

    HWND combo = fixture.Item(IDC_FILE_TYPE);
    REQUIRE(::SendMessageA(combo, CB_GETCOUNT, 0, 0) == 2);
    CHECK(ComboItem(combo, 0) == "Source Files");
    CHECK(ComboItem(combo, 1) == "All Files");
    CHECK(::SendMessageA(combo, CB_GETCURSEL, 0, 0) == 0);
    CHECK(window.GetDlgItemText(IDC_PATTERN) == "*.c,*.cpp,*.h,*.rc,*.def");
    CHECK(ReadSetting("Position", "FileExtensions").AsString() == "*.c,*.cpp,*.h,*.rc,*.def");

    // Both sides read with the pattern: b.txt is not listed, a.c pairs, c.h faces an empty row.
    REQUIRE(window.sourceFiles.RowCount() == 2);
    REQUIRE(window.masterFiles.RowCount() == 2);
    CHECK(fixture.RowName(window.sourceFiles, 0) == "a.c");
    CHECK(fixture.RowName(window.masterFiles, 0) == "a.c");
    CHECK(window.sourceFiles.GetEntry(0)->status == 1); // sizes differ
    CHECK(window.sourceFiles.GetEntry(1) == nullptr);
    CHECK(fixture.RowName(window.masterFiles, 1) == "c.h");
    CHECK(window.GetDlgItemText(IDC_SOURCE_DIRECTORY) == source.Path());

    // Choosing "All Files" applies its patterns at once.
    ::SendMessageA(combo, CB_SETCURSEL, 1, 0);
    window.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_FILE_TYPE, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
    CHECK(window.GetDlgItemText(IDC_PATTERN) == "*.*");
    CHECK(ReadSetting("Position", "FileType").AsDword() == 1);
    CHECK(window.sourceFiles.RowCount() == 3);
}

TEST_CASE("set-up fills both lists before the window runs its loop, and reads no side again")
{
    TempDirectory source, master;
    source.Write("a.txt", "1");
    master.Write("b.txt", "1");
    CleanSettings clean;
    WriteRawSetting("Position", "FileExtensions", REG_SZ, "*.*", 4);
    DirectoryWindow window;
    window.sourceDirectory = source.Path();
    window.masterDirectory = master.Path();
    REQUIRE(window.Create(IDD_DIRECTORY_WINDOW));
    CHECK(window.sourceFiles.RowCount() == 2);
    CHECK(window.masterFiles.RowCount() == 2);
    const int scans[2] = { window.scanCount[SOURCE_SIDE], window.scanCount[MASTER_SIDE] };
    PumpFor(2 * DirectoryListBox::REFRESH_DELAY_MS);
    CHECK(window.scanCount[SOURCE_SIDE] == scans[SOURCE_SIDE]);
    CHECK(window.scanCount[MASTER_SIDE] == scans[MASTER_SIDE]);
    ::DestroyWindow(window.m_hWnd);
    AfxGetApp()->m_pMainWnd = nullptr;
}

TEST_CASE("a remembered pattern text wins over the remembered file type")
{
    TempDirectory source, master;
    source.Write("x.txt", "1");
    source.Write("y.c", "1");
    DirectoryWindowFixture fixture;
    DWORD type = 5; // no such filter
    WriteRawSetting("Position", "FileType", REG_DWORD, &type, sizeof type);
    REQUIRE(fixture.Open(source.Path(), master.Path(), "*.txt"));
    CHECK(::SendMessageA(fixture.Item(IDC_FILE_TYPE), CB_GETCURSEL, 0, 0) == CB_ERR);
    CHECK(fixture.window.GetDlgItemText(IDC_PATTERN) == "*.txt");
    REQUIRE(fixture.window.sourceFiles.RowCount() == 1);
    CHECK(fixture.RowName(fixture.window.sourceFiles, 0) == "x.txt");
}

TEST_CASE("resizing moves the controls by their anchors and the window keeps its minimum size")
{
    TempDirectory source, master;
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    HWND hwnd = fixture.window.m_hWnd;
    RECT outer;
    ::GetWindowRect(hwnd, &outer);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;

    struct Row {
        int id;
        int dLeft, dRight, dBottom;
    } rows[] = {
        { IDC_SOURCE_GROUP, 0, 50, 0 },        { IDC_SOURCE_DIRECTORY, 0, 50, 0 },
        { IDC_SOURCE_DRIVE_LABEL, 0, 0, 0 },   { IDC_SOURCE_DRIVE, 50, 50, 0 },
        { IDC_PATTERN, 50, 50, 0 },            { IDC_FILE_TYPE, 50, 50, 0 },
        { IDC_DIRECTORY_HELP, 50, 50, 0 },     { IDC_COPY_TO_SOURCE, 50, 50, 0 },
        { IDC_COPY_TO_MASTER, 50, 50, 0 },     { IDC_MASTER_GROUP, 50, 100, 0 },
        { IDC_MASTER_DIRECTORY_LIST, 50, 100, 0 }, { IDC_MASTER_DRIVE_LABEL, 50, 50, 0 },
        { IDC_MASTER_DRIVE, 100, 100, 0 },     { IDC_SOURCE_FILES, 0, 50, 60 },
        { IDC_MASTER_FILES, 50, 100, 60 },     { IDC_MASTER_FILES_LABEL, 50, 100, 0 },
    };
    std::vector<RECT> before;
    for (const Row& row : rows)
        before.push_back(ChildRect(hwnd, row.id));
    ::SetWindowPos(hwnd, nullptr, 0, 0, width + 100, height + 60, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpFor(30);
    for (size_t i = 0; i < std::size(rows); ++i) {
        CAPTURE(rows[i].id);
        RECT after = ChildRect(hwnd, rows[i].id);
        CHECK(after.left - before[i].left == rows[i].dLeft);
        CHECK(after.right - before[i].right == rows[i].dRight);
        CHECK(after.top == before[i].top);
        CHECK(after.bottom - before[i].bottom == rows[i].dBottom);
    }

    MINMAXINFO limits = {};
    ::SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    CHECK(limits.ptMinTrackSize.x == width);
    CHECK(limits.ptMinTrackSize.y == height);
}

TEST_CASE("the copy buttons: at most the one pointing away from the focused list, never onto the same directory")
{
    TempDirectory source, master;
    for (const char* name : { "a.txt", "b.txt" }) {
        source.Write(name, "1");
        master.Write(name, "22");
    }
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    DirectoryWindow& window = fixture.window;
    REQUIRE(window.sourceFiles.RowCount() == 2);
    CHECK_FALSE(fixture.Enabled(IDC_COPY_TO_MASTER));
    CHECK_FALSE(fixture.Enabled(IDC_COPY_TO_SOURCE));

    ::SetFocus(window.sourceFiles.m_hWnd);
    fixture.SelectRow(window.sourceFiles, 1);
    CHECK(fixture.Enabled(IDC_COPY_TO_MASTER));
    CHECK_FALSE(fixture.Enabled(IDC_COPY_TO_SOURCE));
    CHECK(window.masterFiles.focusedRow == 1); // the partner's focus followed

    ::SetFocus(window.masterFiles.m_hWnd);
    CHECK_FALSE(fixture.Enabled(IDC_COPY_TO_MASTER));
    CHECK_FALSE(fixture.Enabled(IDC_COPY_TO_SOURCE)); // nothing selected on the Master side yet
    fixture.SelectRow(window.masterFiles, 0);
    CHECK(fixture.Enabled(IDC_COPY_TO_SOURCE));

    LVITEMA none = {};
    none.stateMask = LVIS_SELECTED;
    window.masterFiles.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    CHECK_FALSE(fixture.Enabled(IDC_COPY_TO_SOURCE));

    SUBCASE("the same directory spelled differently keeps both off")
    {
        std::string upper = master.Path() + "\\";
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        window.SetDlgItemText(IDC_SOURCE_DIRECTORY, upper);
        window.ApplyDirectoryEdit(SOURCE_SIDE);
        REQUIRE(fixture.WaitForScans());
        CHECK(window.SidesAreSameDirectory());
        ::SetFocus(window.sourceFiles.m_hWnd);
        fixture.SelectRow(window.sourceFiles, 0);
        CHECK_FALSE(fixture.Enabled(IDC_COPY_TO_MASTER));
        ::SetFocus(window.masterFiles.m_hWnd);
        fixture.SelectRow(window.masterFiles, 1);
        CHECK_FALSE(fixture.Enabled(IDC_COPY_TO_SOURCE));
    }
}

TEST_CASE("a directory that does not exist is reported once and the side keeps its directory")
{
    TempDirectory source, master;
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    DirectoryWindow& window = fixture.window;
    HWND edit = fixture.Item(IDC_SOURCE_DIRECTORY);
    std::string missing = source.Path() + "\\missing";
    window.SetDlgItemText(IDC_SOURCE_DIRECTORY, missing);

    DialogAnswerer answerer({ IDOK });
    ::SetFocus(edit);
    ::SetFocus(window.sourceFiles.m_hWnd); // leaving the edit applies it
    PumpFor(100);
    REQUIRE(answerer.Count() == 1);
    CHECK(answerer.At(0).caption == "Zelvane Error");
    CHECK(answerer.At(0).text == "'" + missing + "' isn't the name of a directory");
    CHECK(::GetFocus() == edit);
    DWORD start = 0, end = 0;
    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    CHECK(start == 0);
    CHECK(end == missing.size());
    CHECK(window.CurrentDirectory(SOURCE_SIDE) == source.Path());

    // Closing with the text still there asks nothing more.
    window.SendMessage(WM_CLOSE);
    PumpFor(50);
    CHECK(answerer.Count() == 1);
    CHECK_FALSE(::IsWindow(window.m_hWnd));
    CHECK(window.sourceDirectory == missing);
}

TEST_CASE("a directory refused at set-up is reported once, with the focus left in its edit")
{
    TempDirectory source;
    std::string missing = source.Path() + "\\gone";
    DirectoryWindowFixture fixture;
    DialogAnswerer answerer({ IDOK });
    fixture.window.sourceDirectory = source.Path();
    fixture.window.masterDirectory = missing;
    REQUIRE(fixture.window.Create(IDD_DIRECTORY_WINDOW));
    ::ShowWindow(fixture.window.m_hWnd, SW_SHOW);
    PumpFor(200);
    CHECK(answerer.Count() == 1);
    CHECK(::GetFocus() == fixture.Item(IDC_MASTER_DIRECTORY));
    CHECK(fixture.window.CurrentDirectory(SOURCE_SIDE) == source.Path());
    fixture.window.SendMessage(WM_CLOSE);
    CHECK(answerer.Count() == 1);
}

TEST_CASE("Enter acts by the focused control, and neither Enter nor Escape closes the window")
{
    TempDirectory source, master, third;
    source.Write("a.txt", "1");
    master.Write("a.txt", "1");
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    DirectoryWindow& window = fixture.window;

    SUBCASE("in a directory edit it switches the side")
    {
        window.SetDlgItemText(IDC_MASTER_DIRECTORY, third.Path());
        PressEnter(fixture.Item(IDC_MASTER_DIRECTORY));
        CHECK(window.CurrentDirectory(MASTER_SIDE) == third.Path());
    }
    SUBCASE("in a directory list it opens the selected directory")
    {
        std::string sub = source.Path() + "\\sub";
        REQUIRE(::CreateDirectoryA(sub.c_str(), nullptr));
        window.sourceDirectories.FillDirectoryList(source.Path());
        int index = static_cast<int>(::SendMessageA(fixture.Item(IDC_SOURCE_DIRECTORY_LIST), LB_GETCOUNT, 0, 0)) - 1;
        ::SendMessageA(fixture.Item(IDC_SOURCE_DIRECTORY_LIST), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        PressEnter(fixture.Item(IDC_SOURCE_DIRECTORY_LIST));
        CHECK(window.CurrentDirectory(SOURCE_SIDE) == sub);
        CHECK(window.GetDlgItemText(IDC_SOURCE_DIRECTORY) == sub);
        ::RemoveDirectoryA(sub.c_str());
    }
    SUBCASE("in the pattern edit it applies the pattern")
    {
        window.SetDlgItemText(IDC_PATTERN, "*.none");
        ::SendMessageA(fixture.Item(IDC_PATTERN), EM_SETMODIFY, TRUE, 0);
        PressEnter(fixture.Item(IDC_PATTERN));
        CHECK(window.sourceFiles.RowCount() == 0);
        CHECK(ReadSetting("Position", "FileExtensions").AsString() == "*.none");
    }
    SUBCASE("in a file list it compares the selected row")
    {
        fixture.SelectRow(window.masterFiles, 0);
        CompareWindowDriver driver;
        PressEnter(window.masterFiles.m_hWnd);
        CHECK(CompareWindowDriver::s_seen != nullptr);
        CHECK(CompareWindowDriver::s_title == "Zelvane - a.txt");
    }
    SUBCASE("on the Help button, and Escape anywhere, nothing happens")
    {
        CompareWindowDriver driver;
        DialogAnswerer answerer;
        PressEnter(fixture.Item(IDC_DIRECTORY_HELP));
        HWND list = window.sourceFiles.m_hWnd;
        ::SetFocus(list);
        MSG escape = { list, WM_KEYDOWN, VK_ESCAPE, 1, 0, { 0, 0 } };
        if (!AfxGetApp()->PreTranslateMessage(&escape))
            ::DispatchMessageW(&escape);
        window.SendMessage(WM_COMMAND, IDCANCEL, 0);
        PumpFor(50);
        CHECK(answerer.Count() == 0);
        CHECK(CompareWindowDriver::s_seen == nullptr);
    }
    CHECK(::IsWindow(window.m_hWnd));
    CHECK(::IsWindowVisible(window.m_hWnd));
}

TEST_CASE("keys in a directory list inside the window move its selection, never to the root")
{
    TempDirectory source, master;
    std::string first = source.Path() + "\\first", second = source.Path() + "\\second";
    REQUIRE(::CreateDirectoryA(first.c_str(), nullptr));
    REQUIRE(::CreateDirectoryA(second.c_str(), nullptr));
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    DirectoryListBox& list = fixture.window.sourceDirectories;
    int current = list.LevelCount() - 1;
    REQUIRE(list.GetCurSel() == current);
    ::SetFocus(list.m_hWnd);

    // The dialog answers for the list: a key it does not use must leave the
    // list's own handling alone instead of jumping to the root item.
    ::SendMessageA(list.m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
    CHECK(list.GetCurSel() == current + 1);
    ::SendMessageA(list.m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
    CHECK(list.GetCurSel() == current + 2);
    ::SendMessageA(list.m_hWnd, WM_KEYDOWN, VK_UP, 0);
    CHECK(list.GetCurSel() == current + 1);
    ::SendMessageA(list.m_hWnd, WM_KEYDOWN, VK_F5, 0);
    CHECK(list.GetCurSel() == current + 1);
    // Moving the selection does not open anything.
    CHECK(fixture.window.CurrentDirectory(SOURCE_SIDE) == source.Path());
    // The space bar opens the selected item; its character must not then move
    // the selection away from the directory just opened.
    ::SendMessageA(list.m_hWnd, WM_KEYDOWN, VK_SPACE, 0);
    ::SendMessageA(list.m_hWnd, WM_CHAR, ' ', 0);
    CHECK(fixture.window.CurrentDirectory(SOURCE_SIDE) == first);
    CHECK(list.GetCurSel() == list.LevelCount() - 1);
    CHECK(std::string(list.GetText(list.GetCurSel()).c_str()) == "first");
    ::RemoveDirectoryA(first.c_str());
    ::RemoveDirectoryA(second.c_str());
}

namespace {

// Reads the items of the pop-up menu this thread shows, then closes it.
struct PopupReader {
    inline static std::vector<std::string> items;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND popup = ::FindWindowA("#32768", nullptr);
        if (!popup || !::IsWindowVisible(popup))
            return;
        HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
        items.clear();
        for (int index = 0; menu && index < ::GetMenuItemCount(menu); ++index) {
            char text[64] = "";
            ::GetMenuStringA(menu, static_cast<UINT>(index), text, sizeof text, MF_BYPOSITION);
            items.push_back(text);
        }
        ::EndMenu();
    }
};

} // namespace

TEST_CASE("the right button on the window's surface opens its menu")
{
    TempDirectory source, master;
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    PopupReader::items.clear();
    UINT_PTR timer = ::SetTimer(nullptr, 0, 30, PopupReader::Tick);
    fixture.window.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(4, 4));
    ::KillTimer(nullptr, timer);
    CHECK(PopupReader::items == std::vector<std::string>{ "&About...", "&Compare...", "Include &Subdirectories",
                                                          "&Link Directories", "&Preferences...", "&Help Topics" });
    CHECK(::IsWindowVisible(fixture.window.m_hWnd));
}

TEST_CASE("closing takes the edits back and stores the placement and the Master list's column widths")
{
    TempDirectory source, master, other;
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    DirectoryWindow& window = fixture.window;
    window.masterFiles.SendMessage(LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(123, 0));
    window.SetDlgItemText(IDC_MASTER_DIRECTORY, other.Path());
    RECT outer;
    ::GetWindowRect(window.m_hWnd, &outer);
    window.SendMessage(WM_CLOSE);
    CHECK_FALSE(::IsWindow(window.m_hWnd));
    CHECK(window.masterDirectory == other.Path());
    CHECK(window.sourceDirectory == source.Path());
    CHECK(ReadSetting("Position", "NameWidth").AsDword() == 123);
    CHECK(ReadSetting("Position", "dcx").AsDword() == static_cast<DWORD>(outer.right - outer.left));
    CHECK(ReadSetting("Position", "dcy").AsDword() == static_cast<DWORD>(outer.bottom - outer.top));
    CHECK(ReadSetting("Position", "TimeWidth").exists);

    // The next window takes the widths for both lists and its stored place.
    DWORD x = 40, y = 30;
    WriteRawSetting("Position", "dx", REG_DWORD, &x, sizeof x);
    WriteRawSetting("Position", "dy", REG_DWORD, &y, sizeof y);
    DirectoryWindow next;
    next.sourceDirectory = source.Path();
    next.masterDirectory = master.Path();
    REQUIRE(next.Create(IDD_DIRECTORY_WINDOW));
    CHECK(next.sourceFiles.ColumnWidth(0) == 123);
    CHECK(next.masterFiles.ColumnWidth(0) == 123);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    ::GetWindowPlacement(next.m_hWnd, &placement);
    CHECK(placement.rcNormalPosition.left == 40);
    CHECK(placement.rcNormalPosition.top == 30);
    CHECK(placement.rcNormalPosition.right - placement.rcNormalPosition.left == outer.right - outer.left);
    ::DestroyWindow(next.m_hWnd);
    AfxGetApp()->m_pMainWnd = nullptr;
}

TEST_CASE("a stored placement with a zero is not restored")
{
    TempDirectory source, master;
    DirectoryWindowFixture fixture;
    DWORD zero = 0, some = 300;
    WriteRawSetting("Position", "dx", REG_DWORD, &zero, sizeof zero);
    WriteRawSetting("Position", "dy", REG_DWORD, &some, sizeof some);
    WriteRawSetting("Position", "dcx", REG_DWORD, &some, sizeof some);
    WriteRawSetting("Position", "dcy", REG_DWORD, &some, sizeof some);
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    RECT outer;
    ::GetWindowRect(fixture.window.m_hWnd, &outer);
    CHECK(outer.right - outer.left == fixture.window.minimumWidth);
    CHECK(outer.left != 0);
}

// Once the scans are done, measures the process's work over 600 ms of quiet
// and then closes the window.
struct QuietMeter {
    inline static DirectoryWindow* running = nullptr;
    inline static FILETIME created, exited, kernelStart, userStart, kernelEnd, userEnd;
    inline static DWORD firstTick = 0;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (!running || !running->m_hWnd || running->ScannedDirectory(MASTER_SIDE).empty())
            return;
        if (!firstTick) {
            firstTick = ::GetTickCount();
            ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernelStart, &userStart);
            return;
        }
        if (::GetTickCount() - firstTick < 600)
            return;
        ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernelEnd, &userEnd);
        running->PostMessage(WM_CLOSE);
        running = nullptr;
    }
};

TEST_CASE("the directory window's own loop rests when nothing happens")
{
    TempDirectory source, master;
    source.Write("a.txt", "1");
    master.Write("a.txt", "22");
    CleanSettings clean;
    DirectoryWindow window;
    window.sourceDirectory = source.Path();
    window.masterDirectory = master.Path();
    QuietMeter::running = &window;
    QuietMeter::firstTick = 0;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 50, QuietMeter::Tick);
    INT_PTR result = window.DoModal();
    ::KillTimer(nullptr, timer);
    AfxGetApp()->m_pMainWnd = nullptr;
    CHECK(result == 2);
    REQUIRE(QuietMeter::firstTick != 0);
    auto ticks = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    ULONGLONG busyMs = (ticks(QuietMeter::userEnd) - ticks(QuietMeter::userStart) + ticks(QuietMeter::kernelEnd) -
                        ticks(QuietMeter::kernelStart)) /
                       10000;
    CHECK(busyMs < 80); // a polling loop costs well over that
}
