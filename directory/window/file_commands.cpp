#include "directory/window/file_commands.h"

#include <shellapi.h>

#include "common/code_pages_win32.h"
#include "common/help.h"
#include "common/shared_resources.h"
#include "framework/exceptions.h"
#include "directory/copy/copy_between_sides.h"
#include "directory/copy/copy_dialogs.h"
#include "directory/core/directory_reader.h"
#include "directory/window/directory_window.h"
#include "directory/window/file_list_view.h"
#include "directory/core/tree_order.h"
#include "framework/win_app.h"
#include "resources/resource.h"

namespace {

UINT TrackAtPoint(HMENU menu, HWND owner, POINT screenPoint)
{
    // The command comes back here rather than as a posted WM_COMMAND, so that
    // it runs while the busy guard still holds the rows the menu was opened on.
    return static_cast<UINT>(::TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, screenPoint.x,
                                              screenPoint.y, 0, owner, nullptr));
}

FileCommands::MenuTracker g_menuTracker = TrackAtPoint;

POINT PointOf(LPARAM point)
{
    return { static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point)) };
}

bool IsInClient(HWND window, POINT clientPoint)
{
    RECT client;
    return ::GetClientRect(window, &client) && ::PtInRect(&client, clientPoint);
}

HCURSOR CursorFor(DragCursor cursor)
{
    switch (cursor) {
    case DragCursor::OneFile:
        return g_shared.dragOneCursor;
    case DragCursor::ManyFiles:
        return g_shared.dragManyCursor;
    case DragCursor::NoDrop:
        return g_shared.noDropCursor;
    default:
        return g_shared.arrowCursor ? g_shared.arrowCursor : ::LoadCursor(nullptr, IDC_ARROW);
    }
}


} // namespace

std::string ChosenFile::DisplayName() const
{
    return extension.empty() ? name : name + "." + extension;
}

ChosenFile Choose(const FileEntry& entry)
{
    return { entry.name, entry.extension, entry.fileName, entry.nameUnreadable };
}

FileCommands::MenuTracker FileCommands::SetMenuTracker(MenuTracker tracker)
{
    MenuTracker previous = g_menuTracker;
    g_menuTracker = tracker ? tracker : TrackAtPoint;
    return previous;
}

FileCommands::~FileCommands() = default;

DirectoryWindow* FileCommands::Window() const
{
    return m_list.owner;
}

bool FileCommands::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: // a quick second click is a click of its own
        OnRButtonDown(wParam, lParam);
        return true;
    case WM_MOUSEMOVE:
        if (!m_dragging)
            return false;
        OnMouseMove(wParam, lParam);
        return true;
    case WM_RBUTTONUP:
        if (!m_dragging)
            return false;
        OnRButtonUp(lParam);
        return true;
    case WM_CAPTURECHANGED:
        // Capture taken by another window ends the gesture without a menu.
        if (m_dragging && reinterpret_cast<HWND>(lParam) != m_list.m_hWnd) {
            m_dragging = false;
            EndGesture();
        }
        return false;
    case WM_COMMAND:
        return HIWORD(wParam) <= 1 && OnCommand(LOWORD(wParam));
    case WM_RENAME_EDITED:
        Rename();
        return true;
    case WM_DESTROY:
        // The guard belongs to the window going away with the list.
        m_dragging = false;
        m_gestureHold.reset();
        m_renameHold.reset();
        m_renameRow = -1;
        return false;
    default:
        return false;
    }
}

// ---- The gesture -------------------------------------------------------------

