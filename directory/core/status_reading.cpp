#include "directory/core/status_reading.h"

#include "directory/core/directory_reader.h"
#include "directory/core/scan_tree.h"
#include "directory/core/tree_order.h"

#include <memory>
#include <new>

int StatusWithoutReading(const FileEntry& source, const FileEntry& master, int method)
{
    if (source.size != master.size)
        return 1;
    if (method == 1)
        return source.size == 0 ? 0 : STATUS_NOT_KNOWN;
    if (method == 0)
        return source.date != master.date || source.time != master.time ? 1 : 0;
    return 1;
}

std::vector<PairToRead> PairsToRead(const std::vector<PairedRow>& rows, const std::string& sourceDirectory,
                                    const std::string& masterDirectory)
{
    std::vector<PairToRead> pairs;
    for (size_t row = 0; row < rows.size(); ++row) {
        const PairedRow& pair = rows[row];
        if (pair.source && pair.master && pair.source->status == STATUS_NOT_KNOWN)
            pairs.push_back({ row, JoinPath(sourceDirectory, pair.source->fileName),
                              JoinPath(masterDirectory, pair.master->fileName), pair.source->size });
    }
    return pairs;
}

std::vector<FolderToJudge> PairFolders(const std::string& sourceDirectory, const std::vector<std::string>& sourceNames,
                                       const std::string& masterDirectory, const std::vector<std::string>& masterNames)
{
    std::vector<FolderToJudge> folders;
    std::vector<bool> masterTaken(masterNames.size(), false);
    for (const std::string& name : sourceNames) {
        FolderToJudge folder{ JoinPath(sourceDirectory, name), std::string() };
        for (size_t i = 0; i < masterNames.size(); ++i) {
            bool sameFolded = false;
            CompareNameComponent(name, masterNames[i], &sameFolded);
            if (sameFolded && !masterTaken[i]) {
                masterTaken[i] = true;
                folder.masterPath = JoinPath(masterDirectory, masterNames[i]);
                break;
            }
        }
        folders.push_back(std::move(folder));
    }
    for (size_t i = 0; i < masterNames.size(); ++i)
        if (!masterTaken[i])
            folders.push_back({ std::string(), JoinPath(masterDirectory, masterNames[i]) });
    return folders;
}

int TreesDiffer(const std::string& sourceFolder, const std::string& masterFolder, const std::string& patternText,
                int method, ContentComparer& comparer, const std::function<bool()>& cancelled)
{
    FileEntryArray source, master;
    if (!sourceFolder.empty())
        ScanTree(source, sourceFolder, patternText, cancelled);
    if (!masterFolder.empty())
        ScanTree(master, masterFolder, patternText, cancelled);
    if (cancelled())
        return 1;
    bool differs = false;
    // Once one pair differs the answer is known: the rest only pair, unread.
    PairEntries(source, master, [&](const FileEntry& s, const FileEntry& m) {
        if (differs || cancelled())
            return 1;
        int status = StatusWithoutReading(s, m, method);
        if (status == STATUS_NOT_KNOWN)
            status = comparer.Compare(JoinPath(sourceFolder, s.fileName), JoinPath(masterFolder, m.fileName), s.size);
        differs = status != 0;
        return status;
    });
    if (differs)
        return 1;
    for (const FileEntryArray* side : { &source, &master })
        for (size_t i = 0; i < side->size(); ++i)
            if ((*side)[i]->status != 0)
                return 1;
    return 0;
}

void RunReadingJob(const ReadingJob& job, ReadingResults& results)
{
    std::unique_ptr<ContentComparer> held;
    try {
        held = std::make_unique<ContentComparer>();
    } catch (const std::bad_alloc&) {
        // Without its blocks nothing can be read: every answer counts as a difference.
        for (size_t i = 0; i < job.pairs.size(); ++i)
            results.PairRead(i, 1);
        for (size_t i = 0; i < job.folders.size(); ++i)
            results.FolderJudged(i, 1);
        return;
    }
    ContentComparer& comparer = *held;
    comparer.cancelled = [&results] { return results.Cancelled(); };
    for (size_t i = 0; i < job.pairs.size(); ++i) {
        if (results.Cancelled())
            return;
        const PairToRead& pair = job.pairs[i];
        results.PairRead(i, comparer.Compare(pair.sourcePath, pair.masterPath, pair.size));
    }
    auto cancelled = [&results] { return results.Cancelled(); };
    for (size_t i = 0; i < job.folders.size(); ++i) {
        if (results.Cancelled())
            return;
        const FolderToJudge& folder = job.folders[i];
        int state = TreesDiffer(folder.sourcePath, folder.masterPath, job.patternText, job.method, comparer, cancelled);
        if (results.Cancelled())
            return;
        results.FolderJudged(i, state);
    }
}

namespace {

std::string FirstComponent(const std::string& relativePath)
{
    size_t end = relativePath.find_first_of("\\/");
    return end == std::string::npos ? std::string() : relativePath.substr(0, end);
}

bool FoldedLess(const std::string& a, const std::string& b)
{
    bool sameFolded = false;
    return CompareNameComponent(a, b, &sameFolded) < 0 && !sameFolded;
}

// Differing beats not known beats same.
int Worse(int a, int b)
{
    auto rank = [](int state) { return state == 1 ? 2 : state == STATUS_NOT_KNOWN ? 1 : 0; };
    return rank(a) >= rank(b) ? a : b;
}

} // namespace

std::vector<FolderState> FolderStatesFromRows(const std::vector<PairedRow>& rows)
{
    // Rows come in the tree order, so a folder's rows are consecutive.
    std::vector<FolderState> states;
    for (const PairedRow& row : rows) {
        const FileEntry* entry = row.source ? row.source : row.master;
        if (!entry)
            continue;
        std::string folder = FirstComponent(entry->fileName);
        if (folder.empty())
            continue;
        int state = row.source && row.master ? entry->status : 1;
        if (states.empty() || FoldedLess(states.back().name, folder) || FoldedLess(folder, states.back().name))
            states.push_back({ folder, state });
        else
            states.back().state = Worse(states.back().state, state);
    }
    return states;
}

int FolderStateOf(const std::vector<FolderState>& states, const std::string& name)
{
    for (const FolderState& folder : states)
        if (!FoldedLess(folder.name, name) && !FoldedLess(name, folder.name))
            return folder.state;
    return -1;
}
