// SCREENSHOTS.EXE: opens each of ORVINTA's windows, dialogs and menus on the
// example directories, in this process and through the program's own code,
// and saves a picture of each one as it is on screen (tools/screenshot.sh
// runs it and turns the pictures into docs/pictures/*.png).
//
//   SCREENSHOTS OUTPUT_DIR SOURCE_DIR MASTER_DIR
//
// The directories must be copies: the comparison window merges a difference
// (never saved) and nothing else is written, but pictures never touch the
// repository's examples. With ZEL_PDF_DIR set (tools/with-printer.sh), the
// comparison is also printed to the default printer.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/orvinta_app.h"
#include "app/preferences.h"
#include "app/settings.h"
#include "capture.h"
#include "common/code_pages_win32.h"
#include "common/help.h"
#include "common/shared_resources.h"
#include "compare_window/compare_window.h"
#include "directory/copy/copy_dialogs.h"
#include "directory/copy/copy_progress_dialog.h"
#include "directory/window/directory_window.h"
#include "engine/compare_progress_dialog.h"
#include "engine/gauge.h"
#include "printing/print_progress_dialog.h"
#include "resources/resource.h"
#include "window_watch.h"

OrvintaApp theApp;

namespace {

std::string g_output; // folder of the pictures, with a trailing backslash
int g_failures = 0;

void Save(HWND window, const char* name)
{
    std::string path = g_output + name + ".bmp";
    if (SaveWindow(window, path)) {
        std::printf("picture %s\n", name);
    } else {
        std::printf("FAILED %s: no picture\n", name);
        ++g_failures;
    }
    std::fflush(stdout);
}

void SaveUnion(HWND first, HWND second, const char* name)
{
    RECT a, b, both;
    ::GetWindowRect(first, &a);
    ::GetWindowRect(second, &b);
    ::UnionRect(&both, &a, &b);
    if (SaveScreenRect(both, g_output + name + ".bmp")) {
        std::printf("picture %s\n", name);
    } else {
        std::printf("FAILED %s: no picture\n", name);
        ++g_failures;
    }
    std::fflush(stdout);
}

void Missed(const char* name, const char* what)
{
    std::printf("FAILED %s: %s\n", name, what);
    std::fflush(stdout);
    ++g_failures;
}

std::string Join(const std::string& directory, const char* name)
{
    return directory + "\\" + name;
}

// Start-up as the program does it, without the run mode.
void StartUp()
{
    theApp.m_appName = "ORVINTA";
    theApp.SetRegistryKey(COMPANY_KEY);
    LoadPlatformCodePages();
    ::InitCommonControls();
    ReadPreferences(theApp, g_values);
    Gauge::Register();
    g_shared.version.dwOSVersionInfoSize = sizeof g_shared.version;
    ::GetVersionExA(&g_shared.version);
    ReadMonitorChanges(theApp, g_values, g_shared.version.dwPlatformId);
    for (int drive = 0; drive < 26; ++drive) {
        char root[8];
        ::wsprintfA(root, "%c:\\", 'A' + drive);
        g_values.driveTypes[drive] = ::GetDriveTypeA(root);
    }
    LoadSharedResources();
}

bool Scanned(const DirectoryWindow& window)
{
    return window.busy.Pending() == 0 && !window.CurrentDirectory(SOURCE_SIDE).empty() &&
           window.ScannedDirectory(SOURCE_SIDE) == window.CurrentDirectory(SOURCE_SIDE) &&
           window.ScannedDirectory(MASTER_SIDE) == window.CurrentDirectory(MASTER_SIDE);
}

// Selects and focuses the row of the named file; its row number, or -1.
int SelectFile(FileListView& list, const char* name)
{
    for (int row = 0; row < list.RowCount(); ++row) {
        const FileEntry* entry = list.GetEntry(row);
        if (!entry || lstrcmpiA(entry->fileName.c_str(), name) != 0)
            continue;
        LVITEMA none = {};
        none.stateMask = LVIS_SELECTED;
        list.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        list.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        ::SetFocus(list.m_hWnd);
        PumpFor(50);
        return row;
    }
    return -1;
}

// Saves the dialog once it has painted, then presses the button.
WindowWatch::Action SaveAndPress(const char* name, int button)
{
    return [name, button](HWND dialog) {
        Settle(dialog);
        Save(dialog, name);
        PressButton(dialog, button);
    };
}

// Opens a menu with the given call and saves it over its window, then closes it.
void MenuPicture(DirectoryWindow& window, const char* name, const std::function<void()>& open)
{
    WindowWatch menu(WindowWatch::ClassNamed("#32768"), [&](HWND popup) {
        Settle(window.m_hWnd);
        PumpFor(100);
        SaveUnion(window.m_hWnd, popup, name);
        ::EndMenu();
    });
    open();
    if (!PumpUntil([&] { return menu.Ran(); }, 5000)) {
        Missed(name, "no menu appeared");
        ::ReleaseCapture(); // a gesture left waiting must not hold the mouse for the next steps
    }
    PumpFor(100);
}

// The directory window's own menu (103), opened by the right button on its background.
void DirectoryMenu(DirectoryWindow& window)
{
    // Just below the copy buttons, where the window shows its own background.
    RECT button;
    ::GetWindowRect(window.GetDlgItem(IDC_COPY_TO_MASTER), &button);
    POINT point = { button.left + 24, button.bottom + 6 };
    ::ScreenToClient(window.m_hWnd, &point);
    MenuPicture(window, "directory-menu",
                [&] { ::PostMessageA(window.m_hWnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(point.x, point.y)); });
}

// The file list's menu (108), opened as the user does: a right click on a selected row.
void FileListMenu(DirectoryWindow& window)
{
    if (!::FindResourceA(nullptr, MAKEINTRESOURCEA(108), reinterpret_cast<LPCSTR>(RT_MENU))) {
        std::printf("skipped file-list-menu: this build has no file list menu (108)\n");
        return;
    }
    int row = SelectFile(window.sourceFiles, "greeting.c");
    if (row < 0) {
        Missed("file-list-menu", "no greeting.c among the Source files");
        return;
    }
    RECT item = { LVIR_LABEL, 0, 0, 0 };
    window.sourceFiles.SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    POINT point = { item.left + 20, (item.top + item.bottom) / 2 };
    ::ClientToScreen(window.sourceFiles.m_hWnd, &point);
    MenuPicture(window, "file-list-menu", [&] {
        ::SetCursorPos(point.x, point.y);
        INPUT click = {};
        click.type = INPUT_MOUSE;
        click.mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
        ::SendInput(1, &click, sizeof click);
        PumpFor(60); // a hand takes a moment between pressing and letting go
        click.mi.dwFlags = MOUSEEVENTF_RIGHTUP;
        ::SendInput(1, &click, sizeof click);
    });
}

// Preferences and, from its Edit button, the "File Type Filter" dialog.
void PreferencesPictures(DirectoryWindow& window)
{
    WindowWatch preferences(WindowWatch::Dialog("Preferences"), [](HWND dialog) {
        Settle(dialog);
        Save(dialog, "preferences");
        WindowWatch filter(WindowWatch::Dialog("File Type Filter"), SaveAndPress("file-type-filter", IDCANCEL));
        ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_PREFS_FILE_TYPE_EDIT, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDC_PREFS_FILE_TYPE_EDIT)));
        if (!filter.Ran())
            Missed("file-type-filter", "Edit... opened no dialog");
        PressButton(dialog, IDCANCEL);
    });
    ::SendMessageA(window.m_hWnd, WM_COMMAND, ID_DIRECTORY_PREFERENCES, 0);
    if (!preferences.Ran())
        Missed("preferences", "no dialog appeared");
}

