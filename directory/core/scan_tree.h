// Reading a whole tree into a side's FileEntryArray: every file below the
// directory that matches the pattern text, named by its path relative to
// the directory.
#pragma once

#include <functional>
#include <string>

#include "directory/core/file_entry.h"

// As ScanFiles, at every level: a file in a subfolder is shown as
// "lib\vtls\openssl" with the extension "c" (the folder components with the
// case rule, split in the last component only), and its fileName is the
// relative path on disk. Every folder is walked whatever the pattern, except
// reparse points (junctions, symbolic links). The array ends sorted in the
// tree order. A walk that cancelled() stops between folders ends with an
// incomplete array.
void ScanTree(FileEntryArray& files, const std::string& directory, const std::string& patternText,
              const std::function<bool()>& cancelled = {});

// The side's files, of the directory alone or of the whole tree below it.
void ScanSide(FileEntryArray& files, const std::string& directory, const std::string& patternText,
              bool includeSubdirectories);
