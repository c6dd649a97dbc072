// The About box (its version text against the program's version resource, its
// owner and place) and the help requests of the windows.
#include <doctest/doctest.h>

#include <windows.h>
#include <commctrl.h>
#include <htmlhelp.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "common/about_dialog.h"
#include "common/help.h"
#include "compare_window_fixture.h"
#include "help_recorder.h"
#include "message_pump.h"
#include "modal_driver.h"
#include "resources/resource.h"

namespace {

std::string ProgramPath()
{
    char path[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, length);
}

// The file version as the system's version library reads it, independently of
// the About box's own scan.
bool SystemFileVersion(DWORD& ms, DWORD& ls)
{
    HMODULE library = ::LoadLibraryA("version.dll");
    if (!library)
        return false;
    using SizeFn = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using InfoFn = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    auto getSize = reinterpret_cast<SizeFn>(reinterpret_cast<void*>(::GetProcAddress(library, "GetFileVersionInfoSizeA")));
    auto getInfo = reinterpret_cast<InfoFn>(reinterpret_cast<void*>(::GetProcAddress(library, "GetFileVersionInfoA")));
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(::GetProcAddress(library, "VerQueryValueA")));
    bool found = false;
    std::string path = ProgramPath();
    DWORD handle = 0;
    DWORD size = getSize && getInfo && query ? getSize(path.c_str(), &handle) : 0;
    if (size) {
        std::vector<char> block(size);
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT fixedSize = 0;
        if (getInfo(path.c_str(), 0, size, block.data()) &&
            query(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) && fixed) {
            ms = fixed->dwFileVersionMS;
            ls = fixed->dwFileVersionLS;
            found = true;
        }
    }
    ::FreeLibrary(library);
    return found;
}

POINT Centre(HWND hwnd)
{
    RECT rect;
    ::GetWindowRect(hwnd, &rect);
    return { (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2 };
}

HWND FindIconControl(HWND dialog)
{
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return child;
    }
    return nullptr;
}

// The built ORVINTA.CHM under the help file name of this test program while
// it lives, so that help takes the HTML Help way.
class HtmlHelpFileBeside {
public:
    HtmlHelpFileBeside()
    {
        std::string program = ProgramPath();
        std::string built = program.substr(0, program.find_last_of('\\') + 1) + "ORVINTA.CHM";
        copied = ::CopyFileA(built.c_str(), HtmlHelpFilePath().c_str(), FALSE) != FALSE;
    }
    ~HtmlHelpFileBeside() { ::DeleteFileA(HtmlHelpFilePath().c_str()); }
    HtmlHelpFileBeside(const HtmlHelpFileBeside&) = delete;
    HtmlHelpFileBeside& operator=(const HtmlHelpFileBeside&) = delete;
    bool copied = false;
};

struct ViewerSearch {
    HWND viewer = nullptr;
    HWND tree = nullptr;
};

BOOL CALLBACK FindTree(HWND child, LPARAM data)
{
    char name[64] = "";
    ::GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, WC_TREEVIEWA) == 0 && ::SendMessageA(child, TVM_GETCOUNT, 0, 0) > 0)
        reinterpret_cast<ViewerSearch*>(data)->tree = child;
    return TRUE;
}

// A visible HTML Help viewer of this process, and a filled contents tree in it.
BOOL CALLBACK FindViewer(HWND window, LPARAM data)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    char name[64] = "";
    ::GetClassNameA(window, name, sizeof name);
    if (process == ::GetCurrentProcessId() && ::IsWindowVisible(window) && lstrcmpA(name, "HH Parent") == 0) {
        auto* search = reinterpret_cast<ViewerSearch*>(data);
        search->viewer = window;
        ::EnumChildWindows(window, FindTree, data);
    }
    return TRUE;
}

ViewerSearch FindHtmlHelpViewer()
{
    ViewerSearch search;
    ::EnumWindows(FindViewer, reinterpret_cast<LPARAM>(&search));
    return search;
}

} // namespace

