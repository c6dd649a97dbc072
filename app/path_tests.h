// Asking the file system what a path names.
#pragma once

#include <string>

#include "run_mode.h"

// A bare drive root ("c:\") is a directory when its drive exists, without
// touching the disk; anything else by its attributes.
bool IsDirectory(const std::string& path);
bool IsFile(const std::string& path);

class FileSystemProbe : public PathProbe {
public:
    bool IsDirectory(const std::string& path) const override { return ::IsDirectory(path); }
    bool IsFile(const std::string& path) const override { return ::IsFile(path); }
};
