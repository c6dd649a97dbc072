// The directory chooser of one side: the directory list box (ancestor chain,
// subdirectories, switching, the two refresh timers, its pictures) and the
// drive combo, on real controls under a plain parent window.
#include <doctest/doctest.h>

#include <windows.h>

#include <direct.h>

#include <memory>

#include "common/process_values.h"
#include "common/shared_resources.h"
#include "directory/chooser/directory_list_box.h"
#include "directory/chooser/drive_combo.h"
#include "directory/chooser/transparent_image.h"
#include "test_support.h"

namespace {

struct RescanCounter : DirectoryListBoxEvents {
    int rescans = 0;
    std::string lastDirectory;
    void OnRescanFiles(DirectoryListBox& side) override
    {
        ++rescans;
        lastDirectory = side.CurrentDirectory();
    }
};

struct RecordingWatcher : DirectoryWatcher {
    std::vector<std::string> calls;
    void Watch(const std::string& directory) override { calls.push_back(directory.empty() ? "<stop>" : directory); }
};

// One side's chooser as the directory window holds it: list box, drive combo, edit.
struct ChooserHost {
    ChooserHost()
    {
        RECT rect = { 20, 20, 420, 420 };
        parent.CreateEx(0, nullptr, "chooser", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, rect, nullptr, 0);
        HINSTANCE instance = ::GetModuleHandleA(nullptr);
        HWND listWindow = ::CreateWindowExA(
            WS_EX_CLIENTEDGE, "LISTBOX", "",
            WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY |
                LBS_WANTKEYBOARDINPUT | LBS_NOINTEGRALHEIGHT,
            5, 30, 300, 250, parent.m_hWnd, reinterpret_cast<HMENU>(1001), instance, nullptr);
        HWND comboWindow = ::CreateWindowExA(0, "COMBOBOX", "",
                                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST |
                                                 CBS_OWNERDRAWFIXED,
                                             5, 290, 200, 200, parent.m_hWnd, reinterpret_cast<HMENU>(1003),
                                             instance, nullptr);
        edit = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 5, 5, 300, 20,
                                 parent.m_hWnd, reinterpret_cast<HMENU>(1004), instance, nullptr);
        for (int drive = 0; drive < 26; ++drive) {
            char root[4] = { static_cast<char>('A' + drive), ':', '\\', '\0' };
            driveTypes[drive] = ::GetDriveTypeA(root);
        }
        drives.Bind(comboWindow);
        drives.Fill(driveTypes);
        list.Bind(listWindow, &drives, edit);
        list.SetEvents(&events);
        list.SetWatcher(&watcher);
        ::ShowWindow(parent.m_hWnd, SW_SHOWNORMAL);
        ::UpdateWindow(parent.m_hWnd);
    }

    std::vector<std::string> Items() const
    {
        std::vector<std::string> items;
        for (int i = 0; i < list.GetCount(); ++i)
            items.push_back(list.GetText(i));
        return items;
    }
    std::string EditText() const
    {
        char text[MAX_PATH] = "";
        ::GetWindowTextA(edit, text, sizeof text);
        return text;
    }

    unsigned driveTypes[26] = {};
    CWnd parent;
    DriveCombo drives;
    DirectoryListBox list;
    HWND edit = nullptr;
    RescanCounter events;
    RecordingWatcher watcher;
};

std::string Lower(std::string text)
{
    ::CharLowerA(&text[0]);
    return text;
}

// The last path component of the temporary directory, as the list shows it.
std::string LastComponent(const std::string& path)
{
    return path.substr(path.rfind('\\') + 1);
}

// A temporary tree: root with the subdirectories beta, alpha, Gamma Long Name
// and a file; alpha holds the subdirectory inner.
struct Tree {
    Tree()
    {
        for (const char* name : { "beta", "alpha", "Gamma Long Name", "alpha\\inner" })
            ::CreateDirectoryA((root.Path() + "\\" + name).c_str(), nullptr);
        root.Write("file.txt", "x");
    }
    ~Tree()
    {
        for (const char* name : { "alpha\\inner", "alpha", "beta", "Gamma Long Name", "new one", "alpha\\gone" })
            ::RemoveDirectoryA((root.Path() + "\\" + name).c_str());
    }
    std::string Path(const char* name) const { return root.Path() + "\\" + name; }
    TempDirectory root;
};

