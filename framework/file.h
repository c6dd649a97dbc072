// CFile: an unbuffered file on the platform's handle. The Win32 build uses
// CreateFile with real share modes; the native build (tests, benchmarks) uses POSIX.
#pragma once

#include <cstdint>
#include <string>

#include "exceptions.h"

class CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoTruncate = 0x1000,
        modeCreate = 0x2000,
    };

    CFile() = default;
    // Opens or throws CFileException.
    CFile(const std::string& fileName, unsigned flags);
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // False on failure; fills *error when given, never throws.
    bool Open(const std::string& fileName, unsigned flags, CFileException* error = nullptr);
    // Reads up to count bytes; fewer only at the end of the file.
    uint32_t Read(void* buffer, uint32_t count);
    // Writes all count bytes or throws (a short write is a full disk).
    void Write(const void* buffer, uint32_t count);
    void Flush();
    uint64_t GetLength() const;
    void Close();
    // Closes without throwing, for clean-up paths.
    void Abort();
    bool IsOpen() const;
    const std::string& GetFilePath() const { return m_fileName; }

    // Puts one file in place of another in a single step: either the target
    // is the new file afterwards or it is untouched. Throws CFileException.
    static void Replace(const std::string& from, const std::string& to);
    static void Remove(const std::string& fileName); // throws CFileException

private:
    [[noreturn]] void ThrowLastError() const;

    std::intptr_t m_handle = -1;
    std::string m_fileName;
};
