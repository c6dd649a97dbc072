// The directory window on whole trees: the mode and its setting, opening,
// copying and watching at depth, and the directory side's mends (one
// notion of the directory the rows come from, normalised directories, a
// copy into an empty row that keeps the side's array in order).
#include <doctest/doctest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "common/process_values.h"
#include "compare_window/compare_window.h"
#include "directory/copy/copy_between_sides.h"
#include "directory_window_fixture.h"

namespace {

// Writes a file below the directory, making its folders.
void WriteBelow(const TempDirectory& directory, const std::string& relative, const std::string& content)
{
    for (size_t at = relative.find('\\'); at != std::string::npos; at = relative.find('\\', at + 1))
        ::CreateDirectoryA((directory.Path() + "\\" + relative.substr(0, at)).c_str(), nullptr);
    directory.Write(relative, content);
}

std::vector<std::string> Rows(DirectoryWindowFixture& fixture, FileListView& list)
{
    std::vector<std::string> rows;
    for (int row = 0; row < list.RowCount(); ++row)
        rows.push_back(fixture.RowName(list, row));
    return rows;
}

int RowOf(DirectoryWindowFixture& fixture, FileListView& list, const std::string& name)
{
    for (int row = 0; row < list.RowCount(); ++row)
        if (fixture.RowName(list, row) == name)
            return row;
    return -1;
}

// Turns tree mode on through its command and waits for both sides' rescans.
bool TreeModeOn(DirectoryWindowFixture& fixture)
{
    int scans = fixture.window.scanCount[SOURCE_SIDE];
    fixture.window.SendMessage(WM_COMMAND, ID_DIRECTORY_INCLUDE_SUBDIRECTORIES, 0);
    return fixture.window.includeSubdirectories &&
           PumpUntil([&] { return fixture.window.scanCount[SOURCE_SIDE] > scans && fixture.window.busy.Pending() == 0; });
}

class MethodSetTo {
public:
    explicit MethodSetTo(int method) : m_saved(g_values.howCompare) { g_values.howCompare = method; }
    ~MethodSetTo() { g_values.howCompare = m_saved; }

private:
    int m_saved;
};

} // namespace

TEST_CASE("tree mode: the command lists both trees by relative path, depth first, and is remembered")
{
    TempDirectory source, master;
    WriteBelow(source, "top.c", "1");
    WriteBelow(source, "lib\\vtls\\open.c", "1");
    WriteBelow(source, "lib.old\\notes", "1");
    WriteBelow(master, "lib\\vtls\\open.c", "22");
    WriteBelow(master, "lib\\a.c", "1");
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    CHECK(Rows(fixture, fixture.window.sourceFiles) == std::vector<std::string>{ "top.c" });
    REQUIRE(TreeModeOn(fixture));
    CHECK(ReadSetting("Preferences", "IncludeSubdirectories").AsDword() == 1u);
    CHECK(Rows(fixture, fixture.window.sourceFiles) ==
          std::vector<std::string>{ "top.c", "", "lib\\vtls\\open.c", "lib.old\\notes" });
    CHECK(Rows(fixture, fixture.window.masterFiles) ==
          std::vector<std::string>{ "", "lib\\a.c", "lib\\vtls\\open.c", "" });
    CHECK(fixture.window.sourceFiles.GetEntry(3)->extension.empty());
    CHECK(fixture.window.sourceFiles.GetEntry(2)->status == 1);
    HMENU system = ::GetSystemMenu(fixture.window.m_hWnd, FALSE);
    CHECK((::GetMenuState(system, ID_DIRECTORY_INCLUDE_SUBDIRECTORIES, MF_BYCOMMAND) & MF_CHECKED) != 0);

    fixture.window.SendMessage(WM_COMMAND, ID_DIRECTORY_INCLUDE_SUBDIRECTORIES, 0);
    REQUIRE(fixture.WaitForScans());
    PumpFor(700);
    CHECK(ReadSetting("Preferences", "IncludeSubdirectories").AsDword() == 0u);
    CHECK(Rows(fixture, fixture.window.sourceFiles) == std::vector<std::string>{ "top.c" });
}

