// The status of a pair: by sizes and DOS timestamps, or by sizes and the
// bytes of both files, read block by block.
#include <doctest/doctest.h>

#include <chrono>
#include <string>

#include "directory/core/compare_status.h"
#include "directory/core/scan_files.h"
#include "directory_fixture.h"

using namespace directory_test;

namespace {

// Both directories of a pair, each with the files written into it.
struct DirectoryPair {
    ScratchDirectory source{"src"};
    ScratchDirectory master{"mst"};

    // Scans both sides for one file and returns its status under a method.
    int Status(const std::string& fileName, int method)
    {
        FileEntryArray sourceFiles, masterFiles;
        ScanFiles(sourceFiles, source.Name(), fileName);
        ScanFiles(masterFiles, master.Name(), fileName);
        REQUIRE(sourceFiles.size() == 1);
        REQUIRE(masterFiles.size() == 1);
        return CompareStatus(*sourceFiles[0], *masterFiles[0], source.Name(), master.Name(), method);
    }
    // Gives the Master file the Source file's last-write time, moved by an offset.
    void AlignTime(const std::string& fileName, std::chrono::seconds offset = std::chrono::seconds(0))
    {
        fs::last_write_time(master.path / fileName, fs::last_write_time(source.path / fileName) + offset);
    }
};

std::string Bytes(size_t length, char seed = 'a')
{
    std::string bytes(length, '\0');
    for (size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<char>(seed + i % 23);
    return bytes;
}

} // namespace

// Compares with and without the size the scan saw: both ways must agree.
static int CompareBothWays(ContentComparer& comparer, const ScratchDirectory& directory, uint64_t scannedSize)
{
    int unknown = comparer.Compare(directory.File("a"), directory.File("b"));
    int known = comparer.Compare(directory.File("a"), directory.File("b"), scannedSize);
    CHECK(unknown == known);
    return known;
}

TEST_CASE("contents: every length from 0 to 9 with a difference at every position")
{
    ScratchDirectory directory("bytes");
    ContentComparer comparer;
    for (size_t length = 0; length <= 9; ++length) {
        std::string bytes = Bytes(length);
        directory.Write("a", bytes);
        directory.Write("b", bytes);
        CAPTURE(length);
        CHECK(CompareBothWays(comparer, directory, length) == 0);
        for (size_t at = 0; at < length; ++at) {
            std::string changed = bytes;
            changed[at] = static_cast<char>(changed[at] ^ 0x01);
            directory.Write("b", changed);
            CAPTURE(at);
            CHECK(CompareBothWays(comparer, directory, length) == 1);
        }
    }
}

TEST_CASE("contents: differences at the edges of the read block")
{
    ScratchDirectory directory("blocks");
    ContentComparer comparer;
    const size_t block = CONTENT_BLOCK_SIZE;
    for (size_t length : {block - 1, block, block + 1, 2 * block, 2 * block + 3}) {
        std::string bytes = Bytes(length, 'A');
        directory.Write("a", bytes);
        directory.Write("b", bytes);
        CAPTURE(length);
        CHECK(CompareBothWays(comparer, directory, length) == 0);
        for (size_t at : {size_t(0), block - 1, block, block + 1, length - 3, length - 1}) {
            if (at >= length)
                continue;
            std::string changed = bytes;
            changed[at] = '\xFF';
            directory.Write("b", changed);
            CAPTURE(at);
            CHECK(CompareBothWays(comparer, directory, length) == 1);
        }
    }
}

TEST_CASE("contents: files that changed size since the scan are read to their real end")
{
    ScratchDirectory directory("resized");
    ContentComparer comparer;
    const size_t block = CONTENT_BLOCK_SIZE;
    struct Row {
        const char* label;
        size_t scanned, source, master;
        int status;
    };
    const Row rows[] = {
        {"one file grew", 10, 10, 11, 1},
        {"one file shrank", 10, 10, 9, 1},
        {"both grew alike", 10, 12, 12, 0},
        {"both shrank alike", 10, 4, 4, 0},
        {"one grew past a block", block - 1, block - 1, block + 5, 1},
        {"both grew past a block", block - 1, block + 5, block + 5, 0},
        {"an empty file was written to", 0, 0, 3, 1},
    };
    for (const Row& row : rows) {
        INFO("case: " << row.label);
        std::string bytes = Bytes(row.source > row.master ? row.source : row.master);
        directory.Write("a", bytes.substr(0, row.source));
        directory.Write("b", bytes.substr(0, row.master));
        CHECK(comparer.Compare(directory.File("a"), directory.File("b"), row.scanned) == row.status);
    }
}

TEST_CASE("contents: a file that grew or shrank after the scan, or cannot be read, counts as different")
{
    ScratchDirectory directory("odd");
    ContentComparer comparer;
    const size_t block = CONTENT_BLOCK_SIZE;
    directory.Write("block", Bytes(block));
    directory.Write("block+1", Bytes(block + 1));
    directory.Write("short", Bytes(5));
    directory.Write("empty", "");
    fs::create_directories(directory.path / "folder");
    CHECK(comparer.Compare(directory.File("block"), directory.File("block+1")) == 1);
    CHECK(comparer.Compare(directory.File("block+1"), directory.File("block")) == 1);
    CHECK(comparer.Compare(directory.File("short"), directory.File("empty")) == 1);
    CHECK(comparer.Compare(directory.File("empty"), directory.File("empty")) == 0);
    CHECK(comparer.Compare(directory.File("short"), directory.File("missing")) == 1);
    CHECK(comparer.Compare(directory.File("missing"), directory.File("short")) == 1);
    CHECK(comparer.Compare(directory.File("folder"), directory.File("folder")) == 1);
    // Nothing of a failed comparison sticks to the next one.
    CHECK(comparer.Compare(directory.File("short"), directory.File("short")) == 0);
}

TEST_CASE("by timestamps: equal sizes and DOS times are the same, whatever the contents")
{
    DirectoryPair pair;
    pair.source.Write("t.txt", "abc");
    pair.master.Write("t.txt", "xyz");
    pair.AlignTime("t.txt");
    CHECK(pair.Status("t.txt", 0) == 0);
    CHECK(pair.Status("t.txt", 1) == 1);
    pair.AlignTime("t.txt", std::chrono::seconds(60));
    CHECK(pair.Status("t.txt", 0) == 1);
    pair.AlignTime("t.txt", std::chrono::seconds(-24 * 3600));
    CHECK(pair.Status("t.txt", 0) == 1);
}

TEST_CASE("by contents: equal bytes are the same whatever the times; any other method says different")
{
    DirectoryPair pair;
    pair.source.Write("c.txt", "same bytes");
    pair.master.Write("c.txt", "same bytes");
    pair.AlignTime("c.txt", std::chrono::seconds(3600));
    CHECK(pair.Status("c.txt", 1) == 0);
    CHECK(pair.Status("c.txt", 0) == 1);
    CHECK(pair.Status("c.txt", 2) == 1);
    pair.source.Write("e.txt", "");
    pair.master.Write("e.txt", "");
    CHECK(pair.Status("e.txt", 1) == 0);
    // Different sizes differ by either method, without reading.
    pair.source.Write("s.txt", "abcd");
    pair.master.Write("s.txt", "abc");
    pair.AlignTime("s.txt");
    CHECK(pair.Status("s.txt", 0) == 1);
    CHECK(pair.Status("s.txt", 1) == 1);
}

TEST_CASE("each side's file is opened under its own name, so names differing in case still compare")
{
    DirectoryPair pair;
    pair.source.Write("readme.txt", "text");
    pair.master.Write("README.TXT", "text");
    CHECK(pair.Status("*.txt", 1) == 0);
}

TEST_CASE("a file that vanishes between the scan and the comparison counts as different")
{
    for (bool masterGoes : {false, true}) {
        CAPTURE(masterGoes);
        DirectoryPair pair;
        pair.source.Write("v.txt", "contents");
        pair.master.Write("v.txt", "contents");
        FileEntryArray sourceFiles, masterFiles;
        ScanFiles(sourceFiles, pair.source.Name(), "*.*");
        ScanFiles(masterFiles, pair.master.Name(), "*.*");
        REQUIRE(sourceFiles.size() == 1);
        REQUIRE(masterFiles.size() == 1);
        fs::remove((masterGoes ? pair.master : pair.source).path / "v.txt");
        StatusOfPair status(pair.source.Name(), pair.master.Name(), 1);
        CHECK(status(*sourceFiles[0], *masterFiles[0]) == 1);
    }
}

TEST_CASE("sizes past 4 GB compare whole")
{
    DirectoryPair pair;
    pair.source.Write("big.bin", "0123456789");
    pair.master.Write("big.bin", "");
    std::error_code error;
    fs::resize_file(pair.master.path / "big.bin", (uint64_t(1) << 32) + 10, error);
    if (error) {
        MESSAGE("no sparse 4 GB file here: " << error.message());
        return;
    }
    pair.AlignTime("big.bin");
    CHECK(pair.Status("big.bin", 0) == 1);
    CHECK(pair.Status("big.bin", 1) == 1);
}
