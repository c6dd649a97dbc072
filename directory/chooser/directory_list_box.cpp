#include "directory/chooser/directory_list_box.h"

#include <direct.h>

#include <algorithm>
#include <cstring>

#include "common/code_pages_win32.h"
#include "common/path_tests.h"
#include "common/process_values.h"
#include "common/shared_resources.h"
#include "directory/chooser/directory_path.h"
#include "directory/chooser/drive_combo.h"
#include "directory/monitor/monitor_paths.h"
#include "directory/core/directory_reader.h"
#include "directory/core/name_order.h"
#include "directory/chooser/transparent_image.h"

namespace {

constexpr int IMAGE_ANCESTOR = 0;
constexpr int IMAGE_CURRENT = 1;
constexpr int IMAGE_SUBDIRECTORY = 2;
constexpr int INDENT_PER_LEVEL = 4;
constexpr int TEXT_OFFSET = 20;

bool IsBareDrive(const std::string& path)
{
    return path.size() == 2 && path[1] == ':';
}

// A bare drive is its root; anything else by the directory test.
bool ExistsAsDirectory(const std::string& path)
{
    return IsBareDrive(path) ? IsDirectory(path + "\\") : IsDirectory(path);
}

// Names whose short name is missing or the same (8.3 names, often upper case
// on FAT) are shown in lower case; long names keep their case.
std::string DisplayName(const FoundEntry& found)
{
    std::string name = found.fileName;
    if (found.shortNameIsLongName)
        ::CharLowerA(&name[0]);
    return name;
}

struct Subdirectory {
    std::string text;     // as listed
    std::string diskName; // what the item's path is built from
};

std::vector<Subdirectory> Subdirectories(const std::vector<FoundEntry>& listing)
{
    std::vector<Subdirectory> names;
    for (const FoundEntry& found : listing) {
        if (!(found.attributes & ENTRY_DIRECTORY))
            continue;
        // "?" stands for a character the code page lacks: the path goes by the
        // short name, or is left empty (the item opens nothing) without one.
        names.push_back({ DisplayName(found), found.nameUnreadable ? found.shortName : found.fileName });
    }
    // The order of the file lists.
    std::sort(names.begin(), names.end(), [](const Subdirectory& a, const Subdirectory& b) {
        return CompareWholeNames(a.text, b.text) < 0;
    });
    return names;
}

// A path relative to the process's directory (or to a drive's) made whole, so
// that the ancestor chain can be read off it.
std::string AbsolutePath(const std::string& path)
{
    bool rooted = !path.empty() && (path[0] == '\\' || path[0] == '/');
    bool driveRooted = path.size() > 2 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    if (path.empty() || rooted || driveRooted || IsBareDrive(path))
        return path;
    return FullDirectoryPath(path);
}

} // namespace

std::string FullDirectoryPath(const std::string& path)
{
    // "d:" alone would be the drive's working directory to the system.
    if (path.empty() || IsBareDrive(path))
        return path;
    // Sized by the system: a UTF-8 path may need more bytes than MAX_PATH.
    DWORD size = ::GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::string full(size, '\0');
    DWORD length = ::GetFullPathNameA(path.c_str(), size, &full[0], nullptr);
    if (length == 0 || length >= size)
        return path;
    full.resize(length);
    return full;
}

BEGIN_MESSAGE_MAP(DirectoryListBox, CListBox)
ON_MESSAGE(WM_TIMER, OnTimer)
ON_MESSAGE(WM_DIR_TREE_CHANGED, OnTreeChanged)
ON_MESSAGE(WM_DIR_FILES_CHANGED, OnFilesChanged)
END_MESSAGE_MAP()

DirectoryListBox::DirectoryListBox() = default;

DirectoryListBox::~DirectoryListBox()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        ::KillTimer(m_hWnd, DIRECTORY_REFRESH_TIMER);
        ::KillTimer(m_hWnd, FILE_RESCAN_TIMER);
    }
}

bool DirectoryListBox::Bind(HWND listBox, DriveCombo* driveCombo, HWND directoryEdit)
{
    if (!SubclassWindow(listBox))
        return false;
    m_driveCombo = driveCombo;
    m_directoryEdit = directoryEdit;
    // The control measured its items while it was created, before it was bound.
    SetItemHeight(0, DIRECTORY_ITEM_HEIGHT);
    return true;
}

std::string DirectoryListBox::ItemPath(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= m_itemPaths.size())
        return std::string();
    return m_itemPaths[static_cast<size_t>(index)];
}

char DirectoryListBox::DriveLetter() const
{
    if (m_driveIndex >= 0)
        return static_cast<char>('a' + m_driveIndex);
    char current[MAX_PATH];
    DWORD length = ::GetCurrentDirectoryA(sizeof current, current);
    if (length >= 2 && length < sizeof current && current[1] == ':' && DriveIndexOf(current[0]) >= 0)
        return static_cast<char>('a' + DriveIndexOf(current[0]));
    return 'c';
}

void DirectoryListBox::SetEditText(const std::string& text)
{
    if (m_directoryEdit)
        ::SetWindowTextA(m_directoryEdit, text.c_str());
}

