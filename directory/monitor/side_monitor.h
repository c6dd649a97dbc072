// One side's change monitor as the directory list box sees it: the list box
// tells it which directory to watch when the side switches directories.
#pragma once

#include <string>

#include "directory/chooser/directory_list_box.h"
#include "directory/monitor/directory_monitor.h"

static_assert(DirectoryMonitor::TREE_CHANGED == WM_DIR_TREE_CHANGED &&
                  DirectoryMonitor::FILES_CHANGED == WM_DIR_FILES_CHANGED,
              "the monitor posts what the list box handles");

class SideMonitor : public DirectoryWatcher {
public:
    void Watch(const std::string& directory) override { monitor.Watch(directory, wholeTree); }

    DirectoryMonitor monitor;
    // Set by the window in tree mode: the side's whole tree is watched.
    bool wholeTree = false;
};
