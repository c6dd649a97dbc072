#include "compare_status.h"

#include <cstring>
#include <new>

#include "directory_reader.h"
#include "framework/file.h"

ContentComparer::ContentComparer()
    : sourceBlock(new char[CONTENT_BLOCK_SIZE]), masterBlock(new char[CONTENT_BLOCK_SIZE])
{
}

int ContentComparer::Compare(const std::string& sourcePath, const std::string& masterPath)
{
    // Others may go on reading and writing: a program writing in a watched
    // directory must not fail with a sharing error during a rescan.
    const unsigned flags = CFile::modeRead | CFile::shareDenyNone;
    CFile sourceFile;
    CFile masterFile;
    if (!sourceFile.Open(sourcePath, flags) || !masterFile.Open(masterPath, flags))
        return 1;
    try {
        for (;;) {
            uint32_t sourceCount = sourceFile.Read(sourceBlock.get(), CONTENT_BLOCK_SIZE);
            uint32_t masterCount = masterFile.Read(masterBlock.get(), CONTENT_BLOCK_SIZE);
            // Different lengths: one of the files changed since the scan.
            if (sourceCount != masterCount)
                return 1;
            if (std::memcmp(sourceBlock.get(), masterBlock.get(), sourceCount) != 0)
                return 1;
            if (sourceCount < CONTENT_BLOCK_SIZE)
                return 0;
        }
    } catch (const CFileException&) {
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
