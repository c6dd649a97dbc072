// Asking the file system what a path names.
#pragma once

#include <string>

// A bare drive root ("c:\") is a directory when its drive exists, without
// touching the disk; anything else by its attributes.
bool IsDirectory(const std::string& path);
bool IsFile(const std::string& path);
