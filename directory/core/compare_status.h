// Whether the two files of a pair are the same: by sizes and DOS timestamps
// (method 0) or by sizes and contents (method 1).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "directory/core/file_entry.h"

// Each file is read in blocks of this size, so a pair of huge files costs two
// blocks of memory; the comparison stops at the first block that differs.
constexpr size_t CONTENT_BLOCK_SIZE = 64 * 1024;

// Compares two files byte for byte. Holds its two blocks between calls so
// that a pairing pass allocates once.
class ContentComparer {
public:
    ContentComparer();
    // 0 when both files could be read whole and are equal; 1 otherwise: a
    // file that cannot be opened or read, or vanished, counts as different,
    // silently. Files are opened letting others read and write meanwhile.
    // expectedSize, the size both had at the scan, saves the read that would
    // only find the end of a small file; a file that changed size since is
    // still found out.
    int Compare(const std::string& sourcePath, const std::string& masterPath,
                uint64_t expectedSize = UNKNOWN_SIZE);

    static constexpr uint64_t UNKNOWN_SIZE = ~uint64_t(0);
    // Asked between blocks; a cancelled comparison gives 1.
    std::function<bool()> cancelled;

private:
    std::unique_ptr<char[]> sourceBlock;
    std::unique_ptr<char[]> masterBlock;
};

// One content comparison with blocks of its own (ContentComparer::Compare);
// when the blocks cannot be allocated the pair counts as different.
int CompareContents(const std::string& sourcePath, const std::string& masterPath,
                    uint64_t expectedSize = ContentComparer::UNKNOWN_SIZE);

// The status of a pair of equal names under a method: sizes first, then
// method 0 the DOS date and time, method 1 the contents (each entry's own
// file in its own directory); any other method gives 1 for equal sizes.
// comparer may be null: a content comparison then brings its own.
int CompareStatus(const FileEntry& source, const FileEntry& master, const std::string& sourceDirectory,
                  const std::string& masterDirectory, int method, ContentComparer* comparer = nullptr);

// CompareStatus bound to a directory pair and a method, ready for PairEntries.
class StatusOfPair {
public:
    StatusOfPair(std::string sourceDirectory, std::string masterDirectory, int method);
    int operator()(const FileEntry& source, const FileEntry& master);

private:
    std::string sourceDirectory;
    std::string masterDirectory;
    int method;
    std::shared_ptr<ContentComparer> comparer; // shared: std::function copies the functor
};
