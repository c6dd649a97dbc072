// FileCommands: what a file list offers through the right mouse button. A
// click on chosen files opens the "Context" menu (compare with the facing
// file, copy, delete, rename, help); a drag onto the other list opens the
// "Drop" menu (compare with the file under the pointer, copy). Delete goes to
// the Recycle Bin in one shell operation; Rename edits the name in place.
//
// The files are remembered by name when the gesture starts and the window's
// busy guard is held until the command is done: a rescan that would replace
// every row waits, and the commands never act on a row that has come to hold
// another file.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "directory/window/busy_guard.h"
#include "directory/window/drag_gesture.h"

class FileListView;
class DirectoryWindow;
struct FileEntry;

// One file a command acts on.
struct ChosenFile {
    std::string name;      // as the list shows it
    std::string extension;
    std::string fileName;  // as on disk: paths are built from this; "" when unknown
    bool nameUnreadable = false; // listed with "?" for what the code page lacks
    std::string DisplayName() const;
};
ChosenFile Choose(const FileEntry& entry);

class FileCommands {
public:
    // Posted to the list when an edit in place has ended with a new name.
    static constexpr UINT WM_RENAME_EDITED = WM_APP + 0x40;

    explicit FileCommands(FileListView& list) : m_list(list) {}
    ~FileCommands();
    FileCommands(const FileCommands&) = delete;
    FileCommands& operator=(const FileCommands&) = delete;

    // Every message of the list is offered here first; true when handled.
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A notification of the list that its parent reflects back to it.
    bool OnReflectedNotify(const NMHDR& header, LRESULT* result);

    bool IsDragging() const { return m_dragging; }
    DragZone Zone() const { return m_zone; }
    bool IsRenaming() const { return m_renameRow >= 0; }
    // The files of the last gesture, in row order.
    const std::vector<ChosenFile>& Chosen() const { return m_chosen; }

    // The partner row that Compare pairs with.
    int TargetRow = -1;
    // The side's current directory when the menu opened: Delete and Rename act there.
    std::string CommandDirectory;

    // Shows a menu and returns the command chosen (0 for none). Tests put a
    // recorder in its place; the default tracks the menu at the point.
    using MenuTracker = UINT (*)(HMENU menu, HWND owner, POINT screenPoint);
    static MenuTracker SetMenuTracker(MenuTracker tracker);

private:
    DirectoryWindow* Window() const;
    void OnRButtonDown(WPARAM keys, LPARAM point);
    void SelectForRightClick(WPARAM keys, POINT point);
    void OnMouseMove(WPARAM keys, LPARAM point);
    void OnRButtonUp(LPARAM point);
    void UpdateZone(LPARAM point);
    void EndGesture();
    POINT ReleasePoint() const;
    void OpenContextMenu();
    void OpenDropMenu();
    void RunMenu(int subMenu, const MenuEnabling& enabling, POINT screenPoint);
    bool OnCommand(UINT id);

    void Compare();
    void Copy();
    void Delete();
    void StartRename();
    void EndRename(int row, const char* text);
    void Rename();
    void StopRenaming();
    std::string RenameText() const;
    void GiveRowText(const NMHDR& header) const;
    void RequestRescan();
    bool RefuseUnreachable(const ChosenFile& file);

    FileListView& m_list;
    bool m_dragging = false;
    POINT m_start = { 0, 0 };
    POINT m_lastPoint = { 0, 0 };
    SIZE m_threshold = { 0, 0 };
    DragZone m_zone = DragZone::NotMoved;
    std::vector<ChosenFile> m_chosen;
    ChosenFile m_target;
    bool m_hasTarget = false;
    // From the right button going down until the command chosen is done.
    std::unique_ptr<BusyGuard::Hold> m_gestureHold;
    // While a name is edited in place.
    std::unique_ptr<BusyGuard::Hold> m_renameHold;
    ChosenFile m_renaming;
    std::string m_newName;
    int m_renameRow = -1;
    bool m_startingEdit = false;
};
