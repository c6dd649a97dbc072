// The framework layer: message tables, update handlers against accelerators,
// idle processing inside a modal dialog, command-line splitting.
#include <doctest/doctest.h>

#include "framework/command_line_info.h"
#include "framework/dialog.h"
#include "framework/frame_wnd.h"
#include "framework/win_app.h"
#include "resources/resource.h"
#include "test_support.h"

namespace {

constexpr UINT CMD_ALLOWED = 41000;
constexpr UINT CMD_GUARDED = 41001;
constexpr UINT CMD_RANGE_FIRST = 41010;
constexpr UINT CMD_RANGE_LAST = 41019;
constexpr UINT CMD_CONTROL = 41020;
constexpr UINT WM_PROBE = WM_APP + 7;

class ProbeFrame : public CFrameWnd {
public:
    int allowedRuns = 0;
    int guardedRuns = 0;
    UINT lastRangeId = 0;
    bool guardedEnabled = false;
    int probes = 0;
    int selectionChanges = 0;

protected:
    void OnSelectionChange() { ++selectionChanges; }
    void OnAllowed() { ++allowedRuns; }
    void OnGuarded() { ++guardedRuns; }
    void OnUpdateGuarded(CCmdUI* state) { state->Enable(guardedEnabled); }
    void OnRange(UINT id) { lastRangeId = id; }
    LRESULT OnProbe(WPARAM wParam, LPARAM lParam)
    {
        ++probes;
        return static_cast<LRESULT>(wParam + lParam);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ProbeFrame, CFrameWnd)
ON_COMMAND(CMD_ALLOWED, OnAllowed)
ON_COMMAND(CMD_GUARDED, OnGuarded)
ON_UPDATE_COMMAND_UI(CMD_GUARDED, OnUpdateGuarded)
ON_COMMAND_RANGE(CMD_RANGE_FIRST, CMD_RANGE_LAST, OnRange)
ON_MESSAGE(WM_PROBE, OnProbe)
ON_CONTROL(LBN_SELCHANGE, CMD_CONTROL, OnSelectionChange)
END_MESSAGE_MAP()

class IdleCountingDialog : public CDialog {
public:
    IdleCountingDialog() : CDialog(IDD_COMPARE_FILES) {}
    int idleUpdates = 0;
    bool initialised = false;

protected:
    BOOL OnInitDialog() override
    {
        initialised = true;
        return TRUE;
    }
    LRESULT OnIdleUpdate(WPARAM, LPARAM)
    {
        ++idleUpdates;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(IdleCountingDialog, CDialog)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

class Words : public CCommandLineInfo {
public:
    void ParseParam(const char* param, bool flag, bool last) override
    {
        words.push_back(std::string(flag ? "flag:" : "") + param + (last ? "$" : ""));
    }
    std::vector<std::string> words;
};

} // namespace

TEST_CASE("message tables route messages, commands and ranges to their handlers")
{
    ProbeFrame frame;
    frame.m_title = "probe";
    REQUIRE(frame.LoadFrame(IDR_COMPARE_WINDOW, WS_OVERLAPPEDWINDOW));
    CHECK(frame.SendMessage(WM_PROBE, 2, 3) == 5);
    CHECK(frame.probes == 1);

    frame.SendMessage(WM_COMMAND, MAKEWPARAM(CMD_ALLOWED, 0), 0);
    CHECK(frame.allowedRuns == 1);
    frame.SendMessage(WM_COMMAND, MAKEWPARAM(CMD_RANGE_FIRST + 4, 0), 0);
    CHECK(frame.lastRangeId == CMD_RANGE_FIRST + 4);
    CHECK(CWnd::FromHandle(frame.m_hWnd) == &frame);
    frame.DestroyWindow();
    CHECK(frame.m_hWnd == nullptr);
}

TEST_CASE("a disabled command is refused from an accelerator and runs once enabled")
{
    ProbeFrame frame;
    frame.m_title = "probe";
    REQUIRE(frame.LoadFrame(IDR_COMPARE_WINDOW, WS_OVERLAPPEDWINDOW));
    frame.SendMessage(WM_COMMAND, MAKEWPARAM(CMD_GUARDED, 1), 0);
    CHECK(frame.guardedRuns == 0);
    CHECK_FALSE(frame.IsCommandEnabled(CMD_GUARDED));
    frame.guardedEnabled = true;
    frame.SendMessage(WM_COMMAND, MAKEWPARAM(CMD_GUARDED, 1), 0);
    CHECK(frame.guardedRuns == 1);
    CHECK(frame.IsCommandEnabled(CMD_ALLOWED));
    // Without an update handler a command reads as enabled only when something handles it.
    CHECK_FALSE(frame.IsCommandEnabled(41999));
}

TEST_CASE("a control's notification with code 1 is its own, not an accelerator")
{
    ProbeFrame frame;
    frame.m_title = "probe";
    REQUIRE(frame.LoadFrame(IDR_COMPARE_WINDOW, WS_OVERLAPPEDWINDOW));
    // LBN_SELCHANGE and an accelerator share the code 1; only the window tells them apart.
    frame.SendMessage(WM_COMMAND, MAKEWPARAM(CMD_CONTROL, LBN_SELCHANGE), reinterpret_cast<LPARAM>(frame.m_hWnd));
    CHECK(frame.selectionChanges == 1);
    frame.SendMessage(WM_COMMAND, MAKEWPARAM(CMD_ALLOWED, 1), reinterpret_cast<LPARAM>(frame.m_hWnd));
    CHECK(frame.allowedRuns == 0);
    frame.SendMessage(WM_COMMAND, MAKEWPARAM(CMD_ALLOWED, 1), 0);
    CHECK(frame.allowedRuns == 1);
}

TEST_CASE("menu items take their state from the update handlers when the menu opens")
{
    ProbeFrame frame;
    frame.m_title = "probe";
    REQUIRE(frame.LoadFrame(IDR_COMPARE_WINDOW, WS_OVERLAPPEDWINDOW));
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuA(popup, MF_STRING, CMD_ALLOWED, "allowed");
    ::AppendMenuA(popup, MF_STRING, CMD_GUARDED, "guarded");
    ::AppendMenuA(popup, MF_STRING, 41999, "nobody handles this");
    frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    CHECK((::GetMenuState(popup, CMD_ALLOWED, MF_BYCOMMAND) & MF_GRAYED) == 0);
    CHECK((::GetMenuState(popup, CMD_GUARDED, MF_BYCOMMAND) & MF_GRAYED) != 0);
    CHECK((::GetMenuState(popup, 41999, MF_BYCOMMAND) & MF_GRAYED) != 0);
    frame.guardedEnabled = true;
    frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    CHECK((::GetMenuState(popup, CMD_GUARDED, MF_BYCOMMAND) & MF_GRAYED) == 0);
    ::DestroyMenu(popup);
}

namespace {

IdleCountingDialog* g_runningDialog = nullptr;

// Ends the running dialog from inside its loop.
void CALLBACK CancelRunningDialog(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_runningDialog && g_runningDialog->m_hWnd)
        g_runningDialog->PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

} // namespace

TEST_CASE("a modal dialog runs idle processing in its own loop and returns its result")
{
    IdleCountingDialog dialog;
    CWinApp& app = *AfxGetApp();
    app.m_pMainWnd = &dialog;
    // Ends the dialog once it has had time to go idle.
    g_runningDialog = &dialog;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 200, CancelRunningDialog);
    INT_PTR result = dialog.DoModal();
    ::KillTimer(nullptr, timer);
    g_runningDialog = nullptr;
    app.m_pMainWnd = nullptr;
    CHECK(result == IDCANCEL);
    CHECK(dialog.initialised);
    CHECK(dialog.idleUpdates > 0);
    CHECK(dialog.m_hWnd == nullptr);
}

TEST_CASE("the command line splits by the platform's quoting rules")
{
    struct Row {
        std::string line;
        std::vector<std::string> words;
    } rows[] = {
        { "ORVINTA.EXE", {} },
        { "ORVINTA.EXE a b", { "a", "b$" } },
        { "\"C:\\Program Files\\ORVINTA.EXE\" \"C:\\my dir\\a.txt\" b.txt", { "C:\\my dir\\a.txt", "b.txt$" } },
        { "ORVINTA.EXE /x -y z", { "flag:x", "flag:y", "z$" } },
        { "ORVINTA.EXE C:\\new dir C:\\old", { "C:\\new", "dir", "C:\\old$" } },
    };
    for (const Row& row : rows) {
        CAPTURE(row.line);
        Words words;
        CWinApp::ParseCommandLine(row.line.c_str(), words);
        CHECK(words.words == row.words);
    }
}
