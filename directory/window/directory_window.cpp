#include "directory/window/directory_window.h"

#include <commctrl.h>

#include <utility>
#include <vector>

#include "common/path_tests.h"
#include "common/phase_timing.h"
#include "common/about_dialog.h"
#include "common/help.h"
#include "common/process_values.h"
#include "common/settings_names.h"
#include "common/shared_resources.h"
#include "compare_window/compare_window.h"
#include "directory/window/compare_files_dialog.h"
#include "directory/core/compare_status.h"
#include "directory/core/same_directory.h"
#include "directory/core/directory_reader.h"
#include "directory/core/pair_entries.h"
#include "directory/core/scan_files.h"
#include "directory/core/scan_tree.h"
#include "directory/core/status_reading.h"
#include "framework/message_box.h"
#include "framework/win_app.h"
#include "resources/resource.h"

namespace {

constexpr int CLOSED_RESULT = 2;
const int SYSTEM_MENU_ITEMS[][2] = { { ID_DIRECTORY_ABOUT, IDS_MENU_ABOUT },
                                     { ID_DIRECTORY_COMPARE, IDS_MENU_COMPARE },
                                     { ID_DIRECTORY_INCLUDE_SUBDIRECTORIES, IDS_MENU_INCLUDE_SUBDIRECTORIES },
                                     { ID_DIRECTORY_LINK_DIRECTORIES, IDS_MENU_LINK_DIRECTORIES },
                                     { ID_DIRECTORY_PREFERENCES, IDS_MENU_PREFERENCES },
                                     { ID_DIRECTORY_HELP_CONTENTS, IDS_MENU_HELP_TOPICS } };

LayoutRect ToLayout(const RECT& rect)
{
    return { rect.left, rect.top, rect.right, rect.bottom };
}

CWinApp* App()
{
    return AfxGetApp();
}

} // namespace

BEGIN_MESSAGE_MAP(DirectoryWindow, CDialog)
ON_MESSAGE(WM_SIZE, OnSize)
ON_MESSAGE(WM_GETMINMAXINFO, OnGetMinMaxInfo)
ON_MESSAGE(WM_CLOSE, OnClose)
ON_MESSAGE(WM_DESTROY, OnDestroy)
ON_MESSAGE(WM_READING_ANSWERS, OnReadingAnswers)
ON_MESSAGE(WM_TIMER, OnTimer)
ON_MESSAGE(WM_SYSCOMMAND, OnSysCommand)
ON_MESSAGE(WM_RBUTTONDOWN, OnRButtonDown)
ON_MESSAGE(WM_FOLLOW_RANGE, OnFollowRange)
ON_COMMAND(ID_DIRECTORY_ABOUT, OnAbout)
ON_COMMAND(ID_DIRECTORY_COMPARE, OnCompareFiles)
ON_COMMAND(ID_DIRECTORY_PREFERENCES, OnPreferences)
ON_COMMAND(ID_DIRECTORY_EXIT, OnExit)
ON_COMMAND(ID_DIRECTORY_HELP_CONTENTS, OnHelpContents)
ON_COMMAND(IDC_DIRECTORY_HELP, OnHelpButton)
ON_CONTROL(EN_KILLFOCUS, IDC_SOURCE_DIRECTORY, OnSourceEditKillFocus)
ON_CONTROL(EN_KILLFOCUS, IDC_MASTER_DIRECTORY, OnMasterEditKillFocus)
ON_CONTROL(EN_KILLFOCUS, IDC_PATTERN, OnPatternKillFocus)
ON_CONTROL(CBN_SELENDOK, IDC_FILE_TYPE, OnFileTypeChosen)
ON_CONTROL(CBN_SELENDOK, IDC_SOURCE_DRIVE, OnSourceDriveChosen)
ON_CONTROL(CBN_SELENDOK, IDC_MASTER_DRIVE, OnMasterDriveChosen)
ON_CONTROL(LBN_DBLCLK, IDC_SOURCE_DIRECTORY_LIST, OnSourceDirectoryOpened)
ON_CONTROL(LBN_DBLCLK, IDC_MASTER_DIRECTORY_LIST, OnMasterDirectoryOpened)
ON_NOTIFY(NM_DBLCLK, IDC_SOURCE_FILES, OnFileListDoubleClick)
ON_NOTIFY(NM_DBLCLK, IDC_MASTER_FILES, OnFileListDoubleClick)
ON_NOTIFY(NM_SETFOCUS, IDC_SOURCE_FILES, OnFileListSetFocus)
ON_NOTIFY(NM_SETFOCUS, IDC_MASTER_FILES, OnFileListSetFocus)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_SOURCE_FILES, OnFileListItemChanged)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_MASTER_FILES, OnFileListItemChanged)
ON_NOTIFY(LVN_ODSTATECHANGED, IDC_SOURCE_FILES, OnFileListRangeChanged)
ON_NOTIFY(LVN_ODSTATECHANGED, IDC_MASTER_FILES, OnFileListRangeChanged)
ON_COMMAND(IDC_COPY_TO_MASTER, OnCopyToMaster)
ON_COMMAND(IDC_COPY_TO_SOURCE, OnCopyToSource)
ON_COMMAND(ID_DIRECTORY_INCLUDE_SUBDIRECTORIES, OnIncludeSubdirectories)
ON_UPDATE_COMMAND_UI(ID_DIRECTORY_INCLUDE_SUBDIRECTORIES, OnUpdateIncludeSubdirectories)
ON_COMMAND(ID_DIRECTORY_LINK_DIRECTORIES, OnLinkDirectories)
ON_UPDATE_COMMAND_UI(ID_DIRECTORY_LINK_DIRECTORIES, OnUpdateLinkDirectories)
END_MESSAGE_MAP()

