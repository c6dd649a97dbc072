// The file lists' right-button gesture and its menus, and the commands they
// run: comparing two files of any names, copying, deleting to the Recycle
// Bin in one shell operation, renaming in place.
#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "directory_window_fixture.h"
#include "file_commands_driver.h"
#include "help_recorder.h"
#include "common/shared_resources.h"

namespace {

// Rows: 0 a.txt | a.txt, 1 b.txt | -, 2 c.txt | -, 3 - | d.txt.
struct FourRows {
    FourRows()
    {
        source.Write("a.txt", "same");
        source.Write("b.txt", "bee");
        source.Write("c.txt", "sea");
        master.Write("a.txt", "same");
        master.Write("d.txt", "dee");
    }
    bool Open() { return fixture.Open(source.Path(), master.Path()); }
    FileListView& Source() { return fixture.window.sourceFiles; }
    FileListView& Master() { return fixture.window.masterFiles; }
    DirectoryWindow& Window() { return fixture.window; }
    std::string SourceFile(const std::string& name) const { return source.Path() + "\\" + name; }
    std::string MasterFile(const std::string& name) const { return master.Path() + "\\" + name; }

    TempDirectory source;
    TempDirectory master;
    DirectoryWindowFixture fixture;
};

bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The name a directory entry has on disk, case as stored.
std::string NameOnDisk(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return "";
    ::FindClose(search);
    return found.cFileName;
}

int RowNamed(const FileListView& list, const std::string& displayName)
{
    for (int row = 0; row < list.RowCount(); ++row) {
        const FileEntry* entry = list.GetEntry(row);
        if (entry && entry->DisplayName() == displayName)
            return row;
    }
    return -1;
}

} // namespace