struct MonitorFlag {
    explicit MonitorFlag(bool on) : saved(g_values.monitorChanges) { g_values.monitorChanges = on; }
    ~MonitorFlag() { g_values.monitorChanges = saved; }
    bool saved;
};

// The colour of each pixel of a memory bitmap, for drawing one item into it.
struct Canvas {
    Canvas(int width, int height) : width(width), height(height)
    {
        HDC screen = ::GetDC(nullptr);
        dc = ::CreateCompatibleDC(screen);
        bitmap = ::CreateCompatibleBitmap(screen, width, height);
        ::ReleaseDC(nullptr, screen);
        old = ::SelectObject(dc, bitmap);
    }
    ~Canvas()
    {
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    }
    COLORREF At(int x, int y) const { return ::GetPixel(dc, x, y); }
    int width, height;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
};

// The pixels of one image of bitmap 576.
std::vector<COLORREF> StatusImage(int index)
{
    std::vector<COLORREF> pixels;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, static_cast<HBITMAP>(g_statusBitmap));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            pixels.push_back(::GetPixel(dc, 16 * index + x, y));
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return pixels;
}

// Checks that the image was drawn at (left, top) over the background: its
// transparent pixels (the colour of its bottom-left one) show the background.
void CheckImageAt(const Canvas& canvas, int left, int top, int image, COLORREF background)
{
    std::vector<COLORREF> expected = StatusImage(image);
    COLORREF key = expected[15 * 16];
    int wrong = 0, opaque = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            COLORREF want = expected[static_cast<size_t>(y * 16 + x)];
            if (want == key)
                want = background;
            else
                ++opaque;
            if (canvas.At(left + x, top + y) != want)
                ++wrong;
        }
    }
    CAPTURE(image);
    CAPTURE(left);
    CHECK(opaque > 20);
    CHECK(wrong == 0);
}

DRAWITEMSTRUCT DrawRequest(HWND control, HDC dc, int index, int width, UINT state, UINT_PTR data = 0)
{
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_LISTBOX;
    draw.itemID = static_cast<UINT>(index);
    draw.itemAction = ODA_DRAWENTIRE;
    draw.itemState = state;
    draw.hwndItem = control;
    draw.hDC = dc;
    draw.rcItem = { 0, 0, width, 16 };
    draw.itemData = data;
    return draw;
}

} // namespace

TEST_CASE("the directory list shows the ancestor chain, then the subdirectories sorted and cased")
{
    Tree tree;
    ChooserHost host;
    REQUIRE(host.list.m_hWnd);
    host.list.SetDirectory(tree.root.Path());

    const std::string& root = tree.root.Path();
    CHECK(host.list.CurrentDirectory() == root);
    // root is C:\users\...\Temp\zelNNN: one item per component, then the subdirectories.
    int components = 1;
    for (char c : root)
        components += c == '\\';
    REQUIRE(host.list.LevelCount() == components);
    std::vector<std::string> items = host.Items();
    REQUIRE(items.size() == static_cast<size_t>(components) + 3);
    CHECK(items[0] == Lower(root.substr(0, 1)) + ":\\");
    CHECK(host.list.ItemPath(0) == Lower(root.substr(0, 1)) + ":\\");
    CHECK(items[static_cast<size_t>(components) - 1] == LastComponent(root));
    CHECK(host.list.ItemPath(components - 1) == root);
    CHECK(host.list.ItemPath(components - 2) == root.substr(0, root.rfind('\\')));
    // Sorted without regard to case; the long mixed-case name keeps its case.
    CHECK(items[static_cast<size_t>(components)] == "alpha");
    CHECK(items[static_cast<size_t>(components) + 1] == "beta");
    CHECK(items[static_cast<size_t>(components) + 2] == "Gamma Long Name");
    CHECK(host.list.ItemPath(components + 2) == tree.Path("Gamma Long Name"));
    CHECK(host.list.GetCurSel() == components - 1);
    CHECK(host.list.DriveIndex() == Lower(root.substr(0, 1))[0] - 'a');
    // The drive combo follows the path's drive.
    CHECK(host.drives.SelectedDrive() == host.list.DriveIndex());
}

