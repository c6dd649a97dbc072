// What a side's change monitor watches, and where a side goes when the
// directory it shows has been removed. Portable: plain string work.
#pragma once

#include <functional>
#include <string>

struct WatchPaths {
    // Directory names anywhere below this one (the top-level directory of
    // the shown one: d:\src for d:\src\lib\x) refresh the directory list.
    std::string tree;
    // File names, sizes and write times in this one rescan the file list.
    std::string files;
};

// Both empty for an empty directory (nothing to watch). A drive root, held as
// "d:", is watched as "d:\" by both. A UNC path's top level lies below its
// share (\\server\share\top).
WatchPaths WatchPathsFor(const std::string& directory);

// The directory a side moves to when its own is gone: the directory itself
// or its nearest ancestor for which isDirectory holds (a drive root is asked
// as "d:"); when even the root does not exist, the fallback (the Windows
// directory). Each step is shorter than the one before, so the walk ends.
std::string NearestExistingDirectory(const std::string& directory,
                                     const std::function<bool(const std::string&)>& isDirectory,
                                     const std::string& fallback);