DirectoryWindow::DirectoryWindow()
    : CDialog(IDD_DIRECTORY_WINDOW), sourceFiles(g_values.sourceColor), masterFiles(g_values.masterColor),
      busy([this](unsigned sides) { RescanSides(sides); }), layout(DirectoryWindowLayout())
{
    sourceFiles.partner = &masterFiles;
    masterFiles.partner = &sourceFiles;
    sourceFiles.owner = this;
    masterFiles.owner = this;
}

// ---- Set-up -------------------------------------------------------------

BOOL DirectoryWindow::OnInitDialog()
{
    PHASE_MARK("dialog created");
    m_closing = false;
    App()->m_pMainWnd = this;
    RECT outer;
    ::GetWindowRect(m_hWnd, &outer);
    minimumWidth = outer.right - outer.left;
    minimumHeight = outer.bottom - outer.top;
    ::SendDlgItemMessageA(m_hWnd, IDC_SOURCE_DIRECTORY, EM_LIMITTEXT, 255, 0);
    ::SendDlgItemMessageA(m_hWnd, IDC_MASTER_DIRECTORY, EM_LIMITTEXT, 255, 0);
    SetDlgItemText(IDC_SOURCE_DIRECTORY, sourceDirectory);
    SetDlgItemText(IDC_MASTER_DIRECTORY, masterDirectory);

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_shared.programIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_shared.programIconSmall));
    CenterWindow(::GetDesktopWindow());
    CaptureLayout();

    sourceFiles.SubclassDlgItem(IDC_SOURCE_FILES, this);
    masterFiles.SubclassDlgItem(IDC_MASTER_FILES, this);
    sourceFiles.SetupColumns();
    masterFiles.SetupColumns(&sourceFiles);
    PHASE_MARK("columns set up");
    sourceDrives.Bind(GetDlgItem(IDC_SOURCE_DRIVE));
    masterDrives.Bind(GetDlgItem(IDC_MASTER_DRIVE));
    sourceDirectories.Bind(GetDlgItem(IDC_SOURCE_DIRECTORY_LIST), &sourceDrives, GetDlgItem(IDC_SOURCE_DIRECTORY));
    masterDirectories.Bind(GetDlgItem(IDC_MASTER_DIRECTORY_LIST), &masterDrives, GetDlgItem(IDC_MASTER_DIRECTORY));
    sourceDirectories.SetEvents(this);
    masterDirectories.SetEvents(this);
    AttachMonitors();
    sourceFiles.directoryListBox = &sourceDirectories;
    masterFiles.directoryListBox = &masterDirectories;
    sourceDirectories.SetHighlightColour(g_values.sourceColor);
    masterDirectories.SetHighlightColour(g_values.masterColor);

    {
        // The pattern and both directories each ask for a rescan: all of them
        // run as one, as the hold goes, and at once rather than after the
        // rescan timers' delay.
        BusyGuard::Hold hold(busy);
        LoadTreeSettings();
        LoadFileTypes();
        PHASE_MARK("settings read");
        sourceDrives.Fill(g_values.driveTypes);
        masterDrives.Fill(g_values.driveTypes);

        ApplyDirectoryEdit(MASTER_SIDE);
        ApplyDirectoryEdit(SOURCE_SIDE);
        PHASE_MARK("directories applied");
        for (Side side : { SOURCE_SIDE, MASTER_SIDE })
            ::KillTimer(Directories(side).m_hWnd, DirectoryListBox::FILE_RESCAN_TIMER);
        busy.RescanDue(BOTH_SIDES);
    }
    // A whole tree's watches walk it again now that the scan is done: under
    // Wine a folder listed while a subtree watch is walked can stay outside it.
    if (includeSubdirectories)
        WatchTrees();
    AppendSystemMenuItems();
    layoutReady = true;
    RestorePlacement();
    PHASE_MARK("dialog set up");
    // A directory edit that was refused holds the focus already; moving it
    // away would apply (and refuse) the edit a second time.
    HWND focus = ::GetFocus();
    return focus && ::IsChild(m_hWnd, focus) ? FALSE : TRUE;
}

