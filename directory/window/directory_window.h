// DirectoryWindow: ORVINTA's main window in directory mode, a resizable
// dialog (119) with the Source directory on the left and the Master
// directory on the right, each with its edit, directory list, drive combo and
// file list, and between them the pattern, the file types and the copy
// buttons. Start-up gives it the two directory texts and reads them back.
#pragma once

#include <climits>
#include <memory>
#include <string>

#include "directory/window/busy_guard.h"
#include "directory/chooser/directory_list_box.h"
#include "directory/chooser/drive_combo.h"
#include "directory/window/file_list_view.h"
#include "directory/chooser/file_type_list.h"
#include "directory/window/layout_anchor.h"
#include "directory/window/preferences_target.h"
#include "directory/monitor/side_monitor.h"
#include "directory/window/background_reader.h"
#include "framework/dialog.h"

class DirectoryWindow : public CDialog, private DirectoryListBoxEvents, public PreferencesTarget {
public:
    // Posted after a range selection: the partner takes the list's focus.
    static constexpr UINT WM_FOLLOW_RANGE = WM_APP + 0x41;
    // Posted by the background reader when it has answers.
    static constexpr UINT WM_READING_ANSWERS = WM_APP + 0x42;

    DirectoryWindow();

    // Exchanged with the directory edits at set-up and when the window closes.
    CString sourceDirectory;
    CString masterDirectory;

    FileListView sourceFiles;
    FileListView masterFiles;
    DirectoryListBox sourceDirectories;
    DirectoryListBox masterDirectories;
    DriveCombo sourceDrives;
    DriveCombo masterDrives;
    FileTypeList fileTypes;
    // Held across every wait; rescans due meanwhile run when it is let go.
    BusyGuard busy;
    // Each side's change monitor, watching while "MonitorChanges" is on.
    SideMonitor monitors[2];
    // How often each side's files have been read.
    int scanCount[2] = { 0, 0 };
    // "Include &Subdirectories": each side lists its whole tree by relative path.
    bool includeSubdirectories = false;
    // "&Link Directories": opening a folder on one side opens it on the other.
    bool linkDirectories = true;
    // Reads contents and folders' trees off the window's thread.
    BackgroundReader reader;
    // True from the start of a reading until its last answer has been taken.
    bool ReadingPending() const { return m_readingJob != 0; }

    // The Preferences dialog lives with the application, which hands it in
    // at start-up; without it the command beeps.
    INT_PTR (*runPreferences)(CWnd* owner, PreferencesTarget& target) = nullptr;

    int minimumWidth = 0;
    int minimumHeight = 0;
    bool layoutReady = false;
    LayoutTable layout;

    FileListView& Files(Side side) { return side == SOURCE_SIDE ? sourceFiles : masterFiles; }
    DirectoryListBox& Directories(Side side) { return side == SOURCE_SIDE ? sourceDirectories : masterDirectories; }
    const DirectoryListBox& Directories(Side side) const
    {
        return side == SOURCE_SIDE ? sourceDirectories : masterDirectories;
    }
    Side SideOf(const FileListView& list) const { return &list == &sourceFiles ? SOURCE_SIDE : MASTER_SIDE; }
    // The side's current directory (a drive root as "d:").
    const std::string& CurrentDirectory(Side side) const;
    // The directory the side's entries were last read from.
    const std::string& ScannedDirectory(Side side) const { return m_scannedDirectory[side]; }
    // Reads the filters into the combo and applies the remembered choice.
    void LoadFileTypes() override;

    // Rebuilds the rows of both lists from the two sides' entries.
    void PairEntries() override;
    // Clears and scans the sides (bits of SideBit) with the pattern text, then pairs.
    void RescanSides(unsigned sides);
    // Compares the single selected row of the list in a comparison window.
    void CompareSelectedRow(FileListView& list);
    // Runs a comparison window on two files, hiding and disabling this window
    // while it lives; false when its comparison did not complete.
    bool RunCompareWindow(const CString& titleText, const CString& sourcePath, const CString& masterPath,
                          COLORREF sourceColour, COLORREF masterColour);
    // The row of a remembered file in its list now, or -1.
    int FindRow(const RememberedFile& file);