void FileCommands::OnRButtonDown(WPARAM keys, LPARAM point)
{
    SelectForRightClick(keys, PointOf(point));
    if (m_dragging)
        return;
    m_list.DragSet.clear();
    m_chosen.clear();
    if (m_list.SendMessage(LVM_GETSELECTEDCOUNT) == 0)
        return;
    for (int row : m_list.GetSelectedRows()) {
        if (const FileEntry* entry = m_list.GetEntry(row)) {
            m_list.DragSet.push_back(row);
            m_chosen.push_back(Choose(*entry));
        }
    }
    if (Window())
        m_gestureHold = std::make_unique<BusyGuard::Hold>(Window()->busy);
    m_zone = DragZone::NotMoved;
    m_start = PointOf(point);
    m_lastPoint = m_start;
    m_threshold = { ::GetSystemMetrics(SM_CXDRAG), ::GetSystemMetrics(SM_CYDRAG) };
    ::SetCapture(m_list.m_hWnd);
    m_dragging = true;
}

// The list's own right-click handling, without its wait for the button to
// come up (which would swallow the release the gesture needs): the row under
// the pointer gets the focus and, unless it is chosen already or Shift or
// Ctrl is held, becomes the only chosen row; a click below the rows clears
// the choice.
void FileCommands::SelectForRightClick(WPARAM keys, POINT point)
{
    if (::GetFocus() != m_list.m_hWnd)
        ::SetFocus(m_list.m_hWnd);
    LVHITTESTINFO hit = {};
    hit.pt = point;
    int row = static_cast<int>(m_list.SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    LVITEMA item = {};
    if (row < 0) {
        if (!(keys & (MK_SHIFT | MK_CONTROL))) {
            item.stateMask = LVIS_SELECTED;
            m_list.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
        }
        return;
    }
    bool selected = (m_list.SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED) != 0;
    if (!selected && !(keys & (MK_SHIFT | MK_CONTROL))) {
        item.stateMask = LVIS_SELECTED;
        m_list.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    }
    item.stateMask = LVIS_FOCUSED | (selected ? 0 : LVIS_SELECTED);
    item.state = item.stateMask;
    m_list.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void FileCommands::UpdateZone(LPARAM point)
{
    POINT at = PointOf(point);
    m_lastPoint = at;
    bool overOwn = IsInClient(m_list.m_hWnd, at);
    bool overPartner = false;
    if (!overOwn && m_list.partner && m_list.partner->m_hWnd) {
        POINT onPartner = at;
        ::MapWindowPoints(m_list.m_hWnd, m_list.partner->m_hWnd, &onPartner, 1);
        overPartner = IsInClient(m_list.partner->m_hWnd, onPartner);
    }
    m_zone = ZoneOf(at.x - m_start.x, at.y - m_start.y, m_threshold.cx, m_threshold.cy, overOwn, overPartner);
}

void FileCommands::OnMouseMove(WPARAM keys, LPARAM point)
{
    UpdateZone(point);
    ::SetCursor(CursorFor(CursorOf(m_zone, m_list.DragSet.size())));
    if (!(keys & MK_RBUTTON))
        OnRButtonUp(point);
}

void FileCommands::OnRButtonUp(LPARAM point)
{
    UpdateZone(point);
    m_dragging = false;
    ::ReleaseCapture();
    ::SetCursor(CursorFor(DragCursor::Arrow));
    switch (MenuOf(m_zone)) {
    case GestureMenu::Context:
        OpenContextMenu();
        break;
    case GestureMenu::Drop:
        OpenDropMenu();
        break;
    default:
        break;
    }
    EndGesture();
}

// Where the gesture ended, on the screen: the menu opens there and a drop
// pairs with the partner's row there.
POINT FileCommands::ReleasePoint() const
{
    POINT point = m_lastPoint;
    ::ClientToScreen(m_list.m_hWnd, &point);
    return point;
}

void FileCommands::EndGesture()
{
    m_gestureHold.reset(); // a rescan held back meanwhile runs now
}

// ---- The menus ---------------------------------------------------------------

void FileCommands::OpenContextMenu()
{
    if (m_list.DragSet.empty())
        return;
    TargetRow = m_list.DragSet.front();
    const FileEntry* facing = m_list.partner ? m_list.partner->GetEntry(TargetRow) : nullptr;
    m_hasTarget = facing != nullptr;
    if (facing)
        m_target = Choose(*facing);
    RunMenu(0, ContextMenuEnabling(m_list.DragSet.size(), facing != nullptr), ReleasePoint());
}

void FileCommands::OpenDropMenu()
{
    if (m_list.DragSet.empty())
        return;
    POINT cursor = ReleasePoint();
    m_hasTarget = false;
    TargetRow = -1;
    if (m_list.DragSet.size() == 1 && m_list.partner) {
        LVHITTESTINFO hit = {};
        hit.pt = cursor;
        ::ScreenToClient(m_list.partner->m_hWnd, &hit.pt);
        TargetRow = static_cast<int>(m_list.partner->SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        const FileEntry* target = TargetRow >= 0 ? m_list.partner->GetEntry(TargetRow) : nullptr;
        m_hasTarget = target != nullptr;
        if (target)
            m_target = Choose(*target);
    }
    RunMenu(1, DropMenuEnabling(m_list.DragSet.size(), m_hasTarget), cursor);
}

void FileCommands::RunMenu(int subMenu, const MenuEnabling& enabling, POINT screenPoint)
{
    HMENU menu = ::LoadMenuA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDM_FILE_LIST));
    if (!menu)
        return;
    HMENU popup = ::GetSubMenu(menu, subMenu);
    ::SetMenuDefaultItem(popup, ID_FILE_LIST_COMPARE, FALSE);
    ::EnableMenuItem(popup, ID_FILE_LIST_COMPARE, MF_BYCOMMAND | (enabling.compare ? MF_ENABLED : MF_GRAYED));
    if (subMenu == 0)
        ::EnableMenuItem(popup, ID_FILE_LIST_RENAME, MF_BYCOMMAND | (enabling.rename ? MF_ENABLED : MF_GRAYED));
    // The directory the rows were read from, which is the current one unless
    // a switch is still waiting for its rescan.
    if (Window())
        CommandDirectory = Window()->ScannedDirectory(Window()->SideOf(m_list));
    UINT command = g_menuTracker(popup, m_list.m_hWnd, screenPoint);
    ::DestroyMenu(menu);
    // A disabled item cannot be chosen; a tracker that returns one anyway is refused.
    if (command != 0 && command != IDCANCEL)
        m_list.SendMessage(WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

// ---- The commands ------------------------------------------------------------

bool FileCommands::OnCommand(UINT id)
{
    switch (id) {
    case ID_FILE_LIST_COMPARE:
        Compare();
        return true;
    case ID_FILE_LIST_COPY:
        Copy();
        return true;
    case ID_FILE_LIST_DELETE:
        Delete();
        return true;
    case ID_FILE_LIST_RENAME:
        StartRename();
        return true;
    case ID_FILE_LIST_HELP:
        ShowHelpTopic(HELP_TOPIC_FILE_LIST);
        return true;
    case ID_FILE_LIST_HELP_TOPICS:
        ShowHelpContents();
        return true;
    default:
        return false;
    }
}

// Two files of any names: the chosen one and the partner's target row.
void FileCommands::Compare()
{
    DirectoryWindow* window = Window();
    if (!window || m_chosen.empty() || !m_hasTarget) {
        ::MessageBeep(MB_ICONHAND);
        return;
    }
    Side side = window->SideOf(m_list);
    const ChosenFile& source = side == SOURCE_SIDE ? m_chosen.front() : m_target;
    const ChosenFile& master = side == SOURCE_SIDE ? m_target : m_chosen.front();
    if (RefuseUnreachable(source) || RefuseUnreachable(master))
        return;
    std::string title = source.DisplayName() + " : " + master.DisplayName();
    std::string sourcePath = JoinPath(window->ScannedDirectory(SOURCE_SIDE), source.fileName);
    std::string masterPath = JoinPath(window->ScannedDirectory(MASTER_SIDE), master.fileName);
    window->RunCompareWindow(title, sourcePath, masterPath, window->sourceFiles.highlightColour,
                             window->masterFiles.highlightColour);
    window->SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_list.m_hWnd), TRUE);
}

void FileCommands::Copy()
{
    DirectoryWindow* window = Window();
    if (!window || m_chosen.empty())
        return;
    std::vector<std::string> names;
    for (const ChosenFile& file : m_chosen)
        names.push_back(file.fileName);
    CopyBetweenSides(*window, window->SideOf(m_list), names);
}

// All chosen files in one shell operation, to the Recycle Bin; the shell asks
// and reports. Whatever it did, the side is read again: some files may have
// gone even when the operation as a whole failed or was cut short.
void FileCommands::Delete()
{
    if (m_chosen.empty() || CommandDirectory.empty())
        return;
    std::vector<std::string> names;
    for (const ChosenFile& file : m_chosen) {
        // The shell reads "?" and "*" as wildcards: such a path would delete
        // files nobody chose. Nothing is deleted then.
        if (RefuseUnreachable(file))
            return;
        if (JoinPath(CommandDirectory, file.fileName).find_first_of("?*") != std::string::npos) {
            ShowError(Window() ? Window()->m_hWnd : m_list.m_hWnd, IDS_NAME_UNREADABLE, file.DisplayName().c_str());
            return;
        }
        names.push_back(file.fileName);
    }
    std::string paths = ShellPathList(CommandDirectory, names);
    SHFILEOPSTRUCTA operation = {};
    operation.hwnd = m_list.m_hWnd;
    operation.wFunc = FO_DELETE;
    operation.pFrom = paths.c_str();
    operation.fFlags = FOF_ALLOWUNDO;
    {
        std::unique_ptr<BusyGuard::Hold> hold;
        if (Window())
            hold = std::make_unique<BusyGuard::Hold>(Window()->busy);
        ::SHFileOperationA(&operation);
    }
    RequestRescan();
}

// The edit starts with the name as it is on disk, so that a rename keeps the
// case the user does not touch.
void FileCommands::StartRename()
{
    DirectoryWindow* window = Window();
    if (!window || m_chosen.empty() || CommandDirectory.empty() || RefuseUnreachable(m_chosen.front()))
        return;
    int row = window->FindRow({ window->SideOf(m_list), m_chosen.front().name, m_chosen.front().extension });
    if (row < 0) {
        ::MessageBeep(MB_ICONHAND);
        return;
    }
    StopRenaming();
    m_renaming = m_chosen.front();
    m_renameRow = row;
    m_renameHold = std::make_unique<BusyGuard::Hold>(window->busy);

    // Only a rename started here edits a label; the style is set for it.
    LONG_PTR style = ::GetWindowLongPtrA(m_list.m_hWnd, GWL_STYLE);
    if (!(style & LVS_EDITLABELS))
        ::SetWindowLongPtrA(m_list.m_hWnd, GWL_STYLE, style | LVS_EDITLABELS);
    ::SetFocus(m_list.m_hWnd);
    m_startingEdit = true;
    HWND edit = reinterpret_cast<HWND>(m_list.SendMessage(LVM_EDITLABELA, static_cast<WPARAM>(row)));
    m_startingEdit = false;
    if (!edit)
        StopRenaming();
}

void FileCommands::StopRenaming()
{
    m_renameRow = -1;
    m_renameHold.reset();
}

// Below the side's directory only the last part of the path is renamed.
std::string FileCommands::RenameText() const
{
    return m_renaming.fileName.substr(LeafOffset(m_renaming.fileName));
}

// The virtual list asks for the text of the row whose label it edits; other
// rows have none.
void FileCommands::GiveRowText(const NMHDR& header) const
{
    if (header.code == LVN_GETDISPINFOA) {
        LVITEMA& item = const_cast<NMLVDISPINFOA&>(reinterpret_cast<const NMLVDISPINFOA&>(header)).item;
        if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
            ::lstrcpynA(item.pszText, item.iItem == m_renameRow ? RenameText().c_str() : "", item.cchTextMax);
        return;
    }
    LVITEMW& item = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header)).item;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        std::wstring text = item.iItem == m_renameRow ? ProcessTextToWide(RenameText()) : std::wstring();
        ::lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
    }
}