TEST_CASE("file commands: the right-button gesture opens the menu its zone calls for, enabled as the files allow")
{
    FourRows rows;
    REQUIRE(rows.Open());
    FileListView& source = rows.Source();
    FileListView& master = rows.Master();
    REQUIRE(source.RowCount() == 4);
    MenuScript menu;

    SUBCASE("one file facing a file: the Context menu, everything enabled, Compare the default")
    {
        RightClick(source, 0);
        CHECK(menu.Count() == 1);
        CHECK(menu.Seen().items == 10);
        CHECK(menu.Seen().compare);
        CHECK(menu.Seen().rename);
        CHECK(menu.Seen().copy);
        CHECK(menu.Seen().remove);
        CHECK(menu.Seen().defaultItem == ID_FILE_LIST_COMPARE);
        CHECK(menu.Seen().owner == source.m_hWnd);
        // The default handling selected the row that was clicked.
        CHECK(source.GetSelectedRows() == std::vector<int>{ 0 });
        CHECK(source.commands.CommandDirectory == rows.Window().CurrentDirectory(SOURCE_SIDE));
    }
    SUBCASE("one file facing an empty row: Compare greyed, Rename enabled")
    {
        RightClick(source, 1);
        CHECK(menu.Count() == 1);
        CHECK_FALSE(menu.Seen().compare);
        CHECK(menu.Seen().rename);
    }
    SUBCASE("three files: Compare and Rename greyed, Copy and Delete enabled")
    {
        SelectRows(source, { 0, 1, 2 });
        RightClick(source, 1);
        CHECK(menu.Count() == 1);
        CHECK_FALSE(menu.Seen().compare);
        CHECK_FALSE(menu.Seen().rename);
        CHECK(menu.Seen().copy);
        CHECK(menu.Seen().remove);
        CHECK(source.DragSet == std::vector<int>{ 0, 1, 2 });
    }
    SUBCASE("a selection of empty rows only: no menu")
    {
        RightClick(source, 3);
        CHECK(source.GetSelectedRows() == std::vector<int>{ 3 });
        CHECK(menu.Count() == 0);
        CHECK(source.DragSet.empty());
    }
    SUBCASE("a move within the drag threshold still opens the Context menu")
    {
        POINT start = RowPoint(source, 0);
        RightDrag(source, start, { { start.x + 1, start.y + 1 } });
        CHECK(menu.Count() == 1);
        CHECK(menu.Seen().items == 10);
    }
    SUBCASE("beyond the threshold over its own list or outside both lists: the no-drop cursor and no menu")
    {
        POINT start = RowPoint(source, 0);
        source.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, AsLParam(start));
        CHECK(source.commands.IsDragging());
        POINT own = RowPoint(source, 2);
        source.SendMessage(WM_MOUSEMOVE, MK_RBUTTON, AsLParam(own));
        CHECK(source.commands.Zone() == DragZone::OwnList);
        CHECK(::GetCursor() == g_shared.noDropCursor);
        POINT outside = { start.x, start.y - 400 };
        source.SendMessage(WM_MOUSEMOVE, MK_RBUTTON, AsLParam(outside));
        CHECK(source.commands.Zone() == DragZone::Elsewhere);
        CHECK(::GetCursor() == g_shared.noDropCursor);
        source.SendMessage(WM_RBUTTONUP, 0, AsLParam(outside));
        CHECK_FALSE(source.commands.IsDragging());
        CHECK(::GetCapture() != source.m_hWnd);
        CHECK(menu.Count() == 0);
    }
    SUBCASE("one file dragged onto a file of the other list: the one-file cursor, the Drop menu with Compare")
    {
        POINT start = RowPoint(source, 1);
        POINT target = PointIn(master, RowPoint(master, 3), source.m_hWnd);
        source.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, AsLParam(start));
        source.SendMessage(WM_MOUSEMOVE, MK_RBUTTON, AsLParam(target));
        CHECK(source.commands.Zone() == DragZone::Partner);
        CHECK(::GetCursor() == g_shared.dragOneCursor);
        source.SendMessage(WM_RBUTTONUP, 0, AsLParam(target));
        CHECK(menu.Count() == 1);
        CHECK(menu.Seen().items == 4);
        CHECK(menu.Seen().compare);
        CHECK(menu.Seen().copy);
        CHECK(menu.Seen().defaultItem == ID_FILE_LIST_COMPARE);
        CHECK(source.commands.TargetRow == 3);
    }
    SUBCASE("one file dragged onto an empty row: Compare greyed")
    {
        RightDrag(source, RowPoint(source, 1), { PointIn(master, RowPoint(master, 1), source.m_hWnd) });
        CHECK(menu.Count() == 1);
        CHECK(menu.Seen().items == 4);
        CHECK_FALSE(menu.Seen().compare);
        CHECK(menu.Seen().copy);
    }
    SUBCASE("two files over the other list: the several-files cursor, and no Compare")
    {
        SelectRows(source, { 1, 2 });
        POINT target = PointIn(master, RowPoint(master, 3), source.m_hWnd);
        source.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, AsLParam(RowPoint(source, 1)));
        source.SendMessage(WM_MOUSEMOVE, MK_RBUTTON, AsLParam(target));
        CHECK(::GetCursor() == g_shared.dragManyCursor);
        source.SendMessage(WM_RBUTTONUP, 0, AsLParam(target));
        CHECK(menu.Count() == 1);
        CHECK_FALSE(menu.Seen().compare);
    }
    SUBCASE("a move that arrives without the right button ends the gesture as a release there")
    {
        POINT target = PointIn(master, RowPoint(master, 3), source.m_hWnd);
        source.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, AsLParam(RowPoint(source, 1)));
        source.SendMessage(WM_MOUSEMOVE, 0, AsLParam(target));
        CHECK_FALSE(source.commands.IsDragging());
        CHECK(menu.Count() == 1);
        CHECK(menu.Seen().items == 4);
        // The release that follows is an ordinary one.
        source.SendMessage(WM_RBUTTONUP, 0, AsLParam(target));
        CHECK(menu.Count() == 1);
    }
    SUBCASE("from the Master list onto the Source list")
    {
        RightDrag(master, RowPoint(master, 3), { PointIn(source, RowPoint(source, 2), master.m_hWnd) });
        CHECK(menu.Count() == 1);
        CHECK(menu.Seen().compare);
        CHECK(menu.Seen().owner == master.m_hWnd);
        CHECK(master.commands.TargetRow == 2);
    }
    CHECK(::GetCapture() != source.m_hWnd);
    CHECK(::GetCapture() != master.m_hWnd);
    // Every gesture let go of the window's guard.
    CHECK_FALSE(rows.Window().busy.IsBusy());
}