TEST_CASE("switching directory normalises the path and opens selected items")
{
    Tree tree;
    ChooserHost host;
    const std::string& root = tree.root.Path();
    host.list.SetDirectory(root + "\\");
    CHECK(host.list.CurrentDirectory() == root);

    SUBCASE("opening a subdirectory item shows it in the edit and makes it current")
    {
        int alpha = host.list.LevelCount();
        host.list.SetCurSel(alpha);
        host.list.OpenSelectedDirectory();
        CHECK(host.list.CurrentDirectory() == tree.Path("alpha"));
        CHECK(host.EditText() == tree.Path("alpha"));
        CHECK(host.Items().back() == "inner");
        CHECK(host.list.GetCurSel() == host.list.LevelCount() - 1);
    }
    SUBCASE("the space bar in the list opens the selected item, through the parent")
    {
        host.list.SetCurSel(host.list.LevelCount() + 1);
        ::SetFocus(host.list.m_hWnd);
        ::SendMessageA(host.list.m_hWnd, WM_KEYDOWN, VK_SPACE, 0);
        CHECK(host.list.CurrentDirectory() == tree.Path("beta"));
    }
    SUBCASE("opening an ancestor goes up")
    {
        host.list.SetCurSel(host.list.LevelCount() - 2);
        host.list.OpenSelectedDirectory();
        CHECK(host.list.CurrentDirectory() == root.substr(0, root.rfind('\\')));
    }
    SUBCASE("a drive root typed with its backslash is held as letter and colon, its item alone above")
    {
        std::string drive = Lower(root.substr(0, 1));
        host.list.SetDirectory(drive + ":\\");
        CHECK(host.list.CurrentDirectory() == drive + ":");
        CHECK(host.list.LevelCount() == 1);
        CHECK(host.Items()[0] == drive + ":\\");
        CHECK(host.list.GetCurSel() == 0);
        CHECK(host.list.ItemPath(1).rfind(drive + ":\\", 0) == 0);
    }
    SUBCASE("a rooted path without a drive goes on the current drive")
    {
        std::string rooted = root.substr(2); // \users\...\zelNNN
        host.list.SetDirectory(rooted);
        CHECK(host.list.CurrentDirectory() == Lower(root.substr(0, 1)) + ":" + rooted);
    }
    SUBCASE("a relative path is taken from the process's directory")
    {
        char saved[MAX_PATH];
        ::GetCurrentDirectoryA(sizeof saved, saved);
        ::SetCurrentDirectoryA(tree.Path("alpha").c_str());
        host.list.SetDirectory("inner");
        ::SetCurrentDirectoryA(saved);
        CHECK(host.list.CurrentDirectory() == tree.Path("alpha\\inner"));
        CHECK(host.Items()[static_cast<size_t>(host.list.LevelCount()) - 1] == "inner");
    }
    SUBCASE("a directory that does not exist leaves the list as it was")
    {
        std::vector<std::string> before = host.Items();
        host.list.SetDirectory(tree.Path("missing"));
        CHECK(host.list.CurrentDirectory() == root);
        CHECK(host.Items() == before);
    }
    SUBCASE("a UNC path is not put on the current drive")
    {
        host.list.SetDirectory("\\\\nosuchserver\\share\\dir");
        CHECK(host.list.CurrentDirectory() == root);
        host.list.FillDirectoryList("\\\\nosuchserver\\share\\dir");
        CHECK(host.Items()[0] == "\\\\nosuchserver\\share");
        CHECK(host.list.ItemPath(1) == "\\\\nosuchserver\\share\\dir");
        CHECK(host.list.LevelCount() == 2);
    }
    SUBCASE("a drive letter outside a to z changes nothing")
    {
        std::vector<std::string> before = host.Items();
        host.list.FillDirectoryList("1:\\x");
        CHECK(host.list.CurrentDirectory() == root);
        CHECK(host.Items() == before);
    }
}

