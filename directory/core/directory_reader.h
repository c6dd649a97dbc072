// The seam between the directory side and the platform: listing one
// directory by a wildcard pattern, and reading a file while others may write
// it. The Win32 side (directory_reader_win32.cpp) uses FindFirstFileA and
// CreateFileA; the POSIX side (directory_reader_posix.cpp) serves the native
// tests and benchmarks with the same answers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// The Windows attribute bits the directory side looks at (same values as the
// system's FILE_ATTRIBUTE_*).
constexpr uint32_t ENTRY_READONLY = 0x01;
constexpr uint32_t ENTRY_HIDDEN = 0x02;
constexpr uint32_t ENTRY_DIRECTORY = 0x10;
constexpr uint32_t ENTRY_ARCHIVE = 0x20;
// A junction or symbolic link: a folder with it is never walked into, so a
// link cannot make a walk loop.
constexpr uint32_t ENTRY_REPARSE_POINT = 0x400;

// One directory entry as the platform reports it.
struct FoundEntry {
    std::string fileName;   // the name as listed, case as found
    // The listed name holds "?" (or "*") where the process's code page has no
    // character for the name's own: a name Windows never allows, so it is
    // not the name on disk. shortName is then the only name that reaches the
    // file ("" when the file system keeps none).
    bool nameUnreadable = false;
    std::string shortName;
    uint64_t size = 0;
    uint32_t attributes = 0;
    uint16_t dosDate = 0;   // last write, local time; 0 when not representable
    uint16_t dosTime = 0;
    // True when the platform keeps no distinct short (8.3) name for the file:
    // the short name is empty or byte for byte the long name. Such names are
    // shown in lower case.
    bool shortNameIsLongName = false;
};

// Calls found() for every entry of directory that matches pattern ("*" any
// run, "?" one character, without regard to case), directories included.
// A directory that cannot be listed, or a pattern that matches nothing,
// produces no calls.
void ListDirectory(const std::string& directory, const std::string& pattern,
                   const std::function<void(const FoundEntry&)>& found);

// directory + the platform's separator + name. A drive root held as "d:"
// gives "d:\name".
std::string JoinPath(const std::string& directory, const std::string& name);

// A file opened for reading while others may go on reading and writing it
// (FILE_SHARE_READ | FILE_SHARE_WRITE on Win32). Never throws: the content
// comparison counts every failure as a difference.
class SharedReadFile {
public:
    SharedReadFile() = default;
    ~SharedReadFile();
    SharedReadFile(const SharedReadFile&) = delete;
    SharedReadFile& operator=(const SharedReadFile&) = delete;

    // False when the file cannot be opened.
    bool Open(const std::string& path);
    // One system read of up to count bytes: 0 at the end of the file, -1
    // when the read fails (a directory opened by name fails here).
    long long ReadSome(char* buffer, size_t count);

private:
    std::intptr_t handle = -1;
};

// Lower-cases a file name for display: the code page's lower case on Win32
// (CharLowerBuffA), ASCII letters natively.
void LowerCaseName(std::string& name);