namespace {

struct RealMenuSeen {
    bool found = false;
    bool compare = true, rename = false, remove = false;
};
RealMenuSeen g_realMenu;

// While the menu runs its own loop: reads its items, then closes it.
void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR, DWORD)
{
    HWND popup = ::FindWindowA("#32768", nullptr);
    if (!popup || !::IsWindowVisible(popup) || g_realMenu.found)
        return;
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
    if (!menu)
        return;
    g_realMenu.found = true;
    g_realMenu.compare = MenuScript::Enabled(menu, ID_FILE_LIST_COMPARE);
    g_realMenu.rename = MenuScript::Enabled(menu, ID_FILE_LIST_RENAME);
    g_realMenu.remove = MenuScript::Enabled(menu, ID_FILE_LIST_DELETE);
    ::EndMenu();
}

} // namespace

TEST_CASE("file commands: the real menu opens with the rules' enabling")
{
    FourRows rows;
    REQUIRE(rows.Open());
    RealMenuSeen& seen = g_realMenu;
    seen = RealMenuSeen();
    UINT_PTR timer = ::SetTimer(nullptr, 0, 50, ReadOpenMenu);
    RightClick(rows.Source(), 1);
    ::KillTimer(nullptr, timer);
    CHECK(seen.found);
    CHECK_FALSE(seen.compare);
    CHECK(seen.rename);
    CHECK(seen.remove);
    CHECK(Exists(rows.SourceFile("b.txt")));
}

TEST_CASE("file commands: Help opens topic 8, Help Topics the contents")
{
    FourRows rows;
    REQUIRE(rows.Open());
    HelpRecorder help;
    {
        MenuScript menu(ID_FILE_LIST_HELP);
        RightClick(rows.Source(), 0);
    }
    {
        MenuScript menu(ID_FILE_LIST_HELP_TOPICS);
        RightClick(rows.Master(), 3);
    }
    REQUIRE(help.Seen().size() == 2);
    CHECK(help.Seen()[0].command == HELP_CONTEXT);
    CHECK(help.Seen()[0].data == 8);
    CHECK(help.Seen()[1].command == HELP_FINDER);
}

TEST_CASE("file commands: Compare pairs the chosen file with the file it was dropped on, whatever their names")
{
    FourRows rows;
    REQUIRE(rows.Open());
    MenuScript menu(ID_FILE_LIST_COMPARE);

    SUBCASE("Source file dropped on a Master file")
    {
        CompareWindowDriver driver;
        RightDrag(rows.Source(), RowPoint(rows.Source(), 1),
                  { PointIn(rows.Master(), RowPoint(rows.Master(), 3), rows.Source().m_hWnd) });
        REQUIRE(CompareWindowDriver::s_seen);
        CHECK(CompareWindowDriver::s_title.find("b.txt : d.txt") != std::string::npos);
        CHECK(::GetFocus() == rows.Source().m_hWnd);
    }
    SUBCASE("Master file dropped on a Source file: still Source first")
    {
        CompareWindowDriver driver;
        RightDrag(rows.Master(), RowPoint(rows.Master(), 3),
                  { PointIn(rows.Source(), RowPoint(rows.Source(), 2), rows.Master().m_hWnd) });
        REQUIRE(CompareWindowDriver::s_seen);
        CHECK(CompareWindowDriver::s_title.find("c.txt : d.txt") != std::string::npos);
    }
    // No mark for a comparison of two names.
    for (int row = 0; row < rows.Source().RowCount(); ++row)
        if (const FileEntry* entry = rows.Source().GetEntry(row))
            CHECK(entry->mark == 0);
}