TEST_CASE("the version text is the file version of the program's own version resource")
{
    DWORD ms = 0, ls = 0;
    REQUIRE(SystemFileVersion(ms, ls));
    char expected[64];
    std::snprintf(expected, sizeof expected, "%lu.%lu.%03lu", static_cast<unsigned long>(HIWORD(ms)),
                  static_cast<unsigned long>(LOWORD(ms)), static_cast<unsigned long>(ls));
    CHECK(ReadVersionText(::GetModuleHandleA(nullptr)) == expected);
}

TEST_CASE("About in a comparison window opens the About box owned by and centred on that window")
{
    CompareWindowFixture fixture("a\r\n", "b\r\n");
    REQUIRE(fixture.created);
    HelpRecorder help;
    // Move the window off-centre, so a box centred on the screen would show.
    ::SetWindowPos(fixture.window.m_hWnd, nullptr, 10, 20, 700, 500, SWP_NOZORDER);

    HWND owner = nullptr;
    POINT boxCentre = {};
    std::string aboutText, okText, helpText;
    bool hasIcon = false;
    size_t helpCallsInBox = 0;
    ModalDriver driver("About Zelvane", [&](HWND dialog) {
        owner = ::GetWindow(dialog, GW_OWNER);
        boxCentre = Centre(dialog);
        aboutText = ItemText(dialog, IDC_ABOUT_TEXT);
        okText = ItemText(dialog, IDOK);
        helpText = ItemText(dialog, IDC_HELP_BUTTON);
        HWND icon = FindIconControl(dialog);
        hasIcon = icon && ::SendMessageA(icon, STM_GETICON, 0, 0) != 0;
        ClickButton(dialog, IDC_HELP_BUTTON);
        helpCallsInBox = help.Seen().size();
        ClickButton(dialog, IDOK);
    });
    fixture.window.SendMessage(WM_COMMAND, ID_APP_ABOUT, 0);
    REQUIRE(driver.Ran());

    CHECK(owner == fixture.window.m_hWnd);
    POINT windowCentre = Centre(fixture.window.m_hWnd);
    CHECK(std::abs(boxCentre.x - windowCentre.x) <= 1);
    CHECK(std::abs(boxCentre.y - windowCentre.y) <= 1);
    CHECK(hasIcon);
    CHECK(okText == "OK");
    CHECK(helpText == "&Help");

    std::string version = ReadVersionText(::GetModuleHandleA(nullptr));
    REQUIRE_FALSE(version.empty());
    CHECK(aboutText.rfind("Zelvane\n", 0) == 0);
    CHECK(aboutText.find("\nVersion " + version + "\n") != std::string::npos);
    CHECK(std::count(aboutText.begin(), aboutText.end(), '\n') == 3);

    REQUIRE(helpCallsInBox == 1);
    const RecordedHelpCall& call = help.Seen()[0];
    CHECK(call.owner == fixture.window.m_hWnd);
    CHECK(call.file == HelpFilePathFor(ProgramPath()));
    CHECK(call.command == HELP_CONTEXT);
    CHECK(call.data == 3);
    // The box is gone and the window works again.
    CHECK(::IsWindowEnabled(fixture.window.m_hWnd));
}

TEST_CASE("help requests name the help file beside the program and the main window of the moment")
{
    CHECK(HelpFilePathFor("C:\\Tools\\ORVINTA.EXE") == "C:\\Tools\\ORVINTA.HLP");
    CHECK(HelpFilePathFor("C:\\my.tools\\orvinta") == "C:\\my.tools\\orvinta.HLP");
    CHECK(HelpFilePathFor("C:\\a\\orvinta.x.exe") == "C:\\a\\orvinta.x.HLP");

    CompareWindowFixture fixture("a\r\n", "b\r\n");
    REQUIRE(fixture.created);
    HelpRecorder help;
    fixture.window.SendMessage(WM_COMMAND, ID_HELP_TOPICS, 0);
    ShowHelpTopic(HELP_TOPIC_DIRECTORY_WINDOW);
    REQUIRE(help.Seen().size() == 2);
    CHECK(help.Seen()[0].command == HELP_FINDER);
    CHECK(help.Seen()[0].data == 0);
    CHECK(help.Seen()[1].command == HELP_CONTEXT);
    CHECK(help.Seen()[1].data == 7);
    for (const RecordedHelpCall& call : help.Seen()) {
        CHECK(call.owner == fixture.window.m_hWnd);
        CHECK(call.file == HelpFilePath());
    }

    // The main window that asked for help lets it go when it is destroyed.
    HWND window = fixture.window.m_hWnd;
    fixture.window.DestroyWindow();
    REQUIRE(help.Seen().size() == 3);
    CHECK(help.Seen()[2].command == HELP_QUIT);
    CHECK(help.Seen()[2].owner == window);
}