void DialogPicture(DirectoryWindow& window, UINT command, const char* caption, const char* name, int button)
{
    WindowWatch watch(WindowWatch::Dialog(caption), SaveAndPress(name, button));
    ::SendMessageA(window.m_hWnd, WM_COMMAND, command, 0);
    if (!watch.Ran())
        Missed(name, "no dialog appeared");
}

// The copy question as a copy asks it when the target is the newer file.
void CopyQuestion(DirectoryWindow& window, const std::string& source, const std::string& master)
{
    WindowWatch watch(WindowWatch::Dialog("Zelvane"), SaveAndPress("copy-question", IDC_COPY_NO));
    std::string from = Join(source, "notes.txt");
    std::string to = Join(master, "notes.txt");
    AskYesNoAll(&window, IDS_NEWER_TARGET, to.c_str(), from.c_str());
    if (!watch.Ran())
        Missed("copy-question", "no dialog appeared");
}

// The progress dialogs, held part of the way: on the example files the real
// runs end before anyone could see them.
void ProgressPictures(DirectoryWindow& window, const std::string& source, const std::string& master)
{
    {
        CompareProgressDialog progress;
        progress.sourceName = Join(source, "tides.c");
        progress.masterName = Join(master, "tides.c");
        if (progress.Create(&window)) {
            progress.SetRange(20);
            progress.SetPos(8);
            Settle(progress.m_hWnd);
            Save(progress.m_hWnd, "compare-progress");
            progress.Destroy();
        } else {
            Missed("compare-progress", "the dialog was not created");
        }
    }
    {
        CopyProgressDialog progress(&window);
        progress.ShowPaths(Join(source, "tides.c"), Join(master, "tides.c"));
        progress.Start(1000);
        progress.BytesDone(400);
        Settle(progress.m_hWnd);
        Save(progress.m_hWnd, "copy-progress");
    }
    {
        PrintProgressDialog progress(&window, 2, "tides.c");
        progress.NextPage();
        Settle(progress.m_hWnd);
        Save(progress.m_hWnd, "print-progress");
    }
}

