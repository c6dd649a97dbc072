// The directory side against the real file system's sharing rules: a file
// another program holds open for writing still compares; one it locks
// against everyone counts as different.
#include <doctest/doctest.h>

#include <windows.h>

#include "directory/core/compare_status.h"
#include "directory/core/scan_files.h"
#include "test_support.h"

namespace {

// Holds a file open the way another program would, with the given sharing.
struct HeldOpen {
    HeldOpen(const std::string& path, DWORD access, DWORD share)
        : handle(CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    ~HeldOpen()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
    HANDLE handle;
};

} // namespace

TEST_CASE("a file another program is writing still compares by contents")
{
    TempDirectory source, master;
    source.Write("log.txt", "line one\r\n");
    master.Write("log.txt", "line one\r\n");
    HeldOpen writer(master.Path() + "\\log.txt", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    REQUIRE(writer.handle != INVALID_HANDLE_VALUE);
    ContentComparer comparer;
    CHECK(comparer.Compare(source.Path() + "\\log.txt", master.Path() + "\\log.txt") == 0);

    // The writer adds a line: the contents now differ, and still no sharing error.
    DWORD written = 0;
    SetFilePointer(writer.handle, 0, nullptr, FILE_END);
    REQUIRE(WriteFile(writer.handle, "line two\r\n", 10, &written, nullptr));
    CHECK(comparer.Compare(source.Path() + "\\log.txt", master.Path() + "\\log.txt") == 1);
}

TEST_CASE("a file locked against every reader makes its pair different, silently")
{
    TempDirectory source, master;
    source.Write("locked.bin", "same");
    master.Write("locked.bin", "same");
    FileEntryArray sourceFiles, masterFiles;
    ScanFiles(sourceFiles, source.Path(), "*.bin");
    ScanFiles(masterFiles, master.Path(), "*.bin");
    REQUIRE(sourceFiles.size() == 1);
    REQUIRE(masterFiles.size() == 1);
    CHECK(CompareStatus(*sourceFiles[0], *masterFiles[0], source.Path(), master.Path(), 1) == 0);
    HeldOpen locker(master.Path() + "\\locked.bin", GENERIC_READ, 0);
    REQUIRE(locker.handle != INVALID_HANDLE_VALUE);
    CHECK(CompareStatus(*sourceFiles[0], *masterFiles[0], source.Path(), master.Path(), 1) == 1);
}