void DirectoryWindow::CaptureLayout()
{
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    for (LayoutAnchor& anchor : layout) {
        RECT control;
        ::GetWindowRect(GetDlgItem(anchor.id), &control);
        CaptureOffsets(anchor, ToLayout(window), ToLayout(control));
    }
}

void DirectoryWindow::AppendSystemMenuItems()
{
    HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
    if (!menu)
        return;
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    for (const auto& item : SYSTEM_MENU_ITEMS)
        ::AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(item[0]),
                      AfxLoadString(static_cast<UINT>(item[1])).c_str());
    CheckSystemMenuItems();
}

// The stored normal rectangle, in the co-ordinates it was saved in; only a
// complete placement (all four values above 0) counts.
void DirectoryWindow::RestorePlacement()
{
    int x = static_cast<int>(App()->GetProfileInt(SECTION_POSITION, "dx", -1));
    int y = static_cast<int>(App()->GetProfileInt(SECTION_POSITION, "dy", -1));
    int cx = static_cast<int>(App()->GetProfileInt(SECTION_POSITION, "dcx", -1));
    int cy = static_cast<int>(App()->GetProfileInt(SECTION_POSITION, "dcy", -1));
    if (x <= 0 || y <= 0 || cx <= 0 || cy <= 0)
        return;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    ::GetWindowPlacement(m_hWnd, &placement);
    placement.rcNormalPosition = { x, y, x + cx, y + cy };
    placement.showCmd = ::IsWindowVisible(m_hWnd) ? SW_SHOWNORMAL : SW_HIDE;
    ::SetWindowPlacement(m_hWnd, &placement);
}

void DirectoryWindow::SavePlacement()
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (::GetWindowPlacement(m_hWnd, &placement)) {
        const RECT& normal = placement.rcNormalPosition;
        App()->WriteProfileInt(SECTION_POSITION, "dx", normal.left);
        App()->WriteProfileInt(SECTION_POSITION, "dy", normal.top);
        App()->WriteProfileInt(SECTION_POSITION, "dcx", normal.right - normal.left);
        App()->WriteProfileInt(SECTION_POSITION, "dcy", normal.bottom - normal.top);
    }
    static const char* const WIDTHS[FILE_LIST_COLUMNS] = { "NameWidth", "TypeWidth", "SizeWidth", "DateWidth",
                                                           "TimeWidth" };
    if (masterFiles.m_hWnd)
        for (int column = 0; column < FILE_LIST_COLUMNS; ++column)
            App()->WriteProfileInt(SECTION_POSITION, WIDTHS[column], masterFiles.ColumnWidth(column));
}

