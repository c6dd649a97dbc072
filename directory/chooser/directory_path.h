// How the directory chooser spells and splits a directory path: the form a
// side holds its current directory in, the ancestor chain the list shows, the
// parent to fall back to. Portable: plain string work.
#pragma once

#include <string>
#include <vector>

// \\server\share...
bool IsUncPath(const std::string& path);

// The form a side holds its current directory in. Forward slashes become
// backslashes; a path that starts with one backslash gets the current drive
// ("d:") in front; a UNC path is kept as it is. Trailing backslashes go, and
// a drive root is held as letter and colon ("d:\" becomes "d:").
std::string NormalizeDirectoryPath(const std::string& path, char currentDrive);

// One item of the ancestor chain: what the list shows and the directory it stands for.
struct ChainItem {
    std::string text;
    std::string path;
};

// The chain from the root down to the directory itself. The root of a drive
// path is the current drive's "d:\"; the root of a UNC path is \\server\share.
std::vector<ChainItem> AncestorChain(const std::string& directory, char currentDrive);

// The directory one level up, or empty at a root (d: or \\server\share).
std::string ParentDirectory(const std::string& directory);

// 0 for a to 25 for z (either case); -1 for anything else.
int DriveIndexOf(char letter);
