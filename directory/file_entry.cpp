#include "file_entry.h"

#include <algorithm>

#include "directory_reader.h"
#include "tree_order.h"

namespace {

unsigned char Folded(char c)
{
    unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
}

} // namespace

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
    entry.fileName = found.fileName;
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

int CompareNames(std::string_view a, std::string_view b)
{
    size_t common = std::min(a.size(), b.size());
    const char* x = a.data();
    const char* y = b.data();
    for (size_t i = 0; i < common; ++i) {
        if (x[i] == y[i])
            continue;
        unsigned char p = Folded(x[i]);
        unsigned char q = Folded(y[i]);
        if (p != q)
            return p < q ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

int CompareFileEntries(const FileEntry& a, const FileEntry& b)
{
    return CompareTreeNames(a.name, a.extension, b.name, b.extension);
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