// The comparison window on tides.c: the first difference merged into the
// Master, the next one selected; printed when a printer is set up; closed
// without saving.
void ComparisonPictures(DirectoryWindow& window)
{
    bool printing = std::getenv("ZEL_PDF_DIR") != nullptr;
    WindowWatch watch(WindowWatch::ClassNamed("ZelvaneFrame109"), [printing](HWND frame) {
        Settle(frame);
        auto* compare = reinterpret_cast<CompareWindow*>(::GetWindowLongPtrA(frame, GWLP_USERDATA));
        ::SetFocus(compare->sourcePane.m_hWnd);
        ::SendMessageA(frame, WM_COMMAND, ID_NEXT_DIFFERENCE, 0);
        ::SendMessageA(frame, WM_COMMAND, ID_COPY_SOURCE_DIFFERENCE, 0);
        ::SendMessageA(frame, WM_COMMAND, ID_NEXT_DIFFERENCE, 0);
        ::SendMessageA(frame, WM_COMMAND, ID_SELECT_DIFFERENCE, 0);
        theApp.OnIdle(0);
        theApp.OnIdle(1);
        Settle(frame);
        Save(frame, "compare-window");
        if (printing) {
            WindowWatch print(WindowWatch::Dialog("Print"), [](HWND dialog) { PressButton(dialog, IDOK); });
            ::SendMessageA(frame, WM_COMMAND, ID_FILE_PRINT, 0);
            if (!print.Ran())
                Missed("printed-page", "no Print dialog appeared");
        }
        // The merge is not saved: "No" to each question about it.
        WindowWatch save(WindowWatch::ClassNamed("#32770"), [](HWND box) { PressButton(box, IDNO); });
        ::SendMessageA(frame, WM_CLOSE, 0, 0);
    });
    if (SelectFile(window.sourceFiles, "tides.c") < 0) {
        Missed("compare-window", "no tides.c among the Source files");
        return;
    }
    window.CompareSelectedRow(window.sourceFiles);
    if (!watch.Ran())
        Missed("compare-window", "no comparison window appeared");
}

// The comparison window on greeting.c, UTF-8 against UTF-16: the changed
// characters of its changed line marked, the encodings in the status bar.
void ChangedCharactersPicture(DirectoryWindow& window)
{
    WindowWatch watch(WindowWatch::ClassNamed("ZelvaneFrame109"), [](HWND frame) {
        Settle(frame);
        theApp.OnIdle(0);
        theApp.OnIdle(1);
        Settle(frame);
        Save(frame, "changed-characters");
        ::SendMessageA(frame, WM_CLOSE, 0, 0);
    });
    if (SelectFile(window.sourceFiles, "greeting.c") < 0) {
        Missed("changed-characters", "no greeting.c among the Source files");
        return;
    }
    window.CompareSelectedRow(window.sourceFiles);
    if (!watch.Ran())
        Missed("changed-characters", "no comparison window appeared");
}

