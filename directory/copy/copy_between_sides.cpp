#include "directory/copy/copy_between_sides.h"

#include "directory/copy/copy_dialogs.h"
#include "directory/copy/copy_selected.h"
#include "directory/window/directory_window.h"
#include "resources/resource.h"

#include <unordered_map>
#include <utility>

namespace {

// The rows of a list by the names on disk of their files: one table, so that
// a copy of many files stays linear in their number.
std::unordered_map<std::string, int> RowsByName(const FileListView& list)
{
    std::unordered_map<std::string, int> rows;
    int count = list.RowCount();
    for (int row = 0; row < count; ++row)
        if (const FileEntry* entry = list.GetEntry(row))
            rows.emplace(entry->fileName, row);
    return rows;
}

// Brings the two lists up to date for each file copied, finding its row by
// name (the row it was chosen on may hold another file by now) through one
// table made at the start, so that a run is linear in its files.
class ListUpdater : public CopyListener {
public:
    ListUpdater(FileListView& from, FileListView& to, std::unordered_map<std::string, int> rows)
        : m_from(from), m_to(to), m_rows(std::move(rows))
    {
    }
    // The new entries are sorted in once, each holding its name by then, so
    // the array is in the order the next pairing pass merges by.
    ~ListUpdater()
    {
        if (m_added)
            m_to.entries.Sort();
    }

    void FileCopied(const std::string& fileName) override
    {
        auto found = m_rows.find(fileName);
        int row = found == m_rows.end() ? -1 : found->second;
        FileEntry* source = row >= 0 ? m_from.GetEntry(row) : nullptr;
        if (!source)
            return; // the next rescan shows it
        FileEntry* target = m_to.GetEntry(row);
        if (!target) {
            m_to.entries.Add(*source);
            target = m_to.entries[m_to.entries.size() - 1];
            m_added = true;
            m_to.SetEntry(row, target);
        }
        source->mark = 0;
        *target = *source;
        source->status = 0;
        target->status = 0;
        source->mark = 1;
        m_from.RedrawRow(row);
        m_to.RedrawRow(row);
    }

private:
    FileListView& m_from;
    FileListView& m_to;
    std::unordered_map<std::string, int> m_rows;
    bool m_added = false;
};

// The shown name of a chosen file that has no name on disk at all.
std::string UnreadableShown(const FileListView& list)
{
    for (int row : list.GetSelectedRows()) {
        const FileEntry* entry = list.GetEntry(row);
        if (entry && entry->fileName.empty())
            return entry->DisplayName();
    }
    return "?";
}

} // namespace

std::vector<std::string> SelectedFileNames(const FileListView& list)
{
    std::vector<std::string> names;
    for (int row : list.GetSelectedRows())
        if (const FileEntry* entry = list.GetEntry(row))
            names.push_back(entry->fileName);
    return names;
}

void CopyBetweenSides(DirectoryWindow& window, Side from, const std::vector<std::string>& fileNames)
{
    if (fileNames.empty() || window.SidesAreSameDirectory())
        return;
    // A name listed with "?" is not the file's name: a copy by its short name
    // would give the copy another name, so nothing is copied.
    std::unordered_map<std::string, int> rows = RowsByName(window.Files(from));
    for (const std::string& fileName : fileNames) {
        auto found = fileName.empty() ? rows.end() : rows.find(fileName);
        int row = found == rows.end() ? -1 : found->second;
        const FileEntry* entry = row >= 0 ? window.Files(from).GetEntry(row) : nullptr;
        if (fileName.empty() || (entry && entry->nameUnreadable)) {
            std::string shown = entry ? entry->DisplayName() : UnreadableShown(window.Files(from));
            ShowError(window.m_hWnd, IDS_NAME_UNREADABLE, shown.c_str());
            return;
        }
    }
    Side to = from == SOURCE_SIDE ? MASTER_SIDE : SOURCE_SIDE;
    // Questions and the progress dialog dispatch messages: no rescan may
    // replace the rows meanwhile.
    BusyGuard::Hold hold(window.busy);
    ListUpdater updater(window.Files(from), window.Files(to), std::move(rows));
    // The directories the rows were read from: a switch whose rescan is still
    // due must not make a chosen name stand for another directory's file.
    CopySelected(&window, window.ScannedDirectory(from), window.ScannedDirectory(to), fileNames, &updater);
}