    void ApplyDirectoryEdit(Side side);
    void ApplyPattern();
    void ChooseFileType();
    // Enables the copy button that copies away from the side's list.
    void UpdateCopyButton(Side side);
    bool SidesAreSameDirectory() const;
    // Both sides watch their current directories (Source first), or stop.
    void SetMonitoring(bool on);

    // What the Preferences dialog puts into effect here.
    std::vector<FileTypeFilter> FileTypeFilters() const override;
    void SetSourceHighlightColour(COLORREF colour) override;
    void SetMasterHighlightColour(COLORREF colour) override;
    void WatchSource(bool on) override;
    void WatchMaster(bool on) override;

    bool PreTranslateMessage(MSG* msg) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnGetMinMaxInfo(WPARAM, LPARAM);
    LRESULT OnClose(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnSysCommand(WPARAM, LPARAM);
    LRESULT OnRButtonDown(WPARAM, LPARAM);
    LRESULT OnFollowRange(WPARAM side, LPARAM);

    void OnAbout();
    void OnCompareFiles();
    void OnPreferences();
    void OnExit();
    void OnHelpContents();
    void OnHelpButton();
    void OnSourceEditKillFocus();
    void OnMasterEditKillFocus();
    void OnPatternKillFocus();
    void OnFileTypeChosen();
    void OnSourceDriveChosen();
    void OnMasterDriveChosen();
    void OnSourceDirectoryOpened();
    void OnMasterDirectoryOpened();
    void OnFileListDoubleClick(NMHDR* header, LRESULT* result);
    void OnFileListSetFocus(NMHDR* header, LRESULT* result);
    void OnFileListItemChanged(NMHDR* header, LRESULT* result);
    void OnFileListRangeChanged(NMHDR* header, LRESULT* result);
    void OnCopyToMaster();
    void OnCopyToSource();
    void OnIncludeSubdirectories();
    void OnUpdateIncludeSubdirectories(CCmdUI* ui);
    void OnLinkDirectories();
    void OnUpdateLinkDirectories(CCmdUI* ui);

private:
    void CaptureLayout();
    void MoveControls();
    void AppendSystemMenuItems();
    void RestorePlacement();
    void SavePlacement();
    void Close();
    FileListView* ListOf(const NMHDR* header);
    // The copy button and the partner's focus follow a change of selection.
    void FollowSelection(FileListView& list);
    // Runs the comparison window's messages while it exists, waiting for
    // input when there is none.
    void RunCompareLoop(HWND frame);

    void OnRescanFiles(DirectoryListBox& side) override;
    void OnFoldersRelisted(DirectoryListBox& side) override;
    // Starts reading what the rows and folders on show still need (the
    // pairs not known yet, which subfolders differ); cancels what ran before.
    void StartReading();
    LRESULT OnReadingAnswers(WPARAM, LPARAM);
    void RepaintReadRows();
    LRESULT OnTimer(WPARAM, LPARAM);
    static constexpr UINT_PTR READING_TIMER = 0x5B01;
    static constexpr UINT READING_POLL_MS = 100;
    static constexpr unsigned DEFERRED_JOB = ~0u;
    std::unique_ptr<ReadingJob> m_deferredJob;
    // Tree mode: each subfolder's colour from its rows.
    void ShowTreeFolderStates();
    void OnDirectoryOpened(DirectoryListBox& side, const std::string& from) override;
    // Both sides' present directories become the places following starts from.
    void SetFollowStart();

    // The two checked commands: their settings, and their checks in the system menu.
    void LoadTreeSettings();
    void CheckSystemMenuItems();
    // Each side's monitor covers its whole tree in tree mode, its directory otherwise.
    void WatchTrees();

    void AttachMonitors();
    void StopMonitors();

    int m_applyingEdit[2] = { 0, 0 };
    bool m_closing = false; // the edits lose the focus as the window goes
    std::string m_scannedDirectory[2];
    std::string m_followStart[2];
    unsigned m_readingJob = 0;
    int m_unpaintedFirst = INT_MAX; // rows read since the last repaint
    int m_unpaintedLast = -1;
    std::vector<size_t> m_readingRows;        // the row of each pair being read
    std::vector<FolderToJudge> m_readingFolders;
    std::string m_scannedPattern;

    DECLARE_MESSAGE_MAP()
};