TEST_CASE("tree mode: a double click on a file two levels down opens that pair")
{
    TempDirectory source, master;
    WriteBelow(source, "a\\b\\deep.txt", "one\n");
    WriteBelow(master, "a\\b\\deep.txt", "two\n");
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    REQUIRE(TreeModeOn(fixture));
    int row = RowOf(fixture, fixture.window.sourceFiles, "a\\b\\deep.txt");
    REQUIRE(row >= 0);
    fixture.SelectRow(fixture.window.sourceFiles, row);
    std::string sourcePath, masterPath;
    CompareWindowDriver driver([&](HWND frame) {
        auto* window = static_cast<CompareWindow*>(reinterpret_cast<CWnd*>(::GetWindowLongPtrA(frame, GWLP_USERDATA)));
        sourcePath = window->sourcePath;
        masterPath = window->masterPath;
        return true;
    });
    fixture.window.CompareSelectedRow(fixture.window.sourceFiles);
    CHECK(CompareWindowDriver::s_title == "Zelvane - a\\b\\deep.txt");
    CHECK(sourcePath == source.Path() + "\\a\\b\\deep.txt");
    CHECK(masterPath == master.Path() + "\\a\\b\\deep.txt");
}

TEST_CASE("tree mode: a copy into a missing folder creates it; one that cannot be made is reported")
{
    TempDirectory source, master;
    WriteBelow(source, "new\\inner\\x.txt", "x");
    WriteBelow(source, "blocked\\y.txt", "y");
    master.Write("blocked", "a file where the folder would go");
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    REQUIRE(TreeModeOn(fixture));
    DialogAnswerer answerer({ IDOK });
    CopyBetweenSides(fixture.window, SOURCE_SIDE, { "new\\inner\\x.txt", "blocked\\y.txt" });
    CHECK(ReadWholeFile(master.Path() + "\\new\\inner\\x.txt") == "x");
    std::vector<std::string> errors;
    for (size_t i = 0; i < answerer.Count(); ++i)
        if (answerer.At(i).caption == "Zelvane Error")
            errors.push_back(answerer.At(i).text);
    REQUIRE(errors.size() == 1);
    CHECK(errors[0].find("Unable to create the folder " + master.Path() + "\\blocked") == 0);
    int blocked = RowOf(fixture, fixture.window.sourceFiles, "blocked\\y.txt");
    REQUIRE(blocked >= 0);
    CHECK(fixture.window.masterFiles.GetEntry(blocked) == nullptr);
    CHECK(fixture.window.sourceFiles.GetEntry(blocked)->status == 1);
}

TEST_CASE("a copy into empty partner rows leaves the side's files in order for the next pairing")
{
    TempDirectory source, master;
    for (const char* name : { "a.txt", "b.txt", "c.txt", "d.txt" })
        source.Write(name, name);
    master.Write("a.txt", "a.txt");
    master.Write("d.txt", "d.txt");
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    REQUIRE(fixture.window.sourceFiles.RowCount() == 4);
    CopyBetweenSides(fixture.window, SOURCE_SIDE, { "c.txt", "b.txt" });
    fixture.window.PairEntries();
    CHECK(Rows(fixture, fixture.window.masterFiles) ==
          std::vector<std::string>{ "a.txt", "b.txt", "c.txt", "d.txt" });
}

TEST_CASE("the rows' own directory serves every command while a switch's rescan is still due")
{
    MethodSetTo contents(1);
    TempDirectory source, other, master;
    source.Write("x.txt", "same");
    other.Write("x.txt", "different");
    master.Write("x.txt", "same");
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    BusyGuard::Hold hold(fixture.window.busy);
    fixture.window.sourceDirectories.SetDirectory(other.Path());
    PumpFor(700); // the rescan falls due and waits for the hold
    fixture.window.PairEntries();
    REQUIRE(fixture.window.sourceFiles.RowCount() == 1);
    REQUIRE(fixture.WaitForReading());
    CHECK(fixture.window.sourceFiles.GetEntry(0)->status == 0);
}