// ---- Layout -------------------------------------------------------------

LRESULT DirectoryWindow::OnSize(WPARAM wParam, LPARAM)
{
    if (layoutReady && wParam != SIZE_MINIMIZED)
        MoveControls();
    return 0;
}

void DirectoryWindow::MoveControls()
{
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    HDWP batch = ::BeginDeferWindowPos(LAYOUT_CONTROL_COUNT);
    for (const LayoutAnchor& anchor : layout) {
        LayoutRect placed = PlaceControl(anchor, ToLayout(window));
        POINT corners[2] = { { placed.left, placed.top }, { placed.right, placed.bottom } };
        ::MapWindowPoints(nullptr, m_hWnd, corners, 2);
        HWND control = GetDlgItem(anchor.id);
        int width = corners[1].x - corners[0].x;
        int height = corners[1].y - corners[0].y;
        if (batch)
            batch = ::DeferWindowPos(batch, control, nullptr, corners[0].x, corners[0].y, width, height,
                                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (!batch)
            ::SetWindowPos(control, nullptr, corners[0].x, corners[0].y, width, height,
                           SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (batch)
        ::EndDeferWindowPos(batch);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

LRESULT DirectoryWindow::OnGetMinMaxInfo(WPARAM, LPARAM lParam)
{
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (minimumWidth > 0 && minimumHeight > 0) {
        info->ptMinTrackSize.x = minimumWidth;
        info->ptMinTrackSize.y = minimumHeight;
    }
    return 0;
}

// ---- Directories, pattern and file types ---------------------------------

const std::string& DirectoryWindow::CurrentDirectory(Side side) const
{
    return Directories(side).CurrentDirectory();
}

void DirectoryWindow::OnRescanFiles(DirectoryListBox& side)
{
    busy.RescanDue(SideBit(&side == &sourceDirectories ? SOURCE_SIDE : MASTER_SIDE));
}

void DirectoryWindow::LoadFileTypes()
{
    FileTypeList::RememberedChoice choice = fileTypes.Load(*App(), GetDlgItem(IDC_FILE_TYPE));
    if (choice.selectedIndex >= 0)
        ChooseFileType();
    if (!choice.patternText.empty()) {
        SetDlgItemText(IDC_PATTERN, choice.patternText);
        ::SendDlgItemMessageA(m_hWnd, IDC_PATTERN, EM_SETMODIFY, TRUE, 0);
        ApplyPattern();
    }
}

// On leaving a directory edit, on Enter in it, and at set-up. The message box
// takes the focus from the edit again: the counter keeps that from asking twice.
void DirectoryWindow::ApplyDirectoryEdit(Side side)
{
    if (m_applyingEdit[side] || m_closing)
        return;
    ++m_applyingEdit[side];
    int id = side == SOURCE_SIDE ? IDC_SOURCE_DIRECTORY : IDC_MASTER_DIRECTORY;
    CString text = GetDlgItemText(id);
    if (IsDirectory(text)) {
        std::string before = CurrentDirectory(side);
        Directories(side).SetDirectory(text);
        // Only a directory the user chose here is a new start for following.
        if (CurrentDirectory(side) != before)
            SetFollowStart();
    } else {
        BusyGuard::Hold hold(busy);
        ResourceMessageBox(m_hWnd, IDS_NOT_A_DIRECTORY, IDS_ERROR_CAPTION, MB_ICONHAND | MB_OK, text.c_str());
        HWND edit = GetDlgItem(id);
        ::SetFocus(edit);
        ::SendMessageA(edit, EM_SETSEL, 0, -1);
        ::SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    }
    --m_applyingEdit[side];
}

void DirectoryWindow::ApplyPattern()
{
    HWND edit = GetDlgItem(IDC_PATTERN);
    if (m_closing || !::SendMessageA(edit, EM_GETMODIFY, 0, 0))
        return;
    App()->WriteProfileString(SECTION_POSITION, "FileExtensions", GetDlgItemText(IDC_PATTERN).c_str());
    ::SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
    busy.RescanDue(BOTH_SIDES);
}

void DirectoryWindow::ChooseFileType()
{
    HWND combo = GetDlgItem(IDC_FILE_TYPE);
    int index = static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0));
    if (index < 0 || static_cast<size_t>(index) >= fileTypes.patternLists.size())
        return;
    SetDlgItemText(IDC_PATTERN, fileTypes.patternLists[static_cast<size_t>(index)]);
    ::SendDlgItemMessageA(m_hWnd, IDC_PATTERN, EM_SETMODIFY, TRUE, 0);
    App()->WriteProfileInt(SECTION_POSITION, "FileType", index);
    ApplyPattern();
}

void DirectoryWindow::RescanSides(unsigned sides)
{
    PHASE_MARK("rescan");
    // Answers for the rows about to go must never be taken.
    reader.Cancel();
    m_deferredJob.reset();
    m_readingJob = 0;
    CString pattern = GetDlgItemText(IDC_PATTERN);
    m_scannedPattern = pattern;
    for (Side side : { SOURCE_SIDE, MASTER_SIDE }) {
        if (!(sides & SideBit(side)))
            continue;
        FileListView& files = Files(side);
        ++scanCount[side];
        files.ClearFiles();
        std::vector<FoundEntry> listing;
        bool listed = Directories(side).TakeListing(CurrentDirectory(side), listing);
        if (CurrentDirectory(side).empty()) {
            // A side whose directory is not known yet lists nothing.
        } else if (listed && !includeSubdirectories && ListsEverything(pattern)) {
            // The directory list read this directory a moment ago, and nothing has changed since.
            ScanListing(files.entries, listing);
        } else {
            ScanSide(files.entries, CurrentDirectory(side), pattern, includeSubdirectories);
        }
        m_scannedDirectory[side] = CurrentDirectory(side);
        PHASE_MARK(side == SOURCE_SIDE ? "source scanned" : "master scanned");
    }
    PairEntries();
    PHASE_MARK("rescan done");
}

void DirectoryWindow::PairEntries()
{
    reader.Cancel();
    m_deferredJob.reset();
    m_readingJob = 0;
    // Contents are read in the background (StartReading); until then such
    // a pair is not known.
    int method = g_values.howCompare;
    std::vector<PairedRow> rows = ::PairEntries(
        sourceFiles.entries, masterFiles.entries,
        [method](const FileEntry& source, const FileEntry& master) { return StatusWithoutReading(source, master, method); });
    PHASE_MARK("paired");
    std::vector<FileEntry*> sourceRows(rows.size());
    std::vector<FileEntry*> masterRows(rows.size());
    for (size_t row = 0; row < rows.size(); ++row) {
        sourceRows[row] = rows[row].source;
        masterRows[row] = rows[row].master;
    }
    sourceFiles.SetRows(std::move(sourceRows));
    masterFiles.SetRows(std::move(masterRows));
    PHASE_MARK("lists filled");
    // The rows are new and none is selected.
    ::EnableWindow(GetDlgItem(IDC_COPY_TO_MASTER), FALSE);
    ::EnableWindow(GetDlgItem(IDC_COPY_TO_SOURCE), FALSE);
    StartReading();
}

// ---- Copy buttons and focus following ------------------------------------

bool DirectoryWindow::SidesAreSameDirectory() const
{
    return SameDirectory(FullDirectoryPath(ScannedDirectory(SOURCE_SIDE)),
                         FullDirectoryPath(ScannedDirectory(MASTER_SIDE)));
}

void DirectoryWindow::UpdateCopyButton(Side side)
{
    int selected = 0;
    bool enable = Files(side).GetSelectedRows(1, &selected) > 0 && !SidesAreSameDirectory();
    ::EnableWindow(GetDlgItem(side == SOURCE_SIDE ? IDC_COPY_TO_MASTER : IDC_COPY_TO_SOURCE), enable);
}

FileListView* DirectoryWindow::ListOf(const NMHDR* header)
{
    if (header->idFrom == IDC_SOURCE_FILES)
        return &sourceFiles;
    if (header->idFrom == IDC_MASTER_FILES)
        return &masterFiles;
    return nullptr;
}

// A list got the focus: only the button that copies away from it may be on.
void DirectoryWindow::OnFileListSetFocus(NMHDR* header, LRESULT*)
{
    FileListView* list = ListOf(header);
    if (!list)
        return;
    Side side = SideOf(*list);
    ::EnableWindow(GetDlgItem(side == SOURCE_SIDE ? IDC_COPY_TO_SOURCE : IDC_COPY_TO_MASTER), FALSE);
    UpdateCopyButton(side);
}

void DirectoryWindow::OnFileListItemChanged(NMHDR* header, LRESULT*)
{
    FileListView* list = ListOf(header);
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if (!list || !(change->uChanged & LVIF_STATE))
        return;
    list->TrackFocus(*change);
    if ((change->uOldState ^ change->uNewState) & LVIS_SELECTED)
        FollowSelection(*list);
}

// A virtual list reports a range that Shift selects as one change, and
// may move its focus only after it: the partner follows again once the
// list is done.
void DirectoryWindow::OnFileListRangeChanged(NMHDR* header, LRESULT*)
{
    FileListView* list = ListOf(header);
    const auto* change = reinterpret_cast<const NMLVODSTATECHANGE*>(header);
    if (!list)
        return;
    list->ReadFocusedRow();
    if ((change->uOldState ^ change->uNewState) & LVIS_SELECTED) {
        FollowSelection(*list);
        PostMessage(WM_FOLLOW_RANGE, static_cast<WPARAM>(SideOf(*list)));
    }
}

LRESULT DirectoryWindow::OnFollowRange(WPARAM side, LPARAM)
{
    FileListView& list = Files(side == SOURCE_SIDE ? SOURCE_SIDE : MASTER_SIDE);
    list.ReadFocusedRow();
    list.partner->SetFocusedRow(list.focusedRow);
    return 0;
}

void DirectoryWindow::FollowSelection(FileListView& list)
{
    UpdateCopyButton(SideOf(list));
    list.partner->SetFocusedRow(list.focusedRow);
}

// ---- Enter, Escape and closing -------------------------------------------

// Enter acts by the control that has the focus, never as a default button.
bool DirectoryWindow::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && m_hWnd &&
        (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd))) {
        HWND focus = ::GetFocus();
        bool droppedCombo = focus && ::SendMessageA(focus, CB_GETDROPPEDSTATE, 0, 0) &&
                            (::GetDlgCtrlID(focus) == IDC_FILE_TYPE || ::GetDlgCtrlID(focus) == IDC_SOURCE_DRIVE ||
                             ::GetDlgCtrlID(focus) == IDC_MASTER_DRIVE);
        // A name being edited in a file list takes its own Enter.
        bool editingName = focus && (::GetParent(focus) == sourceFiles.m_hWnd || ::GetParent(focus) == masterFiles.m_hWnd);
        if (!droppedCombo && !editingName) {
            OnOK();
            return true;
        }
    }
    return CDialog::PreTranslateMessage(msg);
}