void DirectoryListBox::FillDirectoryList(const std::string& path)
{
    bool hasDrive = path.size() > 1 && path[1] == ':';
    int pathDrive = hasDrive ? DriveIndexOf(path[0]) : -1;
    if (hasDrive && pathDrive < 0) {
        ::MessageBeep(MB_ICONHAND);
        return;
    }
    m_currentDirectory = path;
    ResetContent();
    m_itemPaths.clear();
    m_levelCount = 0;

    // The root item names the path's own drive when it has one.
    char drive = hasDrive ? static_cast<char>('a' + pathDrive) : DriveLetter();
    for (const ChainItem& item : AncestorChain(path, drive)) {
        AddString(item.text.c_str());
        m_itemPaths.push_back(item.path);
        ++m_levelCount;
    }
    // Everything the directory holds, so that the rescan that follows a
    // change of directory can take its files from here (TakeListing).
    m_listing.clear();
    m_listingFresh = false;
    ListDirectory(path, "*.*", [this](const FoundEntry& found) { m_listing.push_back(found); });
    for (const Subdirectory& item : Subdirectories(m_listing)) {
        AddString(item.text.c_str());
        m_itemPaths.push_back(item.diskName.empty() ? std::string() : path + "\\" + item.diskName);
    }
    m_folderStates.assign(m_itemPaths.size(), -1);
    SetCurSel(m_levelCount - 1);
}

void DirectoryListBox::SetHighlightColour(COLORREF colour)
{
    m_highlightColour = colour;
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

std::vector<std::string> DirectoryListBox::SubfolderNames() const
{
    std::vector<std::string> names;
    for (size_t i = static_cast<size_t>(m_levelCount); i < m_itemPaths.size(); ++i) {
        const std::string& path = m_itemPaths[i];
        if (!path.empty())
            names.push_back(path.substr(path.rfind('\\') + 1));
    }
    return names;
}

void DirectoryListBox::SetFolderState(const std::string& folderPath, int state)
{
    if (folderPath.empty())
        return;
    for (size_t i = static_cast<size_t>(m_levelCount); i < m_itemPaths.size(); ++i) {
        if (m_itemPaths[i] != folderPath)
            continue;
        if (m_folderStates[i] != state) {
            m_folderStates[i] = state;
            RECT item;
            if (m_hWnd && SendMessage(LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item)) != LB_ERR)
                ::InvalidateRect(m_hWnd, &item, FALSE);
        }
        return;
    }
}

void DirectoryListBox::SetFolderStateByName(const std::string& diskName, int state)
{
    SetFolderState(m_currentDirectory + "\\" + diskName, state);
}

int DirectoryListBox::FolderState(int index) const
{
    return index >= 0 && static_cast<size_t>(index) < m_folderStates.size() ? m_folderStates[index] : -1;
}

void DirectoryListBox::SetDirectory(const std::string& requested)
{
    std::string path = AbsolutePath(requested);
    if (path.size() > 1 && path[1] == ':') {
        int drive = DriveIndexOf(path[0]);
        if (drive >= 0 && drive != m_driveIndex) {
            m_driveIndex = drive;
            if (m_driveCombo)
                m_driveCombo->SelectDrive(drive);
        }
    }
    path = NormalizeDirectoryPath(FullDirectoryPath(NormalizeDirectoryPath(path, DriveLetter())), DriveLetter());
    if (path == m_currentDirectory)
        return;
    if (m_watcher)
        m_watcher->Watch(std::string());
    if (IsBareDrive(path) || IsDirectory(path)) {
        FillDirectoryList(path);
        m_listingFresh = m_currentDirectory == path;
    }
    RequestFileRescan();
    // After the listing: under Wine a directory that is open while a subtree
    // watch begins can stay outside it.
    if (g_values.monitorChanges && m_watcher)
        m_watcher->Watch(m_currentDirectory);
}

bool DirectoryListBox::TakeListing(const std::string& directory, std::vector<FoundEntry>& listing)
{
    bool fresh = m_listingFresh && directory == m_currentDirectory;
    if (fresh)
        listing.swap(m_listing);
    ForgetListing();
    return fresh;
}

void DirectoryListBox::ForgetListing()
{
    m_listingFresh = false;
    std::vector<FoundEntry>().swap(m_listing);
}

void DirectoryListBox::OpenSelectedDirectory()
{
    std::string path = ItemPath(GetCurSel());
    if (path.empty())
        return;
    std::string from = m_currentDirectory;
    SetEditText(path);
    SetDirectory(path);
    if (m_events)
        m_events->OnDirectoryOpened(*this, from);
}

void DirectoryListBox::DriveSelected()
{
    if (!m_driveCombo)
        return;
    int drive = m_driveCombo->SelectedDrive();
    if (drive < 0)
        return;
    m_driveIndex = drive;
    char directory[260];
    if (!::_getdcwd(drive + 1, directory, sizeof directory))
        return;
    ::CharLowerA(directory);
    SetEditText(directory);
    SetDirectory(directory);
}