TEST_CASE("with ORVINTA.CHM beside the program every help request goes to HTML Help, and without it to WinHelp")
{
    CompareWindowFixture fixture("a\r\n", "b\r\n");
    REQUIRE(fixture.created);
    HelpRecorder help;
    const struct {
        unsigned topic;
        const char* page;
    } pages[] = { { 3, "about.html" }, { 4, "comparefiles.html" }, { 5, "prefs.html" },
                  { 6, "filetype.html" }, { 7, "dirwin.html" }, { 8, "filelist.html" } };
    {
        HtmlHelpFileBeside chm;
        REQUIRE(chm.copied);
        for (const auto& row : pages)
            ShowHelpTopic(row.topic);
        fixture.window.SendMessage(WM_COMMAND, ID_HELP_TOPICS, 0);
        REQUIRE(help.Seen().size() == 7);
        for (size_t i = 0; i < 6; ++i) {
            const RecordedHelpCall& call = help.Seen()[i];
            INFO("context " << pages[i].topic);
            CHECK(call.htmlHelp);
            CHECK(call.owner == fixture.window.m_hWnd);
            CHECK(call.command == HH_DISPLAY_TOPIC);
            CHECK(call.file == HtmlHelpFilePath() + "::/" + pages[i].page);
        }
        CHECK(help.Seen()[6].htmlHelp);
        CHECK(help.Seen()[6].command == HH_DISPLAY_TOC);
        CHECK(help.Seen()[6].file == HtmlHelpFilePath());
    }
    // ORVINTA.CHM gone (Windows 95 and NT 4 installations): WinHelp on ORVINTA.HLP.
    ShowHelpTopic(HELP_TOPIC_FILE_TYPE);
    REQUIRE(help.Seen().size() == 8);
    CHECK_FALSE(help.Seen()[7].htmlHelp);
    CHECK(help.Seen()[7].command == HELP_CONTEXT);
    CHECK(help.Seen()[7].data == 6);
    CHECK(help.Seen()[7].file == HelpFilePath());

    // HTML Help was shown: the window that closes lets that go, not WinHelp.
    fixture.window.DestroyWindow();
    REQUIRE(help.Seen().size() == 9);
    CHECK(help.Seen()[8].htmlHelp);
    CHECK(help.Seen()[8].command == HH_CLOSE_ALL);
}

TEST_CASE("Help Topics opens the HTML Help viewer on ORVINTA.CHM with its contents, and closing the window closes it")
{
    HtmlHelpFileBeside chm;
    REQUIRE(chm.copied);
    CompareWindowFixture fixture("a\r\n", "b\r\n");
    REQUIRE(fixture.created);
    REQUIRE_FALSE(FindHtmlHelpViewer().viewer);

    fixture.window.SendMessage(WM_COMMAND, ID_HELP_TOPICS, 0);
    ViewerSearch shown;
    CHECK(PumpUntil([&] { return (shown = FindHtmlHelpViewer()).tree != nullptr; }, 60000));
    REQUIRE(shown.viewer);
    char title[256] = "";
    ::GetWindowTextA(shown.viewer, title, sizeof title);
    CHECK(std::string(title) == "Zelvane Help");

    fixture.window.DestroyWindow();
    CHECK(PumpUntil([] { return FindHtmlHelpViewer().viewer == nullptr; }, 10000));
}