TEST_CASE("the two timers merge bursts of requests into one refresh each")
{
    Tree tree;
    ChooserHost host;
    const std::string& root = tree.root.Path();

    SUBCASE("a switch and a burst of file changes give one rescan of the new directory")
    {
        host.list.SetDirectory(root);
        for (int i = 0; i < 5; ++i)
            ::PostMessageA(host.list.m_hWnd, WM_DIR_FILES_CHANGED, 0, 0);
        REQUIRE(PumpUntil([&] { return host.events.rescans > 0; }, 10000));
        CHECK(host.events.lastDirectory == root);
        PumpFor(1200);
        CHECK(host.events.rescans == 1);
    }
    SUBCASE("a missing directory is still rescanned, so its list empties")
    {
        host.list.SetDirectory(root);
        REQUIRE(PumpUntil([&] { return host.events.rescans == 1; }, 10000));
        host.list.SetDirectory(tree.Path("missing"));
        REQUIRE(PumpUntil([&] { return host.events.rescans == 2; }, 10000));
        CHECK(host.events.lastDirectory == root);
    }
    SUBCASE("a tree change refreshes the list with new subdirectories, without a rescan")
    {
        host.list.SetDirectory(root);
        REQUIRE(PumpUntil([&] { return host.events.rescans == 1; }, 10000));
        ::CreateDirectoryA(tree.Path("new one").c_str(), nullptr);
        ::PostMessageA(host.list.m_hWnd, WM_DIR_TREE_CHANGED, 0, 0);
        REQUIRE(PumpUntil([&] { return host.Items().size() == static_cast<size_t>(host.list.LevelCount()) + 4; },
                          10000));
        CHECK(host.Items()[static_cast<size_t>(host.list.LevelCount()) + 3] == "new one");
        PumpFor(700);
        CHECK(host.events.rescans == 1);
    }
    SUBCASE("a removed directory gives way to its nearest existing ancestor")
    {
        ::CreateDirectoryA(tree.Path("alpha\\gone").c_str(), nullptr);
        host.list.SetDirectory(tree.Path("alpha\\gone"));
        ::RemoveDirectoryA(tree.Path("alpha\\gone").c_str());
        host.list.RequestDirectoryRefresh();
        REQUIRE(PumpUntil([&] { return host.list.CurrentDirectory() == tree.Path("alpha"); }, 10000));
        CHECK(host.EditText() == tree.Path("alpha"));
        CHECK(host.Items().back() == "inner");
    }
}

TEST_CASE("switching directory stops the watch and, with monitoring on, watches the new directory")
{
    Tree tree;
    ChooserHost host;
    {
        MonitorFlag on(true);
        host.list.SetDirectory(tree.root.Path());
        host.list.SetDirectory(tree.root.Path()); // the same directory: nothing happens
    }
    CHECK(host.watcher.calls == std::vector<std::string>{ "<stop>", tree.root.Path() });
    {
        MonitorFlag off(false);
        host.list.SetDirectory(tree.Path("beta"));
    }
    CHECK(host.watcher.calls.size() == 3);
    CHECK(host.watcher.calls.back() == "<stop>");
}

TEST_CASE("the drive combo lists the drives that exist and switches to a drive's working directory")
{
    ChooserHost host;
    SUBCASE("one item per drive whose type is above DRIVE_NO_ROOT_DIR, in letter order")
    {
        unsigned types[26] = {};
        types[0] = DRIVE_REMOVABLE;
        types[2] = DRIVE_FIXED;
        types[3] = DRIVE_NO_ROOT_DIR;
        types[4] = DRIVE_CDROM;
        types[25] = DRIVE_REMOTE;
        host.drives.Fill(types);
        REQUIRE(host.drives.GetCount() == 4);
        const int expected[] = { 0, 2, 4, 25 };
        for (int i = 0; i < 4; ++i)
            CHECK(host.drives.GetItemData(i) == expected[i]);
        CHECK(host.drives.SelectDrive(4));
        CHECK(host.drives.SelectedDrive() == 4);
        CHECK_FALSE(host.drives.SelectDrive(3));
        CHECK(DriveImageIndex(DRIVE_REMOVABLE) == 3);
        CHECK(DriveImageIndex(DRIVE_FIXED) == 4);
        CHECK(DriveImageIndex(DRIVE_RAMDISK) == 4);
        CHECK(DriveImageIndex(DRIVE_CDROM) == 5);
        CHECK(DriveImageIndex(DRIVE_REMOTE) == 6);
    }
    SUBCASE("choosing a drive makes its working directory current, in lower case")
    {
        char working[MAX_PATH];
        REQUIRE(::_getdcwd(3, working, sizeof working)); // drive C
        REQUIRE(host.drives.SelectDrive(2));
        host.list.DriveSelected();
        std::string expected = Lower(working);
        while (expected.size() > 2 && expected.back() == '\\')
            expected.pop_back();
        CHECK(host.list.DriveIndex() == 2);
        CHECK(Lower(host.EditText()) == Lower(working));
        CHECK(host.list.CurrentDirectory() == expected);
    }
}

