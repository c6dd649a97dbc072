// The directory window's comparisons: a row of the lists or two files named
// in the "Compare Files" dialog, each run in a comparison window while this
// window waits hidden.
#include "directory/window/directory_window.h"

#include "common/shared_resources.h"
#include "compare_window/compare_window.h"
#include "directory/window/compare_files_dialog.h"
#include "directory/core/directory_reader.h"
#include "framework/win_app.h"
#include "resources/resource.h"

// ---- Comparing -------------------------------------------------------------

void DirectoryWindow::OnFileListDoubleClick(NMHDR* header, LRESULT*)
{
    if (FileListView* list = ListOf(header))
        CompareSelectedRow(*list);
}

void DirectoryWindow::CompareSelectedRow(FileListView& list)
{
    int rows[2];
    int row = list.GetSelectedRows(2, rows) == 1 ? rows[0] : -1;
    const FileEntry* source = row >= 0 ? sourceFiles.GetEntry(row) : nullptr;
    const FileEntry* master = row >= 0 ? masterFiles.GetEntry(row) : nullptr;
    if (!source || !master) {
        ::MessageBeep(MB_ICONHAND);
        return;
    }
    Side side = SideOf(list);
    // The entries may be gone when the comparison ends: remember the file by name.
    RememberedFile opened = Remember(side, side == SOURCE_SIDE ? *source : *master);
    // Each side's own name on disk, so case-sensitive file systems find both.
    CString sourcePath = JoinPath(ScannedDirectory(SOURCE_SIDE), source->fileName);
    CString masterPath = JoinPath(ScannedDirectory(MASTER_SIDE), master->fileName);
    RunCompareWindow(source->DisplayName(), sourcePath, masterPath, sourceFiles.highlightColour,
                     masterFiles.highlightColour);
    int markedRow = FindRow(opened);
    if (markedRow >= 0) {
        list.GetEntry(markedRow)->mark = 1;
        list.RedrawRow(markedRow);
    }
    SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list.m_hWnd), TRUE);
}

int DirectoryWindow::FindRow(const RememberedFile& file)
{
    FileListView& list = Files(file.side);
    int count = list.RowCount();
    for (int row = 0; row < count; ++row)
        if (IsRememberedFile(file, list.GetEntry(row)))
            return row;
    return -1;
}

bool DirectoryWindow::RunCompareWindow(const CString& titleText, const CString& sourcePath,
                                       const CString& masterPath, COLORREF sourceColour, COLORREF masterColour)
{
    BusyGuard::Hold hold(busy);
    CWinApp* app = AfxGetApp();
    CompareWindow window;
    window.titleText = titleText;
    window.sourcePath = sourcePath;
    window.masterPath = masterPath;
    window.sourceColour = sourceColour;
    window.masterColour = masterColour;
    ::ShowWindow(m_hWnd, SW_HIDE);
    app->m_pMainWnd = &window;
    bool completed = window.Create(this) && window.comparisonResult;
    if (completed) {
        ::SetWindowLongPtrA(window.m_hWnd, GWL_EXSTYLE,
                            ::GetWindowLongPtrA(window.m_hWnd, GWL_EXSTYLE) | WS_EX_APPWINDOW);
        ::ShowWindow(window.m_hWnd, ::IsIconic(window.m_hWnd) ? SW_RESTORE : SW_SHOW);
        ::SetForegroundWindow(window.m_hWnd);
        ::EnableWindow(m_hWnd, FALSE);
        RunCompareLoop(window.m_hWnd);
    }
    if (window.m_hWnd)
        ::DestroyWindow(window.m_hWnd);
    app->m_pMainWnd = this;
    ::EnableWindow(m_hWnd, TRUE);
    ::ShowWindow(m_hWnd, SW_SHOW);
    ::SetForegroundWindow(m_hWnd);
    return completed;
}

void DirectoryWindow::RunCompareLoop(HWND frame)
{
    CWinApp* app = AfxGetApp();
    MSG msg;
    bool programQuit = false;
    int quitCode = 0;
    // A quit waiting while the comparison is still open is the program's:
    // it is kept and passed on afterwards. The quit that a framework posts as
    // its main window, the comparison, is destroyed is swallowed.
    auto takeProgramQuit = [&] {
        MSG quit;
        if (::IsWindow(frame) && ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
            programQuit = true;
            quitCode = static_cast<int>(quit.wParam);
        }
    };
    while (::IsWindow(frame)) {
        while (::IsWindow(frame) && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                programQuit = true;
                quitCode = static_cast<int>(msg.wParam);
                continue;
            }
            takeProgramQuit();
            if (!app->PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        if (!::IsWindow(frame))
            break;
        app->OnIdle(0);
        app->OnIdle(1);
        if (!::IsWindow(frame))
            break;
        // Sleep until input arrives rather than spin.
        ::MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    if (programQuit)
        ::PostQuitMessage(quitCode);
}

void DirectoryWindow::OnCompareFiles()
{
    BusyGuard::Hold hold(busy);
    CompareFilesDialog dialog(this);
    dialog.leftBrowseDirectory = CurrentDirectory(SOURCE_SIDE);
    dialog.rightBrowseDirectory = CurrentDirectory(MASTER_SIDE);
    if (dialog.DoModal() != IDOK)
        return;
    RunCompareWindow("", dialog.leftFile, dialog.rightFile, sourceFiles.highlightColour,
                     masterFiles.highlightColour);
}

