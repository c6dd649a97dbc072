// One file of a scanned directory, and the sorted array of a side's files.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "directory/core/name_order.h"

struct FoundEntry;

// Drawn so that nobody takes it for "same", and counted as differing by every
// command until the reading sets 0 or 1.
constexpr int32_t STATUS_NOT_KNOWN = 2;

struct FileEntry {
    // What the file lists show: the name split at its last "." (".profile"
    // has an empty name), with the case rule applied (a file without its own
    // short name is shown in lower case).
    std::string name;
    std::string extension;
    // The name on disk, exactly; paths to the file are built from this, so
    // they stay right on file systems that respect case. When the system
    // could not give the name (nameUnreadable), the short (8.3) name, or
    // empty when there is none: then no command may touch the file.
    std::string fileName;
    // The listed name holds "?" for characters the process's code page
    // cannot hold: it is not the name on disk and never pairs.
    bool nameUnreadable = false;
    uint16_t date = 0;       // DOS date of the last write, local time; 0 before 1980
    uint16_t time = 0;       // DOS time of the same instant
    uint16_t attributes = 0; // low word of the attributes as found
    uint64_t size = 0;       // whole size: files past 4 GB compare right
    // 0 same as its partner, 1 differs or has no partner, STATUS_NOT_KNOWN
    // while the contents of a pair of equal sizes wait to be read.
    int32_t status = 0;
    int32_t mark = 0;        // 1 opened or copied from its own list

    // name and extension joined by "." (no "." when the extension is empty),
    // as the lists and dirbench show the file.
    std::string DisplayName() const;
};

// Builds the record the scan appends for one found file.
FileEntry MakeFileEntry(const FoundEntry& found);

// Converts a broken-down local time to DOS date and time; both 0 when the
// year lies outside 1980-2107, which a DOS date cannot hold.
void ToDosDateTime(int year, int month, int day, int hour, int minute, int second, uint16_t& date,
                   uint16_t& time);

// Splits a file name at its last ".".
void SplitFileName(const std::string& fileName, std::string& name, std::string& extension);

// The order of the lists and of the pairing (one function, so the merge sees
// both arrays sorted as it compares): folder components first for names
// below the side's directory (tree_order.h), then name, then extension, each
// case folded and ordinal (name_order.h), ties by bytes; strict.
int CompareFileEntries(const FileEntry& a, const FileEntry& b);

// True when the two files are one file on the two sides: names equal but for
// case, and both names readable.
bool IsSameFile(const FileEntry& a, const FileEntry& b);

// The files of one side. Entries live on the heap and keep their address
// until Clear, so list rows may point at them.
class FileEntryArray {
public:
    void Add(FileEntry entry);
    void Sort();
    void Clear();
    size_t size() const { return entries.size(); }
    bool empty() const { return entries.empty(); }
    FileEntry* operator[](size_t index) const { return entries[index].get(); }

private:
    std::vector<std::unique_ptr<FileEntry>> entries;
};