TEST_CASE("directory items are drawn with their folder pictures, indented by level, the background showing through")
{
    Tree tree;
    ChooserHost host;
    host.list.SetDirectory(tree.root.Path());
    const int levels = host.list.LevelCount();
    const COLORREF background = RGB(10, 200, 30);
    Canvas canvas(300, 16);
    ::SetBkColor(canvas.dc, background);
    ::SetTextColor(canvas.dc, RGB(0, 0, 0));
    std::vector<COLORREF> stripBefore = StatusImage(2);

    struct Row {
        const char* label;
        int index;
        int indent;
        int image;
    };
    const Row rows[] = {
        { "the root", 0, 0, 0 },
        { "an ancestor", 1, 4, 0 },
        { "the current directory", levels - 1, 4 * (levels - 1), 1 },
        { "a subdirectory", levels, 4 * levels, 2 },
        { "the last subdirectory", levels + 2, 4 * levels, 2 },
    };
    for (const Row& row : rows) {
        CAPTURE(row.label);
        ::SetBkColor(canvas.dc, background);
        host.list.DrawItem(DrawRequest(host.list.m_hWnd, canvas.dc, row.index, 300, 0));
        CheckImageAt(canvas, row.indent, 0, row.image, background);
        // The colours of the device context come back as they were.
        CHECK(::GetBkColor(canvas.dc) == background);
    }
    // Drawing leaves the shared picture as it was.
    CHECK(StatusImage(2) == stripBefore);

    // A selected item is drawn on the highlight colour, text in the highlight text colour.
    host.list.DrawItem(DrawRequest(host.list.m_hWnd, canvas.dc, levels, 300, ODS_SELECTED));
    CheckImageAt(canvas, 4 * levels, 0, 2, ::GetSysColor(COLOR_HIGHLIGHT));
    CHECK(canvas.At(299, 0) == ::GetSysColor(COLOR_HIGHLIGHT));
    bool textPixel = false;
    for (int x = 4 * levels + 20; x < 4 * levels + 40; ++x)
        for (int y = 0; y < 16; ++y)
            textPixel = textPixel || canvas.At(x, y) == ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    CHECK(textPixel);
}

TEST_CASE("the list box on screen is painted by its own drawing, reached through its parent")
{
    Tree tree;
    ChooserHost host;
    host.list.SetDirectory(tree.root.Path());
    CHECK(host.list.SendMessage(LB_GETITEMHEIGHT, 0) == 16);
    ::RedrawWindow(host.list.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpFor(50);
    // The root item's folder: its opaque pixels are on screen at the top left of the list.
    std::vector<COLORREF> image = StatusImage(0);
    COLORREF key = image[15 * 16];
    int matched = 0, opaque = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            COLORREF want = image[static_cast<size_t>(y * 16 + x)];
            if (want == key)
                continue;
            ++opaque;
            matched += ClientPixel(host.list.m_hWnd, x, y) == want;
        }
    }
    CHECK(matched == opaque);
}

TEST_CASE("drive items are drawn with the picture of their drive type and the letter")
{
    ChooserHost host;
    unsigned types[26] = {};
    types[3] = DRIVE_CDROM;
    types[6] = DRIVE_REMOTE;
    host.drives.Fill(types);
    const COLORREF background = RGB(250, 250, 250);
    Canvas canvas(120, 16);
    for (int drive : { 3, 6 }) {
        ::SetBkColor(canvas.dc, background);
        DRAWITEMSTRUCT draw = DrawRequest(host.drives.m_hWnd, canvas.dc, drive == 3 ? 0 : 1, 120, 0,
                                          static_cast<UINT_PTR>(drive));
        draw.CtlType = ODT_COMBOBOX;
        host.drives.DrawItem(draw);
        CheckImageAt(canvas, 0, 0, DriveImageIndex(types[drive]), background);
        int ink = 0;
        for (int x = 20; x < 40; ++x)
            for (int y = 0; y < 16; ++y)
                ink += canvas.At(x, y) != background;
        CAPTURE(drive);
        CHECK(ink > 5);
    }
}
