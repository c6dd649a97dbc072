// The directory window's side of copying and watching: the copy buttons and
// the two change monitors, whose messages reach each side's list box.
#include "directory/window/directory_window.h"

#include "common/process_values.h"
#include "directory/copy/copy_between_sides.h"

// ---- Copy buttons ------------------------------------------------------------

// "Co&py to Master >>": the Source list's chosen files into the Master directory.
void DirectoryWindow::OnCopyToMaster()
{
    if (!SidesAreSameDirectory())
        CopyBetweenSides(*this, SOURCE_SIDE, SelectedFileNames(sourceFiles));
}

// "<< &Copy To Source": the Master list's chosen files into the Source directory.
void DirectoryWindow::OnCopyToSource()
{
    if (!SidesAreSameDirectory())
        CopyBetweenSides(*this, MASTER_SIDE, SelectedFileNames(masterFiles));
}

// ---- Change monitors ------------------------------------------------------------

// Each side's monitor posts to that side's list box, whose timers merge the
// bursts. The list box starts and moves the watch as it switches directories
// (while "MonitorChanges" is on, which start-up allows on Windows NT only).
void DirectoryWindow::AttachMonitors()
{
    for (Side side : { SOURCE_SIDE, MASTER_SIDE }) {
        monitors[side].monitor.SetTargetWindow(Directories(side).m_hWnd);
        Directories(side).SetWatcher(&monitors[side]);
    }
}

void DirectoryWindow::SetMonitoring(bool on)
{
    WatchSource(on);
    WatchMaster(on);
}

// The workers end before the windows they post to go away.
void DirectoryWindow::StopMonitors()
{
    for (Side side : { SOURCE_SIDE, MASTER_SIDE }) {
        Directories(side).SetWatcher(nullptr);
        monitors[side].monitor.SetTargetWindow(nullptr);
        monitors[side].monitor.Stop();
    }
}

// ---- Preferences put into effect --------------------------------------------

std::vector<FileTypeFilter> DirectoryWindow::FileTypeFilters() const
{
    return fileTypes.Filters();
}

// A new highlight colour repaints only that side's list.
void DirectoryWindow::SetSourceHighlightColour(COLORREF colour)
{
    sourceFiles.SetHighlightColour(colour);
    sourceDirectories.SetHighlightColour(colour);
}

void DirectoryWindow::SetMasterHighlightColour(COLORREF colour)
{
    masterFiles.SetHighlightColour(colour);
    masterDirectories.SetHighlightColour(colour);
}

void DirectoryWindow::WatchSource(bool on)
{
    monitors[SOURCE_SIDE].Watch(on ? CurrentDirectory(SOURCE_SIDE) : std::string());
}

void DirectoryWindow::WatchMaster(bool on)
{
    monitors[MASTER_SIDE].Watch(on ? CurrentDirectory(MASTER_SIDE) : std::string());
}
