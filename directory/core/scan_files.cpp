#include "directory/core/scan_files.h"

#include "directory/core/directory_reader.h"

#include <functional>

bool IsSearchablePattern(const std::string& pattern)
{
    return pattern.find_first_of("\\/:") == std::string::npos;
}

void ForEachPattern(const std::string& patternText, const std::function<void(const std::string&)>& each)
{
    size_t at = 0;
    while (at < patternText.size()) {
        if (patternText[at] == ' ' || patternText[at] == '\t') {
            ++at;
            continue;
        }
        size_t comma = patternText.find(',', at);
        size_t end = comma == std::string::npos ? patternText.size() : comma;
        std::string pattern = patternText.substr(at, end - at);
        // An empty pattern between two commas lists nothing; one with a path
        // would list another directory under this one's name.
        if (!pattern.empty() && IsSearchablePattern(pattern))
            each(pattern);
        if (comma == std::string::npos)
            break;
        at = comma + 1;
    }
}

bool ListsEverything(const std::string& patternText)
{
    std::string only;
    int count = 0;
    ForEachPattern(patternText, [&](const std::string& pattern) {
        only = pattern;
        ++count;
    });
    while (!only.empty() && only.back() == ' ')
        only.pop_back();
    return count == 1 && (only == "*" || only == "*.*");
}

void ScanListing(FileEntryArray& files, const std::vector<FoundEntry>& listing)
{
    for (const FoundEntry& found : listing)
        if (!(found.attributes & ENTRY_DIRECTORY))
            files.Add(MakeFileEntry(found));
    files.Sort();
}

void ScanFiles(FileEntryArray& files, const std::string& directory, const std::string& patternText)
{
    ForEachPattern(patternText, [&](const std::string& pattern) {
        ListDirectory(directory, pattern, [&files](const FoundEntry& found) {
            if (!(found.attributes & ENTRY_DIRECTORY))
                files.Add(MakeFileEntry(found));
        });
    });
    files.Sort();
}