bool FileCommands::OnReflectedNotify(const NMHDR& header, LRESULT* result)
{
    switch (header.code) {
    case LVN_GETDISPINFOA:
    case LVN_GETDISPINFOW:
        GiveRowText(header);
        *result = 0;
        return true;
    case LVN_BEGINLABELEDITA:
    case LVN_BEGINLABELEDITW:
        // Names are edited only through Rename, never by a slow second click.
        *result = m_startingEdit ? FALSE : TRUE;
        return true;
    case LVN_ENDLABELEDITA: {
        const auto& info = reinterpret_cast<const NMLVDISPINFOA&>(header);
        *result = 0; // the list keeps no text of its own
        EndRename(info.item.iItem, info.item.pszText);
        return true;
    }
    case LVN_ENDLABELEDITW: {
        const auto& info = reinterpret_cast<const NMLVDISPINFOW&>(header);
        *result = 0;
        std::string text;
        if (info.item.pszText) {
            int length = ::WideCharToMultiByte(CP_ACP, 0, info.item.pszText, -1, nullptr, 0, nullptr, nullptr);
            text.resize(length > 0 ? static_cast<size_t>(length) : 1);
            ::WideCharToMultiByte(CP_ACP, 0, info.item.pszText, -1, &text[0], length, nullptr, nullptr);
            text.resize(text.size() - 1);
        }
        EndRename(info.item.iItem, info.item.pszText ? text.c_str() : nullptr);
        return true;
    }
    default:
        return false;
    }
}