TEST_CASE("file commands: Delete sends all chosen files to the Recycle Bin in one shell operation")
{
    FourRows rows;
    REQUIRE(rows.Open());
    DirectoryWindow& window = rows.Window();
    SelectRows(rows.Source(), { 1, 2 });

    SUBCASE("confirmed: one question for both files, both gone, the side read again")
    {
        ShellConfirmAnswerer answerer(IDYES);
        MenuScript menu(ID_FILE_LIST_DELETE);
        RightClick(rows.Source(), 1);
        CHECK(answerer.texts.size() == 1);
        CHECK_FALSE(Exists(rows.SourceFile("b.txt")));
        CHECK_FALSE(Exists(rows.SourceFile("c.txt")));
        CHECK(Exists(rows.SourceFile("a.txt")));
        CHECK(PumpUntil([&] { return rows.Source().RowCount() == 2; }));
        CHECK(RowNamed(rows.Source(), "b.txt") < 0);
    }
    SUBCASE("declined: nothing is deleted")
    {
        ShellConfirmAnswerer answerer(IDNO);
        MenuScript menu(ID_FILE_LIST_DELETE);
        RightClick(rows.Source(), 1);
        CHECK(answerer.texts.size() == 1);
        CHECK(Exists(rows.SourceFile("b.txt")));
        CHECK(Exists(rows.SourceFile("c.txt")));
    }
    SUBCASE("a delete the shell completes only in part still reads the side again")
    {
        int scansBefore = window.scanCount[SOURCE_SIDE];
        ShellConfirmAnswerer answerer(IDYES);
        DialogAnswerer errors;
        // One of the two files goes before the command runs: the shell
        // reports an error, and the list must not go on showing that file.
        MenuScript menu(ID_FILE_LIST_DELETE, [&] { ::DeleteFileA(rows.SourceFile("c.txt").c_str()); });
        RightClick(rows.Source(), 1);
        CHECK(PumpUntil([&] { return window.scanCount[SOURCE_SIDE] > scansBefore; }));
        CHECK(RowNamed(rows.Source(), "c.txt") < 0);
        CHECK(RowNamed(rows.Source(), "b.txt") == (Exists(rows.SourceFile("b.txt")) ? 1 : -1));
    }
    SUBCASE("a rescan while the menu is open: the files chosen are deleted, not the rows' new files")
    {
        int scansBefore = window.scanCount[SOURCE_SIDE];
        ShellConfirmAnswerer answerer(IDYES);
        MenuScript menu(ID_FILE_LIST_DELETE, [&] {
            // A rescan asked for now waits for the menu...
            window.busy.RescanDue(SideBit(SOURCE_SIDE));
            CHECK(window.scanCount[SOURCE_SIDE] == scansBefore);
            // ...and one that runs anyway moves the files to other rows.
            rows.source.Write("aa.txt", "new");
            window.RescanSides(SideBit(SOURCE_SIDE));
            REQUIRE(rows.Source().GetEntry(1));
            CHECK(rows.Source().GetEntry(1)->DisplayName() == "aa.txt");
        });
        RightClick(rows.Source(), 1);
        CHECK_FALSE(Exists(rows.SourceFile("b.txt")));
        CHECK_FALSE(Exists(rows.SourceFile("c.txt")));
        CHECK(Exists(rows.SourceFile("aa.txt")));
        CHECK(Exists(rows.SourceFile("a.txt")));
    }
    CHECK_FALSE(window.busy.IsBusy());
}

