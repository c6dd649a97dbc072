#include "directory/copy/copy_one_file.h"

#include <windows.h>

#include <new>
#include <vector>

#include "directory/copy/flush_ahead.h"
#include "framework/file.h"

namespace {

class FileSource : public ByteSource {
public:
    explicit FileSource(CFile& file) : m_file(file) {}
    uint32_t ReadSome(void* buffer, uint32_t count) override { return m_file.Read(buffer, count); }

private:
    CFile& m_file;
};

class FileSink : public ByteSink {
public:
    FileSink(CFile& file, FlushAhead& flushAhead) : m_file(file), m_flushAhead(flushAhead) {}
    void Write(const void* buffer, uint32_t count) override
    {
        m_file.Write(buffer, count);
        m_written += count;
        m_flushAhead.Written(m_written);
    }

private:
    CFile& m_file;
    FlushAhead& m_flushAhead;
    uint64_t m_written = 0;
};

// A flush on the flushing thread: its failure comes back as a code.
unsigned long FlushQuietly(CFile& file)
{
    try {
        file.Flush();
        return 0;
    } catch (const CFileException& error) {
        return static_cast<unsigned long>(error.m_lOsError);
    }
}

[[noreturn]] void ThrowLastError(const std::string& path)
{
    DWORD code = ::GetLastError();
    AfxThrowFileException(CFileException::generic, static_cast<long>(code), path);
}

struct FileTimes {
    FILETIME creation;
    FILETIME access;
    FILETIME write;
};

FileTimes ReadTimes(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        ThrowLastError(path);
    return { data.ftCreationTime, data.ftLastAccessTime, data.ftLastWriteTime };
}

// Set on a closed file: nothing written afterwards can move the write time.
void WriteTimes(const std::string& path, const FileTimes& times)
{
    HANDLE file = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        ThrowLastError(path);
    BOOL set = ::SetFileTime(file, &times.creation, &times.access, &times.write);
    DWORD code = ::GetLastError();
    ::CloseHandle(file);
    if (!set) {
        ::SetLastError(code);
        ThrowLastError(path);
    }
}

} // namespace

std::string DirectoryPart(const std::string& path)
{
    size_t separator = path.find_last_of("\\/");
    if (separator != std::string::npos)
        return path.substr(0, separator + 1);
    return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : std::string();
}

CopyOutcome CopyOneFile(const std::string& sourcePath, const std::string& targetPath, CopyProgress& progress)
{
    CopyOutcome outcome;
    CFile source;
    CFile temporary;
    std::string temporaryPath;
    try {
        // Others may read the source meanwhile, but not change it.
        CFileException openError(CFileException::none, 0, sourcePath, "");
        if (!source.Open(sourcePath, CFile::modeRead | CFile::shareDenyWrite, &openError))
            throw openError;
        progress.Start(source.GetLength());
        temporary.OpenNew(DirectoryPart(targetPath) + "orvinta.tmp", CFile::modeWrite | CFile::shareExclusive);
        temporaryPath = temporary.GetFilePath();

        std::vector<char> buffer;
        FileSource reader(source);
        // Declared after the temporary file: its flushes end before the file closes.
        FlushAhead flushAhead([&temporary] { return FlushQuietly(temporary); });
        FileSink writer(temporary, flushAhead);
        bool finished = CopyStream(reader, writer, progress, buffer);
        FileTimes times = ReadTimes(sourcePath);
        source.Close();
        if (finished) {
            if (unsigned long error = flushAhead.Finish())
                AfxThrowFileException(CFileException::generic, static_cast<long>(error), temporaryPath);
            // The copy reaches the disk before it replaces anything.
            temporary.Flush();
            temporary.Close();
            WriteTimes(temporaryPath, times);
            CFile::Replace(temporaryPath, targetPath);
            outcome.result = CopyResult::Copied;
            return outcome;
        }
        outcome.result = CopyResult::Cancelled;
    } catch (const CException& error) {
        outcome.errorText = error.GetErrorMessage();
    } catch (const std::bad_alloc&) {
        outcome.errorText = CMemoryException().GetErrorMessage();
    }
    source.Abort();
    temporary.Abort();
    if (!temporaryPath.empty())
        ::DeleteFileA(temporaryPath.c_str());
    return outcome;
}