void DirectoryWindow::OnOK()
{
    HWND focus = ::GetFocus();
    if (!focus || !::IsChild(m_hWnd, focus))
        return;
    switch (::GetDlgCtrlID(focus)) {
    case IDC_SOURCE_DIRECTORY_LIST:
        sourceDirectories.OpenSelectedDirectory();
        break;
    case IDC_MASTER_DIRECTORY_LIST:
        masterDirectories.OpenSelectedDirectory();
        break;
    case IDC_SOURCE_DIRECTORY:
        ApplyDirectoryEdit(SOURCE_SIDE);
        break;
    case IDC_MASTER_DIRECTORY:
        ApplyDirectoryEdit(MASTER_SIDE);
        break;
    case IDC_PATTERN:
        ApplyPattern();
        break;
    case IDC_SOURCE_FILES:
        CompareSelectedRow(sourceFiles);
        break;
    case IDC_MASTER_FILES:
        CompareSelectedRow(masterFiles);
        break;
    default:
        break;
    }
}

// Escape never closes the window.
void DirectoryWindow::OnCancel()
{
}

LRESULT DirectoryWindow::OnClose(WPARAM, LPARAM)
{
    Close();
    return 0;
}

// Close box and Exit: the edits go back into the directory strings.
void DirectoryWindow::OnExit()
{
    Close();
}