void FileCommands::EndRename(int row, const char* text)
{
    if (m_renameRow < 0 || row != m_renameRow)
        return;
    // A cancelled or emptied edit renames nothing.
    if (!text || !*text || m_renaming.fileName.compare(LeafOffset(m_renaming.fileName), std::string::npos, text) == 0) {
        StopRenaming();
        return;
    }
    // The file is renamed once the list has finished with its edit, so that a
    // message box never opens inside the list's own notification.
    m_newName = text;
    m_list.PostMessage(WM_RENAME_EDITED);
}

void FileCommands::Rename()
{
    if (m_renameRow < 0)
        return;
    ChosenFile file = m_renaming;
    std::string newName = m_newName;
    HWND owner = Window() ? Window()->m_hWnd : m_list.m_hWnd;
    if (!IsPlainFileName(newName)) {
        ShowError(owner, IDS_RENAME_REFUSED, newName.c_str());
        StopRenaming();
        return;
    }
    std::string from = JoinPath(CommandDirectory, file.fileName);
    std::string to = JoinPath(CommandDirectory, file.fileName.substr(0, LeafOffset(file.fileName)) + newName);
    if (!::MoveFileA(from.c_str(), to.c_str())) {
        std::string reason = SystemErrorText(::GetLastError());
        ShowError(owner, IDS_RENAME_FAILED, from.c_str(), to.c_str(), reason.c_str());
    }
    StopRenaming();
    RequestRescan();
}

// A file whose name the system could not give and that has no short name
// cannot be reached by any path: the command is refused with a message.
bool FileCommands::RefuseUnreachable(const ChosenFile& file)
{
    if (!file.fileName.empty())
        return false;
    ShowError(Window() ? Window()->m_hWnd : m_list.m_hWnd, IDS_NAME_UNREADABLE, file.DisplayName().c_str());
    return true;
}

void FileCommands::RequestRescan()
{
    if (DirectoryWindow* window = Window())
        window->Directories(window->SideOf(m_list)).RequestFileRescan();
}
