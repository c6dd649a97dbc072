#include "compare_status.h"

#include <cstring>
#include <new>

#include "directory_reader.h"

ContentComparer::ContentComparer()
    : sourceBlock(new char[CONTENT_BLOCK_SIZE]), masterBlock(new char[CONTENT_BLOCK_SIZE])
{
}

int ContentComparer::Compare(const std::string& sourcePath, const std::string& masterPath)
{
    SharedReadFile sourceFile;
    SharedReadFile masterFile;
    if (!sourceFile.Open(sourcePath) || !masterFile.Open(masterPath))
        return 1;
    for (;;) {
        long long sourceCount = sourceFile.Read(sourceBlock.get(), CONTENT_BLOCK_SIZE);
        long long masterCount = masterFile.Read(masterBlock.get(), CONTENT_BLOCK_SIZE);
        // A failed read, or different lengths: one of the files changed since the scan.
        if (sourceCount < 0 || sourceCount != masterCount)
            return 1;
        if (std::memcmp(sourceBlock.get(), masterBlock.get(), static_cast<size_t>(sourceCount)) != 0)
            return 1;
        if (static_cast<size_t>(sourceCount) < CONTENT_BLOCK_SIZE)
            return 0;
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
        if (comparer)
            return comparer->Compare(sourcePath, masterPath);
        try {
            return ContentComparer().Compare(sourcePath, masterPath);
        } catch (const std::bad_alloc&) {
            return 1; // no memory for the blocks: counted as different, like an unreadable file
        }
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
    if (method == 1 && !comparer)
        comparer = std::make_shared<ContentComparer>();
    return CompareStatus(source, master, sourceDirectory, masterDirectory, method, comparer.get());
}