void DirectoryWindow::Close()
{
    m_closing = true;
    sourceDirectory = GetDlgItemText(IDC_SOURCE_DIRECTORY);
    masterDirectory = GetDlgItemText(IDC_MASTER_DIRECTORY);
    CloseHelp();
    EndDialog(CLOSED_RESULT);
}

LRESULT DirectoryWindow::OnDestroy(WPARAM, LPARAM)
{
    StopMonitors();
    reader.Stop();
    m_deferredJob.reset();
    m_readingJob = 0;
    m_closing = true;
    SavePlacement();
    layoutReady = false;
    return Default();
}

// ---- Menus and help -----------------------------------------------------------

LRESULT DirectoryWindow::OnSysCommand(WPARAM wParam, LPARAM)
{
    switch (LOWORD(wParam)) {
    case ID_DIRECTORY_ABOUT:
    case ID_DIRECTORY_COMPARE:
    case ID_DIRECTORY_INCLUDE_SUBDIRECTORIES:
    case ID_DIRECTORY_LINK_DIRECTORIES:
    case ID_DIRECTORY_PREFERENCES:
    case ID_DIRECTORY_HELP_CONTENTS:
        if ((wParam & 0xF000) != 0xF000) {
            OnCmdMsg(LOWORD(wParam), 0);
            return 0;
        }
        break;
    default:
        break;
    }
    return Default();
}