TEST_CASE("file commands: Rename edits the name on disk in place and renames the file")
{
    FourRows rows;
    rows.source.Write("Upper.TXT", "upper");
    REQUIRE(rows.Open());
    DirectoryWindow& window = rows.Window();
    FileListView& source = rows.Source();

    // Starts the rename of the row and returns the list's edit control.
    auto startRename = [&](const std::string& shown) {
        int row = RowNamed(source, shown);
        REQUIRE(row >= 0);
        MenuScript menu(ID_FILE_LIST_RENAME);
        RightClick(source, row);
        REQUIRE(menu.Count() == 1);
        return reinterpret_cast<HWND>(source.SendMessage(LVM_GETEDITCONTROL));
    };
    auto finishEdit = [&](HWND edit, const std::string& text) {
        ::SetWindowTextA(edit, text.c_str());
        ::SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
        PumpFor(50);
    };

    SUBCASE("with an extension, and the name's case as it is on disk")
    {
        HWND edit = startRename("upper.txt");
        REQUIRE(edit);
        char text[64] = "";
        ::GetWindowTextA(edit, text, sizeof text);
        CHECK(std::string(text) == "Upper.TXT");
        CHECK(source.commands.IsRenaming());
        // Enter goes through the window's own key handling, as in its loop:
        // the edit must get it, not the window's Enter rules.
        ::SetWindowTextA(edit, "Upper.md");
        MSG enter = { edit, WM_KEYDOWN, VK_RETURN, 0, 0, { 0, 0 } };
        if (!window.PreTranslateMessage(&enter))
            ::DispatchMessageW(&enter);
        PumpFor(50);
        CHECK(PumpUntil([&] { return Exists(rows.SourceFile("Upper.md")); }));
        CHECK(NameOnDisk(rows.SourceFile("Upper.md")) == "Upper.md");
        CHECK_FALSE(Exists(rows.SourceFile("Upper.TXT")));
        CHECK(PumpUntil([&] { return RowNamed(source, "upper.md") >= 0; }));
    }
    SUBCASE("to a name without extension, which the file then has no longer")
    {
        HWND edit = startRename("c.txt");
        REQUIRE(edit);
        finishEdit(edit, "cfile");
        CHECK(PumpUntil([&] { return Exists(rows.SourceFile("cfile")); }));
        CHECK_FALSE(Exists(rows.SourceFile("c.txt")));
        CHECK(PumpUntil([&] { return RowNamed(source, "cfile") >= 0; }));
        const FileEntry* entry = source.GetEntry(RowNamed(source, "cfile"));
        REQUIRE(entry);
        CHECK(entry->extension.empty());
    }
    SUBCASE("a name with a directory or drive in it is refused, and nothing moves")
    {
        for (const char* refused : { "sub\\b.txt", "../b.txt", "c:b.txt" }) {
            CAPTURE(refused);
            DialogAnswerer answerer;
            HWND edit = startRename("b.txt");
            REQUIRE(edit);
            finishEdit(edit, refused);
            REQUIRE(PumpUntil([&] { return answerer.Count() == 1; }));
            CHECK(answerer.At(0).caption == "Zelvane Error");
            CHECK(answerer.At(0).text.find("cannot be the new name") != std::string::npos);
            CHECK(Exists(rows.SourceFile("b.txt")));
            CHECK_FALSE(source.commands.IsRenaming());
        }
    }
    SUBCASE("a rename the system refuses is reported with its reason")
    {
        DialogAnswerer answerer;
        HWND edit = startRename("b.txt");
        REQUIRE(edit);
        finishEdit(edit, "a.txt"); // exists already
        REQUIRE(PumpUntil([&] { return answerer.Count() == 1; }));
        const std::string& text = answerer.At(0).text;
        CHECK(text.find("Unable to rename " + rows.SourceFile("b.txt") + " to " + rows.SourceFile("a.txt") + ": ") == 0);
        CHECK(text.size() > text.find(": ") + 3); // the system's reason follows
        CHECK(ReadWholeFile(rows.SourceFile("a.txt")) == "same");
        CHECK(ReadWholeFile(rows.SourceFile("b.txt")) == "bee");
    }
    SUBCASE("Escape cancels; a rescan due meanwhile waits for the edit to end")
    {
        int scansBefore = window.scanCount[SOURCE_SIDE];
        HWND edit = startRename("b.txt");
        REQUIRE(edit);
        window.busy.RescanDue(SideBit(SOURCE_SIDE));
        PumpFor(50);
        CHECK(window.scanCount[SOURCE_SIDE] == scansBefore);
        ::SendMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
        CHECK(PumpUntil([&] { return window.scanCount[SOURCE_SIDE] > scansBefore; }));
        CHECK(Exists(rows.SourceFile("b.txt")));
        CHECK_FALSE(source.commands.IsRenaming());
    }
    SUBCASE("a slow second click never starts an edit of its own")
    {
        NMLVDISPINFOA begin = {};
        begin.hdr.hwndFrom = source.m_hWnd;
        begin.hdr.idFrom = IDC_SOURCE_FILES;
        begin.hdr.code = LVN_BEGINLABELEDITA;
        CHECK(window.SendMessage(WM_NOTIFY, IDC_SOURCE_FILES, reinterpret_cast<LPARAM>(&begin)) == TRUE);
    }
    CHECK_FALSE(window.busy.IsBusy());
}

