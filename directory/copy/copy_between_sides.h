// Copying chosen files from one side of the directory window into the other
// side's directory, with both lists brought up to date in place for every
// file copied (the pair shows as equal, the copied-from row is marked).
#pragma once

#include <string>
#include <vector>

#include "directory/window/busy_guard.h"

class DirectoryWindow;

// fileNames are names as they are on disk. Does nothing when both sides show
// the same directory.
void CopyBetweenSides(DirectoryWindow& window, Side from, const std::vector<std::string>& fileNames);

// The on-disk names of the list's selected rows that hold a file, in row order.
class FileListView;
std::vector<std::string> SelectedFileNames(const FileListView& list);
