#include "directory/core/file_entry.h"

#include <algorithm>

#include "directory/core/directory_reader.h"
#include "directory/core/tree_order.h"

std::string FileEntry::DisplayName() const
{
    return extension.empty() ? name : name + "." + extension;
}

void ToDosDateTime(int year, int month, int day, int hour, int minute, int second, uint16_t& date,
                   uint16_t& time)
{
    if (year < 1980 || year > 2107) {
        date = 0;
        time = 0;
        return;
    }
    date = static_cast<uint16_t>(((year - 1980) << 9) | (month << 5) | day);
    time = static_cast<uint16_t>((hour << 11) | (minute << 5) | (second / 2));
}

void SplitFileName(const std::string& fileName, std::string& name, std::string& extension)
{
    size_t dot = fileName.rfind('.');
    if (dot == std::string::npos) {
        name = fileName;
        extension.clear();
    } else {
        name = fileName.substr(0, dot);
        extension = fileName.substr(dot + 1);
    }
}

FileEntry MakeFileEntry(const FoundEntry& found)
{
    FileEntry entry;
    entry.nameUnreadable = found.nameUnreadable;
    entry.fileName = found.nameUnreadable ? found.shortName : found.fileName;
    SplitFileName(found.fileName, entry.name, entry.extension);
    if (found.shortNameIsLongName) {
        LowerCaseName(entry.name);
        LowerCaseName(entry.extension);
    }
    entry.date = found.dosDate;
    entry.time = found.dosTime;
    entry.attributes = static_cast<uint16_t>(found.attributes & 0xFFFF);
    entry.size = found.size;
    return entry;
}

int CompareFileEntries(const FileEntry& a, const FileEntry& b)
{
    int order = CompareTreeNames(a.name, a.extension, b.name, b.extension);
    // "a." and "a" split alike; their names on disk tell them apart.
    return order != 0 ? order : CompareNames(a.fileName, b.fileName);
}

bool IsSameFile(const FileEntry& a, const FileEntry& b)
{
    if (a.nameUnreadable || b.nameUnreadable)
        return false;
    bool sameFolded = false;
    CompareTreeNames(a.name, a.extension, b.name, b.extension, &sameFolded);
    return sameFolded;
}

void FileEntryArray::Add(FileEntry entry)
{
    entries.push_back(std::make_unique<FileEntry>(std::move(entry)));
}

void FileEntryArray::Sort()
{
    // The standard sort: NTFS lists names already in order, where a plain
    // quicksort degrades to quadratic time and deep recursion.
    std::sort(entries.begin(), entries.end(),
              [](const std::unique_ptr<FileEntry>& a, const std::unique_ptr<FileEntry>& b) {
                  return CompareFileEntries(*a, *b) < 0;
              });
}

void FileEntryArray::Clear()
{
    entries.clear();
}
