// Lining up the two sorted sides row by row by file name.
#pragma once

#include <functional>
#include <vector>

#include "directory/core/file_entry.h"

// One row of both lists: a pair of equal names, or one file facing an empty
// row (nullptr).
struct PairedRow {
    FileEntry* source = nullptr;
    FileEntry* master = nullptr;
};

// Decides the status (0 same, 1 differs) of a pair of equal names.
using PairStatus = std::function<int(const FileEntry& source, const FileEntry& master)>;

// The linear merge of two sorted arrays: returns the rows in order and sets
// every entry's status (1 without partner, pairStatus for a pair).
std::vector<PairedRow> PairEntries(const FileEntryArray& source, const FileEntryArray& master,
                                   const PairStatus& pairStatus);