TEST_CASE("file commands: copying through the buttons or the menu updates both rows in place")
{
    FourRows rows;
    REQUIRE(rows.Open());
    DirectoryWindow& window = rows.Window();
    int scansBefore[2] = { window.scanCount[0], window.scanCount[1] };

    SUBCASE("the button copies a Source file into an empty Master row")
    {
        SelectRows(rows.Source(), { 1 });
        REQUIRE(rows.fixture.Enabled(IDC_COPY_TO_MASTER));
        window.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_COPY_TO_MASTER, BN_CLICKED),
                           reinterpret_cast<LPARAM>(rows.fixture.Item(IDC_COPY_TO_MASTER)));
        CHECK(ReadWholeFile(rows.MasterFile("b.txt")) == "bee");
        const FileEntry* from = rows.Source().GetEntry(1);
        const FileEntry* to = rows.Master().GetEntry(1);
        REQUIRE(from);
        REQUIRE(to);
        CHECK(to->DisplayName() == "b.txt");
        CHECK(to->fileName == "b.txt");
        CHECK(to->size == 3);
        CHECK(from->status == 0);
        CHECK(to->status == 0);
        CHECK(from->mark == 1);
        CHECK(to->mark == 0);
        CHECK(window.scanCount[0] == scansBefore[0]);
        CHECK(window.scanCount[1] == scansBefore[1]);
        // The Master side's entries stay in order for a later pairing.
        window.RescanSides(SideBit(SOURCE_SIDE));
        CHECK(RowNamed(rows.Master(), "b.txt") == RowNamed(rows.Source(), "b.txt"));
    }
    SUBCASE("the menu's Copy from the Master list into an empty Source row")
    {
        MenuScript menu(ID_FILE_LIST_COPY);
        RightClick(rows.Master(), 3);
        CHECK(ReadWholeFile(rows.SourceFile("d.txt")) == "dee");
        const FileEntry* to = rows.Source().GetEntry(3);
        REQUIRE(to);
        CHECK(to->DisplayName() == "d.txt");
        CHECK(rows.Master().GetEntry(3)->mark == 1);
        CHECK(rows.Master().GetEntry(3)->status == 0);
        CHECK(window.scanCount[0] == scansBefore[0]);
        CHECK(window.scanCount[1] == scansBefore[1]);
    }
    SUBCASE("the menu's Copy after a rescan moved the rows: the file chosen, its name as on disk")
    {
        rows.source.Write("Mixed.TXT", "mixed");
        window.RescanSides(SideBit(SOURCE_SIDE));
        int row = RowNamed(rows.Source(), "mixed.txt");
        REQUIRE(row >= 0);
        MenuScript menu(ID_FILE_LIST_COPY, [&] {
            rows.source.Write("aa.txt", "new");
            window.RescanSides(SideBit(SOURCE_SIDE));
        });
        RightClick(rows.Source(), row);
        CHECK(ReadWholeFile(rows.MasterFile("Mixed.TXT")) == "mixed");
        CHECK(NameOnDisk(rows.MasterFile("Mixed.TXT")) == "Mixed.TXT");
        CHECK_FALSE(Exists(rows.MasterFile("aa.txt")));
        int now = RowNamed(rows.Source(), "mixed.txt");
        REQUIRE(now >= 0);
        REQUIRE(rows.Master().GetEntry(now));
        CHECK(rows.Master().GetEntry(now)->fileName == "Mixed.TXT");
        CHECK(rows.Source().GetEntry(now)->mark == 1);
    }
    CHECK_FALSE(window.busy.IsBusy());
}

TEST_CASE("file commands: with both sides on one directory the copy buttons copy nothing")
{
    TempDirectory directory;
    directory.Write("a.txt", "x");
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(directory.Path(), directory.Path()));
    SelectRows(fixture.window.sourceFiles, { 0 });
    DialogAnswerer answerer;
    fixture.window.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_COPY_TO_MASTER, BN_CLICKED), 0);
    PumpFor(100);
    CHECK(answerer.Count() == 0);
    CHECK(ReadWholeFile(directory.Path() + "\\a.txt") == "x");
    CHECK(fixture.window.sourceFiles.GetEntry(0)->mark == 0);
}