LRESULT DirectoryWindow::OnRButtonDown(WPARAM, LPARAM lParam)
{
    HMENU menu = ::LoadMenuA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDM_DIRECTORY_POPUP));
    if (!menu)
        return 0;
    POINT point = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
    ::ClientToScreen(m_hWnd, &point);
    {
        BusyGuard::Hold hold(busy);
        ::TrackPopupMenu(::GetSubMenu(menu, 0), TPM_RIGHTBUTTON, point.x, point.y, 0, m_hWnd, nullptr);
    }
    ::DestroyMenu(menu);
    return 0;
}

void DirectoryWindow::OnAbout()
{
    BusyGuard::Hold hold(busy);
    AboutDialog about(this);
    about.DoModal();
}

// "&Preferences...": what the user changes there takes effect here at once.
void DirectoryWindow::OnPreferences()
{
    if (!runPreferences) {
        ::MessageBeep(MB_ICONHAND);
        return;
    }
    BusyGuard::Hold hold(busy);
    runPreferences(this, *this);
}

void DirectoryWindow::OnHelpContents()
{
    ShowHelpContents();
}

void DirectoryWindow::OnHelpButton()
{
    ShowHelpTopic(HELP_TOPIC_DIRECTORY_WINDOW);
}

// ---- Control notifications -----------------------------------------------

void DirectoryWindow::OnSourceEditKillFocus()
{
    ApplyDirectoryEdit(SOURCE_SIDE);
}

void DirectoryWindow::OnMasterEditKillFocus()
{
    ApplyDirectoryEdit(MASTER_SIDE);
}

void DirectoryWindow::OnPatternKillFocus()
{
    ApplyPattern();
}

void DirectoryWindow::OnFileTypeChosen()
{
    ChooseFileType();
}

void DirectoryWindow::OnSourceDriveChosen()
{
    sourceDirectories.DriveSelected();
    SetFollowStart();
}

void DirectoryWindow::OnMasterDriveChosen()
{
    masterDirectories.DriveSelected();
    SetFollowStart();
}

void DirectoryWindow::OnSourceDirectoryOpened()
{
    sourceDirectories.OpenSelectedDirectory();
}

void DirectoryWindow::OnMasterDirectoryOpened()
{
    masterDirectories.OpenSelectedDirectory();
}