void DirectoryListBox::RequestFileRescan()
{
    if (!m_hWnd)
        return;
    ::KillTimer(m_hWnd, FILE_RESCAN_TIMER);
    ::SetTimer(m_hWnd, FILE_RESCAN_TIMER, REFRESH_DELAY_MS, nullptr);
}

void DirectoryListBox::RequestDirectoryRefresh()
{
    if (!m_hWnd)
        return;
    ::KillTimer(m_hWnd, DIRECTORY_REFRESH_TIMER);
    ::SetTimer(m_hWnd, DIRECTORY_REFRESH_TIMER, REFRESH_DELAY_MS, nullptr);
}

// WM_TIMER: one of the two refresh timers ran out (other ids are the control's own).
LRESULT DirectoryListBox::OnTimer(WPARAM id, LPARAM)
{
    if (id == FILE_RESCAN_TIMER) {
        ::KillTimer(m_hWnd, FILE_RESCAN_TIMER);
        if (m_events)
            m_events->OnRescanFiles(*this);
        return 0;
    }
    if (id == DIRECTORY_REFRESH_TIMER) {
        ::KillTimer(m_hWnd, DIRECTORY_REFRESH_TIMER);
        RefreshDirectory();
        return 0;
    }
    return Default();
}

// WM_DIR_TREE_CHANGED from the monitor: directory names changed somewhere below.
LRESULT DirectoryListBox::OnTreeChanged(WPARAM, LPARAM)
{
    RequestDirectoryRefresh();
    return 0;
}

// WM_DIR_FILES_CHANGED from the monitor: files of the current directory changed.
LRESULT DirectoryListBox::OnFilesChanged(WPARAM, LPARAM)
{
    ForgetListing();
    RequestFileRescan();
    return 0;
}

std::string DirectoryListBox::WindowsDirectory() const
{
    char directory[MAX_PATH];
    UINT length = ::GetWindowsDirectoryA(directory, sizeof directory);
    if (length == 0 || length >= sizeof directory)
        return "c:";
    return NormalizeDirectoryPath(std::string(directory, length), DriveLetter());
}

// Rebuilds the list. A directory that has gone gives way to its nearest
// existing ancestor (the Windows directory when even its root is gone)
// through SetDirectory, so that the files are read again from there and the
// watch moves with the side.
void DirectoryListBox::RefreshDirectory()
{
    if (m_currentDirectory.empty())
        return;
    std::string path = NearestExistingDirectory(m_currentDirectory, ExistsAsDirectory, WindowsDirectory());
    if (path == m_currentDirectory) {
        FillDirectoryList(path);
        ForgetListing();
        if (m_events)
            m_events->OnFoldersRelisted(*this);
        return;
    }
    SetEditText(path);
    SetDirectory(path);
}

bool DirectoryListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = DIRECTORY_ITEM_HEIGHT;
        *result = TRUE;
        return true;
    case WM_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        *result = TRUE;
        return true;
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        // Answer every key and character: left to a dialog, an unanswered one
        // comes back as 0, which moves the selection to the root item.
        if (message == WM_VKEYTOITEM && LOWORD(wParam) == VK_SPACE)
            OpenSelectedDirectory();
        *result = -1;
        return true;
    default:
        return false;
    }
}

void DirectoryListBox::DrawItem(const DRAWITEMSTRUCT& draw)
{
    HDC dc = draw.hDC;
    RECT rect = draw.rcItem;
    if (draw.itemAction & ODA_FOCUS) {
        ::DrawFocusRect(dc, &rect);
        return;
    }
    int index = static_cast<int>(draw.itemID);
    if (index < 0 || static_cast<size_t>(index) >= m_itemPaths.size())
        return;

    COLORREF oldBack = ::GetBkColor(dc);
    COLORREF oldText = ::GetTextColor(dc);
    if (draw.itemState & ODS_SELECTED) {
        ::SetBkColor(dc, ::GetSysColor(COLOR_HIGHLIGHT));
        ::SetTextColor(dc, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else if (FolderState(index) == 1) {
        ::SetBkColor(dc, m_highlightColour);
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    }
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);

    int indent = INDENT_PER_LEVEL * std::min(index, m_levelCount);
    int image = index < m_levelCount - 1 ? IMAGE_ANCESTOR : index == m_levelCount - 1 ? IMAGE_CURRENT
                                                                                      : IMAGE_SUBDIRECTORY;
    DrawTransparentImage(dc, rect.left + indent, rect.top, g_statusBitmap, 16 * image);

    // UTF-16, so that a UTF-8 name is not read as the legacy code page; at
    // the item's top, as the file lists draw their rows.
    std::wstring text = ProcessTextToWide(GetText(index));
    RECT textRect = rect;
    textRect.left = std::min(rect.right, rect.left + indent + TEXT_OFFSET);
    ::ExtTextOutW(dc, textRect.left, rect.top, ETO_CLIPPED | ETO_OPAQUE, &textRect, text.c_str(),
                  static_cast<UINT>(text.size()), nullptr);

    ::SetBkColor(dc, oldBack);
    ::SetTextColor(dc, oldText);
}
