// What the directory side reads away from the window: the contents of the
// pairs whose sizes agree, and whether each subfolder's tree differs from
// its partner's. The pairing pass only decides what it can without reading
// (StatusWithoutReading); a job then carries everything still to read, and
// one thread runs it, reporting each answer as it has it. Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "directory/core/compare_status.h"
#include "directory/core/file_entry.h"
#include "directory/core/pair_entries.h"

// Sizes, then the times under method 0; under method 1 a pair of equal
// sizes is STATUS_NOT_KNOWN until its contents have been read (two empty
// files are the same at once).
int StatusWithoutReading(const FileEntry& source, const FileEntry& master, int method);

struct PairToRead {
    size_t row = 0;
    std::string sourcePath;
    std::string masterPath;
    uint64_t size = 0;
};

// A subfolder of either side's directory with its partner of the same name;
// a path is empty where that side has no such folder.
struct FolderToJudge {
    std::string sourcePath;
    std::string masterPath;
};

struct ReadingJob {
    std::vector<PairToRead> pairs;
    std::vector<FolderToJudge> folders;
    std::string patternText;
    int method = 0;
};

// The rows still to read: every pair of rows[] marked STATUS_NOT_KNOWN.
std::vector<PairToRead> PairsToRead(const std::vector<PairedRow>& rows, const std::string& sourceDirectory,
                                    const std::string& masterDirectory);

// The subfolders of both sides, paired by name as the file lists pair files
// (case folded; the first of two that differ only in case pairs).
std::vector<FolderToJudge> PairFolders(const std::string& sourceDirectory, const std::vector<std::string>& sourceNames,
                                       const std::string& masterDirectory, const std::vector<std::string>& masterNames);

// Where a job's answers go. Called on the reading thread.
class ReadingResults {
public:
    virtual ~ReadingResults() = default;
    virtual void PairRead(size_t index, int status) = 0;   // index into job.pairs
    virtual void FolderJudged(size_t index, int status) = 0; // index into job.folders
    // Checked between files: a cancelled job reports nothing more.
    virtual bool Cancelled() const = 0;
};

// The pairs first (they are on screen), then the folders; each answer is
// reported as soon as it is known.
void RunReadingJob(const ReadingJob& job, ReadingResults& results);

// 1 when a file below either folder differs from its partner or has none,
// by the method and pattern, reading contents only until the first
// difference; 0 otherwise. A folder missing on one side differs when the
// other holds a file. cancelled() is asked between files.
int TreesDiffer(const std::string& sourceFolder, const std::string& masterFolder, const std::string& patternText,
                int method, ContentComparer& comparer, const std::function<bool()>& cancelled);

// Tree mode: a subfolder's state from the rows below it (no second reading):
// 1 when one of its rows differs or has no partner, STATUS_NOT_KNOWN when
// none does but one is not known yet, 0 otherwise. Rows are keyed by the
// first component of their relative path, case folded; folders without rows
// are not in the answer.
struct FolderState {
    std::string name; // first component as one of the sides has it on disk
    int state = 0;
};
std::vector<FolderState> FolderStatesFromRows(const std::vector<PairedRow>& rows);
// The state of the folder of that name in the answer above, -1 when absent.
int FolderStateOf(const std::vector<FolderState>& states, const std::string& name);
