// DirectoryListBox: one side's directory chooser. It holds the side's current
// directory and drive, shows the chain of the directory's ancestors followed by
// its subdirectories (owner-drawn with the pictures of bitmap 576), and merges
// bursts of refresh requests through two 500 ms timers.
#pragma once

#include <string>
#include <vector>

#include "directory/core/directory_reader.h"
#include "framework/list_box.h"

class DriveCombo;
class DirectoryListBox;

// The path with "." and ".." parts resolved (GetFullPathName), so that two
// spellings of one directory compare equal; a bare drive ("d:") as it is.
std::string FullDirectoryPath(const std::string& path);

// Posted to the list box window by the side's change monitor.
constexpr UINT WM_DIR_TREE_CHANGED = WM_USER + 0x100;  // directory names changed: refresh the list
constexpr UINT WM_DIR_FILES_CHANGED = WM_USER + 0x101; // files changed: rescan them

// What the list box needs from its owner, the directory window.
class DirectoryListBoxEvents {
public:
    virtual ~DirectoryListBoxEvents() = default;
    // The file-rescan timer fired: the side's files must be read again from its
    // current directory with the window's pattern text, and both sides paired.
    virtual void OnRescanFiles(DirectoryListBox& side) = 0;
    // The user opened a folder of the list (or an ancestor), leaving `from`.
    virtual void OnDirectoryOpened(DirectoryListBox& side, const std::string& from)
    {
        (void)side;
        (void)from;
    }
    // The list was read again for the same directory (folder names changed):
    // what the window knew of its folders is gone.
    virtual void OnFoldersRelisted(DirectoryListBox& side) { (void)side; }
};

// The side's change monitor, as far as switching directories concerns it.
class DirectoryWatcher {
public:
    virtual ~DirectoryWatcher() = default;
    // Watches the directory; an empty path stops watching.
    virtual void Watch(const std::string& directory) = 0;
};

class DirectoryListBox : public CListBox {
public:
    DirectoryListBox();
    ~DirectoryListBox() override;

    // Binds the list box control (owner-drawn fixed, with strings, notify, want
    // keyboard input, unsorted) with the side's drive combo and directory edit.
    bool Bind(HWND listBox, DriveCombo* driveCombo, HWND directoryEdit);
    void SetEvents(DirectoryListBoxEvents* events) { m_events = events; }
    void SetWatcher(DirectoryWatcher* watcher) { m_watcher = watcher; }

    // Rebuilds the list for the path and makes it the current directory; beeps
    // and changes nothing when the path names a drive that is not a to z.
    void FillDirectoryList(const std::string& path);
    // Normalises the path and, when it differs from the current directory,
    // switches to it and asks for a rescan of the files.
    void SetDirectory(const std::string& path);
    // The listing the last switch of directory made, when nothing has changed
    // since and it is of this directory: once, for the rescan that follows.
    bool TakeListing(const std::string& directory, std::vector<FoundEntry>& listing);
    // The selected item's directory goes into the edit and becomes current.
    void OpenSelectedDirectory();
    // The drive combo's choice: that drive's working directory becomes current.
    void DriveSelected();

    // Both restart their timer, so requests within 500 ms collapse into one refresh.
    void RequestFileRescan();
    void RequestDirectoryRefresh();

    const std::string& CurrentDirectory() const { return m_currentDirectory; }
    int DriveIndex() const { return m_driveIndex; }
    // The current directory and its ancestors at the top of the list.
    int LevelCount() const { return m_levelCount; }
    // The directory that list item stands for; empty for no item.
    std::string ItemPath(int index) const;

    void DrawItem(const DRAWITEMSTRUCT& draw);

    // Which subfolders differ from the other side's: a folder whose state is
    // 1 is drawn in the side's highlight colour; every refill forgets them.
    void SetHighlightColour(COLORREF colour);
    // The disk names of the current directory's subfolders, in list order.
    std::vector<std::string> SubfolderNames() const;
    void SetFolderState(const std::string& folderPath, int state);
    void SetFolderStateByName(const std::string& diskName, int state);
    int FolderState(int index) const;

    // Timer ids. The list box control runs timers of its own while the mouse
    // drags over it, so these stay clear of small numbers.
    static constexpr UINT_PTR DIRECTORY_REFRESH_TIMER = 0x5A01;
    static constexpr UINT_PTR FILE_RESCAN_TIMER = 0x5A02;
    static constexpr UINT REFRESH_DELAY_MS = 500;

    // Shows the path in the side's directory edit.
    void SetEditText(const std::string& text);

protected:
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    LRESULT OnTimer(WPARAM id, LPARAM);
    LRESULT OnTreeChanged(WPARAM, LPARAM);
    LRESULT OnFilesChanged(WPARAM, LPARAM);
    void RefreshDirectory();
    void ForgetListing();
    std::string WindowsDirectory() const;
    char DriveLetter() const;

    std::vector<std::string> m_itemPaths;
    std::vector<int> m_folderStates; // per item, -1 not known
    std::vector<FoundEntry> m_listing;
    bool m_listingFresh = false;
    COLORREF m_highlightColour = RGB(255, 255, 0);
    DriveCombo* m_driveCombo = nullptr;
    HWND m_directoryEdit = nullptr;
    DirectoryListBoxEvents* m_events = nullptr;
    DirectoryWatcher* m_watcher = nullptr;
    int m_levelCount = 0;
    int m_driveIndex = -1; // none until a path names its drive
    std::string m_currentDirectory;

    DECLARE_MESSAGE_MAP()
};
