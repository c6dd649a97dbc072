#include "directory/core/compare_status.h"

#include <cstring>
#include <new>

#include "directory/core/directory_reader.h"

ContentComparer::ContentComparer()
    : sourceBlock(new char[CONTENT_BLOCK_SIZE]), masterBlock(new char[CONTENT_BLOCK_SIZE])
{
}

namespace {

// Fills buffer with count bytes, fewer only at the end of the file; -1 when a
// read fails. A read that stops short exactly at likelyEnd is the end of the
// file (a disk file reads short only there), so no further call is made to
// see it return 0; a file that grew since the scan reads past likelyEnd and
// one that shrank stops before it, and both carry on to the real end.
long long Fill(SharedReadFile& file, char* buffer, size_t count, uint64_t likelyEnd)
{
    size_t done = 0;
    while (done < count) {
        long long got = file.ReadSome(buffer + done, count - done);
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += static_cast<size_t>(got);
        if (done == likelyEnd)
            break;
    }
    return static_cast<long long>(done);
}

} // namespace

int ContentComparer::Compare(const std::string& sourcePath, const std::string& masterPath, uint64_t expectedSize)
{
    SharedReadFile sourceFile;
    SharedReadFile masterFile;
    if (!sourceFile.Open(sourcePath) || !masterFile.Open(masterPath))
        return 1;
    uint64_t position = 0;
    for (;;) {
        uint64_t likelyEnd = expectedSize == UNKNOWN_SIZE || expectedSize < position ? UNKNOWN_SIZE
                                                                                      : expectedSize - position;
        long long sourceCount = Fill(sourceFile, sourceBlock.get(), CONTENT_BLOCK_SIZE, likelyEnd);
        long long masterCount = Fill(masterFile, masterBlock.get(), CONTENT_BLOCK_SIZE, likelyEnd);
        // A failed read, or different lengths: one of the files changed since the scan.
        if (sourceCount < 0 || sourceCount != masterCount)
            return 1;
        if (std::memcmp(sourceBlock.get(), masterBlock.get(), static_cast<size_t>(sourceCount)) != 0)
            return 1;
        if (static_cast<size_t>(sourceCount) < CONTENT_BLOCK_SIZE)
            return 0;
        position += static_cast<uint64_t>(sourceCount);
        if (cancelled && cancelled())
            return 1;
    }
}

int CompareContents(const std::string& sourcePath, const std::string& masterPath, uint64_t expectedSize)
{
    try {
        return ContentComparer().Compare(sourcePath, masterPath, expectedSize);
    } catch (const std::bad_alloc&) {
        return 1;
    }
}

int CompareStatus(const FileEntry& source, const FileEntry& master, const std::string& sourceDirectory,
                  const std::string& masterDirectory, int method, ContentComparer* comparer)
{
    if (source.size != master.size)
        return 1;
    switch (method) {
    case 0:
        return source.date != master.date || source.time != master.time ? 1 : 0;
    case 1: {
        std::string sourcePath = JoinPath(sourceDirectory, source.fileName);
        std::string masterPath = JoinPath(masterDirectory, master.fileName);
        return comparer ? comparer->Compare(sourcePath, masterPath, source.size)
                        : CompareContents(sourcePath, masterPath, source.size);
    }
    default:
        return 1;
    }
}

StatusOfPair::StatusOfPair(std::string sourceDirectory, std::string masterDirectory, int method)
    : sourceDirectory(std::move(sourceDirectory)), masterDirectory(std::move(masterDirectory)), method(method)
{
}

int StatusOfPair::operator()(const FileEntry& source, const FileEntry& master)
{
    if (method == 1 && !comparer) {
        try {
            comparer = std::make_shared<ContentComparer>();
        } catch (const std::bad_alloc&) {
            // CompareContents tries on its own and counts a failure as a difference.
        }
    }
    return CompareStatus(source, master, sourceDirectory, masterDirectory, method, comparer.get());
}
