// The directory window's two checked commands: "Include &Subdirectories"
// (each side lists the whole tree below its directory) and "&Link
// Directories" (opening a folder on one side opens it on the other).
#include "directory/window/directory_window.h"

#include "common/process_values.h"
#include "common/path_tests.h"
#include "common/settings_names.h"
#include "directory/window/follow_directory.h"
#include "framework/win_app.h"
#include "resources/resource.h"

void DirectoryWindow::LoadTreeSettings()
{
    CWinApp* app = AfxGetApp();
    includeSubdirectories = app->GetProfileInt(SECTION_PREFERENCES, "IncludeSubdirectories", 0) != 0;
    linkDirectories = app->GetProfileInt(SECTION_PREFERENCES, "LinkDirectories", 1) != 0;
    for (SideMonitor& side : monitors)
        side.wholeTree = includeSubdirectories;
}

// The system menu gets no update pass of its own: its checks follow each change.
void DirectoryWindow::CheckSystemMenuItems()
{
    HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
    if (!menu)
        return;
    ::CheckMenuItem(menu, ID_DIRECTORY_INCLUDE_SUBDIRECTORIES,
                    MF_BYCOMMAND | (includeSubdirectories ? MF_CHECKED : MF_UNCHECKED));
    ::CheckMenuItem(menu, ID_DIRECTORY_LINK_DIRECTORIES, MF_BYCOMMAND | (linkDirectories ? MF_CHECKED : MF_UNCHECKED));
}

// "Include &Subdirectories": both sides are read again in the other mode.
void DirectoryWindow::OnIncludeSubdirectories()
{
    includeSubdirectories = !includeSubdirectories;
    AfxGetApp()->WriteProfileInt(SECTION_PREFERENCES, "IncludeSubdirectories", includeSubdirectories ? 1 : 0);
    CheckSystemMenuItems();
    // The watches begin after the scan: under Wine a folder that is being
    // listed while a subtree watch is walked can stay outside the watch.
    busy.RescanDue(BOTH_SIDES);
    WatchTrees();
}

void DirectoryWindow::OnUpdateIncludeSubdirectories(CCmdUI* ui)
{
    ui->SetCheck(includeSubdirectories ? 1 : 0);
}

void DirectoryWindow::WatchTrees()
{
    for (SideMonitor& side : monitors)
        side.wholeTree = includeSubdirectories;
    if (g_values.monitorChanges)
        SetMonitoring(true);
}

// "&Link Directories": whether opening a folder on one side follows on the other.
void DirectoryWindow::OnLinkDirectories()
{
    linkDirectories = !linkDirectories;
    AfxGetApp()->WriteProfileInt(SECTION_PREFERENCES, "LinkDirectories", linkDirectories ? 1 : 0);
    CheckSystemMenuItems();
}

void DirectoryWindow::OnUpdateLinkDirectories(CCmdUI* ui)
{
    ui->SetCheck(linkDirectories ? 1 : 0);
}

void DirectoryWindow::SetFollowStart()
{
    for (Side side : { SOURCE_SIDE, MASTER_SIDE })
        m_followStart[side] = CurrentDirectory(side);
}

// A folder opened by the user on one side opens on the other where that side
// stands at the same place from the start and the folder exists there.
void DirectoryWindow::OnDirectoryOpened(DirectoryListBox& side, const std::string& from)
{
    Side moved = &side == &sourceDirectories ? SOURCE_SIDE : MASTER_SIDE;
    Side other = moved == SOURCE_SIDE ? MASTER_SIDE : SOURCE_SIDE;
    const std::string& to = CurrentDirectory(moved);
    if (!linkDirectories || to == from)
        return;
    std::string target = FollowingDirectory(from, to, m_followStart[moved], CurrentDirectory(other),
                                            m_followStart[other]);
    if (target.empty() || !IsDirectory(target))
        return;
    Directories(other).SetEditText(target);
    Directories(other).SetDirectory(target);
}
