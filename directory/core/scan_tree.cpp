#include "directory/core/scan_tree.h"

#include <vector>

#include "directory/core/directory_reader.h"
#include "directory/core/scan_files.h"

namespace {

struct Folder {
    std::string onDisk; // relative to the side's directory, the platform's separator
    std::string shown;  // relative, "\" between the components, case rule applied
};

bool IsWalkedFolder(const FoundEntry& found)
{
    return (found.attributes & ENTRY_DIRECTORY) && !(found.attributes & ENTRY_REPARSE_POINT);
}

} // namespace

void ScanTree(FileEntryArray& files, const std::string& directory, const std::string& patternText,
              const std::function<bool()>& cancelled)
{
    const bool oneSearch = ListsEverything(patternText);
    std::vector<Folder> pending{ Folder() };
    while (!pending.empty() && !(cancelled && cancelled())) {
        Folder folder = std::move(pending.back());
        pending.pop_back();
        const std::string path = folder.onDisk.empty() ? directory : JoinPath(directory, folder.onDisk);
        auto addFile = [&](const FoundEntry& found) {
            FileEntry entry = MakeFileEntry(found);
            if (!folder.onDisk.empty()) {
                entry.name = folder.shown + "\\" + entry.name;
                entry.fileName = JoinPath(folder.onDisk, entry.fileName);
            }
            files.Add(std::move(entry));
        };
        auto addFolder = [&](const FoundEntry& found) {
            std::string shown = found.fileName;
            if (found.shortNameIsLongName)
                LowerCaseName(shown);
            pending.push_back({ JoinPath(folder.onDisk, found.fileName),
                                folder.shown.empty() ? shown : folder.shown + "\\" + shown });
        };
        if (oneSearch) {
            ListDirectory(path, "*", [&](const FoundEntry& found) {
                if (!(found.attributes & ENTRY_DIRECTORY))
                    addFile(found);
                else if (IsWalkedFolder(found))
                    addFolder(found);
            });
            continue;
        }
        ForEachPattern(patternText, [&](const std::string& pattern) {
            ListDirectory(path, pattern, [&](const FoundEntry& found) {
                if (!(found.attributes & ENTRY_DIRECTORY))
                    addFile(found);
            });
        });
        ListDirectory(path, "*", [&](const FoundEntry& found) {
            if (IsWalkedFolder(found))
                addFolder(found);
        });
    }
    files.Sort();
}

void ScanSide(FileEntryArray& files, const std::string& directory, const std::string& patternText,
              bool includeSubdirectories)
{
    if (includeSubdirectories)
        ScanTree(files, directory, patternText);
    else
        ScanFiles(files, directory, patternText);
}
