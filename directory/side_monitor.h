// One side's change monitor as the directory list box sees it: the list box
// tells it which directory to watch when the side switches directories.
#pragma once

#include <string>

#include "directory/directory_list_box.h"
// After the list box: it declares the two posted messages the monitor uses.
#include "directory/directory_monitor.h"

class SideMonitor : public DirectoryWatcher {
public:
    void Watch(const std::string& directory) override { monitor.Watch(directory); }

    DirectoryMonitor monitor;
};