TEST_CASE("two spellings of one directory are the same directory for the copy buttons")
{
    TempDirectory shared;
    shared.Write("a.txt", "a");
    ::CreateDirectoryA((shared.Path() + "\\sub").c_str(), nullptr);
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(shared.Path() + "\\sub\\..", shared.Path()));
    CHECK(fixture.window.SidesAreSameDirectory());
    fixture.SelectRow(fixture.window.sourceFiles, 0);
    CHECK_FALSE(fixture.Enabled(IDC_COPY_TO_MASTER));
}

TEST_CASE("tree mode: a change in a subfolder rescans that side once")
{
    struct MonitoringOn {
        bool saved = g_values.monitorChanges;
        MonitoringOn() { g_values.monitorChanges = true; }
        ~MonitoringOn() { g_values.monitorChanges = saved; }
    } monitoring;
    TempDirectory source, master;
    WriteBelow(source, "a\\b\\deep.txt", "1");
    WriteBelow(master, "a\\b\\deep.txt", "1");
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    REQUIRE(TreeModeOn(fixture));
    DirectoryWindow& window = fixture.window;
    REQUIRE(PumpUntil([&] {
        return window.monitors[SOURCE_SIDE].monitor.IsArmed() && window.monitors[SOURCE_SIDE].monitor.IsWatching();
    }));
    PumpFor(700);
    struct Change {
        const char* label;
        std::function<void()> make;
    };
    const Change changes[] = {
        { "a file written two levels down", [&] { source.Write("a\\b\\deep.txt", "changed"); } },
        { "a folder made below", [&] { ::CreateDirectoryA((source.Path() + "\\a\\b\\new").c_str(), nullptr); } },
        { "a file in a new folder", [&] { source.Write("a\\b\\new\\n.txt", "n"); } },
    };
    for (const Change& change : changes) {
        CAPTURE(change.label);
        const int scans = window.scanCount[SOURCE_SIDE];
        const int masterScans = window.scanCount[MASTER_SIDE];
        change.make();
        CHECK(PumpUntil([&] { return window.scanCount[SOURCE_SIDE] > scans; }, 10000));
        PumpFor(1200);
        CHECK(window.scanCount[SOURCE_SIDE] == scans + 1);
        CHECK(window.scanCount[MASTER_SIDE] == masterScans);
    }
    CHECK(RowOf(fixture, window.sourceFiles, "a\\b\\new\\n.txt") >= 0);
}

TEST_CASE("linked directories: opening a folder or going up on one side follows on the other")
{
    TempDirectory source, master;
    WriteBelow(source, "lib\\a.c", "1");
    WriteBelow(source, "charts\\c.txt", "1");
    WriteBelow(master, "lib\\a.c", "1");
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    DirectoryWindow& window = fixture.window;
    auto open = [&](DirectoryListBox& list, const std::string& path) {
        for (int index = 0; index < list.GetCount(); ++index)
            if (lstrcmpiA(list.ItemPath(index).c_str(), path.c_str()) == 0) {
                list.SetCurSel(index);
                list.OpenSelectedDirectory();
                return true;
            }
        return false;
    };
    struct Step {
        const char* label;
        Side side;
        std::string open;
        std::string sourceAfter;
        std::string masterAfter;
    };
    const std::string s = source.Path(), m = master.Path();
    const Step steps[] = {
        { "a folder both sides have", SOURCE_SIDE, s + "\\lib", s + "\\lib", m + "\\lib" },
        { "up again", MASTER_SIDE, m, s, m },
        { "a folder the other side lacks", SOURCE_SIDE, s + "\\charts", s + "\\charts", m },
        { "out of step: the other side stays", SOURCE_SIDE, s, s, m },
        { "in step again: following resumes", MASTER_SIDE, m + "\\lib", s + "\\lib", m + "\\lib" },
    };
    for (const Step& step : steps) {
        CAPTURE(step.label);
        REQUIRE(open(window.Directories(step.side), step.open));
        CHECK(lstrcmpiA(window.CurrentDirectory(SOURCE_SIDE).c_str(), step.sourceAfter.c_str()) == 0);
        CHECK(lstrcmpiA(window.CurrentDirectory(MASTER_SIDE).c_str(), step.masterAfter.c_str()) == 0);
    }
    window.SendMessage(WM_COMMAND, ID_DIRECTORY_LINK_DIRECTORIES, 0);
    CHECK(ReadSetting("Preferences", "LinkDirectories").AsDword() == 0u);
    REQUIRE(open(window.sourceDirectories, s));
    CHECK(lstrcmpiA(window.CurrentDirectory(MASTER_SIDE).c_str(), (m + "\\lib").c_str()) == 0);
}

