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
        // Creates the file; fails (fileExists) where any file of that name exists.
        modeCreateNew = 0x4000,
    };

    CFile() = default;
    // Opens or throws CFileException.
    CFile(const std::string& fileName, unsigned flags);
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // False on failure; fills *error when given, never throws.
    bool Open(const std::string& fileName, unsigned flags, CFileException* error = nullptr);
    // Creates a file that did not exist before: `preferred`, or where a file
    // of that name exists (hidden and system files too) the first free
    // NumberedName beside it. GetFilePath() tells which. Throws CFileException.
    void OpenNew(const std::string& preferred, unsigned flags);
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

    // Puts the file `from` in place of the file `to` (which need not exist):
    // afterwards `to` is either the new file or exactly as it was. Where the
    // system cannot do that in one step (Windows 95, 98 and Me lack
    // MoveFileEx), the target is moved aside under a free name, the new file
    // moved in and the old one removed; on any failure the target is moved
    // back. Throws CFileException.
    static void Replace(const std::string& from, const std::string& to);
    // Tests set this to make Replace move the target aside where one step would do.
    static bool replaceByMovingAside;
    static void Remove(const std::string& fileName); // throws CFileException

    // Name number n to try for a new file in place of `preferred`: 0 is
    // `preferred` itself; then the same directory and extension with the first
    // five letters of the name and three digits ("orvinta.tmp", "orvin001.tmp").
    static std::string NumberedName(const std::string& preferred, unsigned number);
    static constexpr unsigned NUMBERED_NAMES = 1000;

private:
    [[noreturn]] void ThrowLastError() const;
    // Replace's steps on the platform. MoveReplacing overwrites the target in
    // one step and returns false where the system cannot; MoveNew refuses an
    // existing target (fileExists). Both throw CFileException on failure.
    static bool MoveReplacing(const std::string& from, const std::string& to);
    static void MoveNew(const std::string& from, const std::string& to);

    std::intptr_t m_handle = -1;
    std::string m_fileName;
};