BOOL CALLBACK FindHelpWindow(HWND window, LPARAM data)
{
    char name[64] = "";
    ::GetClassNameA(window, name, sizeof name);
    if (::IsWindowVisible(window) && lstrcmpA(name, "MS_WINHELP") == 0) {
        *reinterpret_cast<HWND*>(data) = window;
        return FALSE;
    }
    return TRUE;
}

HWND HelpWindow()
{
    HWND found = nullptr;
    ::EnumWindows(FindHelpWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string g_helpFile;

// Help asks for the help file named after this program; it is ORVINTA's.
BOOL WINAPI ProgramHelp(HWND owner, LPCSTR, UINT command, ULONG_PTR data)
{
    return ::WinHelpA(owner, g_helpFile.c_str(), command, data);
}

// The help viewer (another process) on the directory window's topic, from its Help button.
void HelpPicture(DirectoryWindow& window)
{
    std::string program = HelpFilePath();
    g_helpFile = program.substr(0, program.find_last_of('\\') + 1) + "ORVINTA.HLP";
    SetWinHelpCall(ProgramHelp);
    ::SendMessageA(window.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_DIRECTORY_HELP, BN_CLICKED),
                   reinterpret_cast<LPARAM>(window.GetDlgItem(IDC_DIRECTORY_HELP)));
    HWND help = nullptr;
    if (!PumpUntil([&] { return (help = HelpWindow()) != nullptr; }, 15000)) {
        Missed("help", "no help window appeared");
        return;
    }
    ::ShowWindow(window.m_hWnd, SW_HIDE);
    ::SetWindowPos(help, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    // The viewer lays out its topic after it shows its window.
    PumpFor(1500);
    ::UpdateWindow(help);
    PumpFor(300);
    Save(help, "help");
    CloseHelp();
    ::ShowWindow(window.m_hWnd, SW_SHOW);
}

// No step may wait for a person: a dialog nobody presses ends the run.
DWORD WINAPI Watchdog(LPVOID)
{
    ::Sleep(90000);
    std::printf("FAILED: still running after 90 seconds\n");
    std::fflush(stdout);
    ::ExitProcess(3);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: SCREENSHOTS OUTPUT_DIR SOURCE_DIR MASTER_DIR\n");
        return 2;
    }
    g_output = std::string(argv[1]) + "\\";
    std::string source = argv[2];
    std::string master = argv[3];
    ::CloseHandle(::CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
    StartUp();

    DirectoryWindow window;
    window.runPreferences = RunPreferences;
    window.sourceDirectory = source;
    window.masterDirectory = master;
    g_shared.mainDialog = &window;
    theApp.m_pMainWnd = &window;
    if (!window.Create(IDD_DIRECTORY_WINDOW)) {
        std::fprintf(stderr, "screenshots: the directory window was not created\n");
        return 1;
    }
    ::ShowWindow(window.m_hWnd, SW_SHOW);
    ::SetForegroundWindow(window.m_hWnd);
    if (!PumpUntil([&] { return Scanned(window); }, 10000))
        Missed("directory-window", "the directories were not scanned");

    SelectFile(window.sourceFiles, "greeting.c");
    Settle(window.m_hWnd);
    Save(window.m_hWnd, "directory-window");

    DirectoryMenu(window);
    FileListMenu(window);
    DialogPicture(window, ID_DIRECTORY_ABOUT, "About Zelvane", "about", IDOK);
    DialogPicture(window, ID_DIRECTORY_COMPARE, "Compare Files", "compare-files", IDCANCEL);
    PreferencesPictures(window);
    CopyQuestion(window, source, master);
    ProgressPictures(window, source, master);
    ComparisonPictures(window);
    ChangedCharactersPicture(window);
    HelpPicture(window);

    theApp.m_pMainWnd = nullptr;
    g_shared.mainDialog = nullptr;
    ::DestroyWindow(window.m_hWnd);
    return g_failures == 0 ? 0 : 1;
}