namespace {

// The state the side's directory list holds for its subfolder of that name.
int FolderStateOf(const DirectoryListBox& list, const std::string& name)
{
    for (int index = list.LevelCount(); index < list.GetCount(); ++index) {
        std::string path = list.ItemPath(index);
        if (path.size() > name.size() && path.compare(path.size() - name.size() - 1, std::string::npos, "\\" + name) == 0)
            return list.FolderState(index);
    }
    return -2;
}

} // namespace

TEST_CASE("which folders differ: read in the background, by the method, in both modes, in the side's colour")
{
    TempDirectory source, master;
    WriteBelow(source, "same\\deep\\a.txt", "alike");
    WriteBelow(master, "Same\\deep\\a.txt", "alike");
    WriteBelow(source, "edited\\b.txt", "abc");
    WriteBelow(master, "edited\\b.txt", "abd");
    WriteBelow(source, "lonely\\c.txt", "c");
    ::CreateDirectoryA((master.Path() + "\\empty").c_str(), nullptr);
    SameWriteTime(source.Path() + "\\edited\\b.txt", master.Path() + "\\edited\\b.txt");
    SameWriteTime(source.Path() + "\\same\\deep\\a.txt", master.Path() + "\\Same\\deep\\a.txt");
    struct Case {
        int method;
        bool tree;
        int edited; // the other folders never change
    } cases[] = { { 0, false, 0 }, { 1, false, 1 }, { 1, true, 1 } };
    for (const Case& test : cases) {
        CAPTURE(test.method);
        CAPTURE(test.tree);
        MethodSetTo method(test.method);
        DirectoryWindowFixture fixture;
        REQUIRE(fixture.Open(source.Path(), master.Path()));
        if (test.tree)
            REQUIRE((TreeModeOn(fixture) && fixture.WaitForReading()));
        DirectoryListBox& left = fixture.window.sourceDirectories;
        CHECK(FolderStateOf(left, "same") == 0);
        CHECK(FolderStateOf(fixture.window.masterDirectories, "Same") == 0);
        CHECK(FolderStateOf(left, "edited") == test.edited);
        CHECK(FolderStateOf(fixture.window.masterDirectories, "edited") == test.edited);
        CHECK(FolderStateOf(left, "lonely") == 1);
        // An empty folder on one side holds no file that could differ.
        CHECK(FolderStateOf(fixture.window.masterDirectories, "empty") == (test.tree ? -1 : 0));
    }
    // Drawn as the files are: the side's highlight behind a differing folder.
    MethodSetTo contents(1);
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    DirectoryListBox& left = fixture.window.sourceDirectories;
    PumpFor(50);
    for (int index = left.LevelCount(); index < left.GetCount(); ++index) {
        RECT item = {};
        left.SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        bool differs = left.FolderState(index) == 1;
        CHECK((ClientPixel(left.m_hWnd, item.right - 4, (item.top + item.bottom) / 2) == g_values.sourceColor) ==
              differs);
    }
}
