// Reading a directory into a side's FileEntryArray by a pattern text.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "directory/core/directory_reader.h"
#include "directory/core/file_entry.h"

// Appends one FileEntry for every file (not directory) of directory that
// matches a pattern of patternText, then sorts the array. The text is split
// at commas; blanks and tabs before a pattern are skipped; each pattern is
// one directory search, so a file matching two patterns is listed twice.
// Patterns holding "\", "/" or ":" name another directory and are skipped.
void ScanFiles(FileEntryArray& files, const std::string& directory, const std::string& patternText);

// True for a pattern text of one pattern that lists everything ("*" or
// "*.*"): one search then serves the files and the folders.
bool ListsEverything(const std::string& patternText);

// As ScanFiles with such a pattern, from a listing already made of the
// directory (the directory list's own, made a moment before).
void ScanListing(FileEntryArray& files, const std::vector<FoundEntry>& listing);

// Destroys every entry of the side (the window also empties its list view).
inline void ClearFiles(FileEntryArray& files)
{
    files.Clear();
}

// Calls each() for every pattern of a pattern text that may be searched for.
void ForEachPattern(const std::string& patternText, const std::function<void(const std::string&)>& each);

// True when one pattern of a pattern text may be searched for (no path part).
bool IsSearchablePattern(const std::string& pattern);
