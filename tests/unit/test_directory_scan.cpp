// Directory records, the pattern text, the sort and the pairing merge, on
// real temporary directories (through whichever listing seam is built).
#include <doctest/doctest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "directory/core/file_entry.h"
#include "directory/core/pair_entries.h"
#include "directory/core/scan_files.h"
#include "directory/core/wildcard_match.h"
#include "directory_fixture.h"

using namespace directory_test;

namespace {

std::vector<std::string> Shown(const FileEntryArray& files)
{
    std::vector<std::string> names;
    for (size_t i = 0; i < files.size(); ++i)
        names.push_back(files[i]->DisplayName());
    return names;
}

using Names = std::vector<std::string>;

// The names joined by blanks, so that a failure shows them.
std::string Joined(const Names& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : " ") + name;
    return text;
}

std::string Scan(const ScratchDirectory& directory, const std::string& patternText)
{
    FileEntryArray files;
    ScanFiles(files, directory.Name(), patternText);
    return Joined(Shown(files));
}

} // namespace

TEST_CASE("a file name splits at its last dot")
{
    struct Row {
        const char* fileName;
        const char* name;
        const char* extension;
        const char* shown;
    };
    const Row rows[] = {
        {"notes.old.txt", "notes.old", "txt", "notes.old.txt"},
        {".profile", "", "profile", ".profile"},
        {"readme", "readme", "", "readme"},
        {"main.c", "main", "c", "main.c"},
        {"..hidden", ".", "hidden", "..hidden"},
    };
    for (const Row& row : rows) {
        INFO("file: " << row.fileName);
        std::string name, extension;
        SplitFileName(row.fileName, name, extension);
        CHECK(name == row.name);
        CHECK(extension == row.extension);
        FileEntry entry;
        entry.name = name;
        entry.extension = extension;
        CHECK(entry.DisplayName() == row.shown);
    }
}

TEST_CASE("DOS dates and times hold 1980 to 2107 at two-second steps, and 0 outside")
{
    struct Row {
        const char* label;
        int year, month, day, hour, minute, second;
        uint16_t date, time;
    };
    const Row rows[] = {
        {"the first DOS day", 1980, 1, 1, 0, 0, 0, 0x0021, 0x0000},
        {"odd seconds round down", 2026, 12, 7, 15, 51, 9, ((2026 - 1980) << 9) | (12 << 5) | 7, (15 << 11) | (51 << 5) | 4},
        {"the last DOS day", 2107, 12, 31, 23, 59, 59, ((2107 - 1980) << 9) | (12 << 5) | 31, (23 << 11) | (59 << 5) | 29},
        {"the Unix epoch", 1970, 1, 1, 0, 0, 0, 0, 0},
        {"the day before 1980", 1979, 12, 31, 23, 59, 59, 0, 0},
        {"after 2107", 2108, 1, 1, 0, 0, 0, 0, 0},
    };
    for (const Row& row : rows) {
        INFO("case: " << row.label);
        uint16_t date = 0xFFFF, time = 0xFFFF;
        ToDosDateTime(row.year, row.month, row.day, row.hour, row.minute, row.second, date, time);
        CHECK(date == row.date);
        CHECK(time == row.time);
    }
}

TEST_CASE("the list order is by name, then by extension, without regard to case")
{
    bool sameFolded = false;
    CHECK(CompareNames("readme", "README", &sameFolded) != 0);
    CHECK(sameFolded);
    CHECK(CompareNames("Alpha", "beta") < 0);
    CHECK(CompareNames("abc", "ab") > 0);
    FileEntry hyphen, plain, upper;
    SplitFileName("a-b.txt", hyphen.name, hyphen.extension);
    SplitFileName("a.zip", plain.name, plain.extension);
    SplitFileName("A.TXT", upper.name, upper.extension);
    // By the whole name "a-b.txt" would come first; by name "a" does.
    CHECK(CompareFileEntries(plain, hyphen) < 0);
    CHECK(CompareFileEntries(upper, plain) < 0);
    FileEntry lower;
    SplitFileName("a.txt", lower.name, lower.extension);
    CHECK(IsSameFile(upper, lower));
}

TEST_CASE("sorting a large listing that arrives already sorted or reversed")
{
    // NTFS lists names in order; a naive quicksort degrades there.
    for (bool reversed : {false, true}) {
        FileEntryArray files;
        const int count = 200000;
        for (int i = 0; i < count; ++i) {
            char name[16];
            int n = reversed ? count - 1 - i : i;
            std::snprintf(name, sizeof name, "f%07d", n);
            FileEntry entry;
            entry.name = name;
            entry.extension = "txt";
            files.Add(entry);
        }
        files.Sort();
        REQUIRE(files.size() == static_cast<size_t>(count));
        for (size_t i = 1; i < files.size(); ++i)
            REQUIRE(CompareFileEntries(*files[i - 1], *files[i]) < 0);
    }
}

TEST_CASE("wildcards match as a directory search does")
{
    struct Row {
        const char* name;
        const char* pattern;
        bool matches;
    };
    const Row rows[] = {
        {"main.c", "*.c", true},          {"main.cpp", "*.c", false},      {"MAIN.C", "*.c", true},
        {"readme", "*.*", true},          {".profile", "*.*", true},       {"a.b.c", "*.c", true},
        {"readme", "*.", true},           {"read.me", "*.", false},        {"main", "main.*", true},
        {"main.c", "ma?n.?", true},       {"man.c", "ma?n.?", false},      {"abcabd", "*abd", true},
        {"abcab", "*abd", false},         {"x", "*", true},                {"", "*", true},
        {"notes.old.txt", "*.old.*", true}, {"notes.txt", "*.old.*", false}, {"Zz", "zZ", true},
    };
    for (const Row& row : rows) {
        INFO("name: " << row.name);
        INFO("pattern: " << row.pattern);
        CHECK(MatchesWildcard(row.name, row.pattern) == row.matches);
    }
}

TEST_CASE("scanning lists the files that match the pattern text, sorted, without directories")
{
    ScratchDirectory directory("scan");
    for (const char* name : {"main.c", "main.h", "util.cpp", "notes.old.txt", ".profile", "b.c", "build_script"})
        directory.Write(name, "x");
    fs::create_directories(directory.path / "sub.c");
    fs::create_directories(directory.path / "sub");
    directory.Write("sub/inner.c", "x");

    struct Row {
        const char* label;
        const char* patternText;
        Names shown;
    };
    const Row rows[] = {
        {"everything", "*.*", {".profile", "b.c", "build_script", "main.c", "main.h", "notes.old.txt", "util.cpp"}},
        {"a blank after a pattern", "*.h ,*.cpp", {"main.h", "util.cpp"}},
        {"two patterns, the blank after the comma dropped", "*.cpp, *.h", {"main.h", "util.cpp"}},
        {"blanks and tabs before the first pattern", " \t *.c", {"b.c", "main.c"}},
        {"a file matching two patterns is listed twice", "*.c,m*", {"b.c", "main.c", "main.c", "main.h"}},
        {"an empty pattern text", "", {}},
        {"only commas and blanks", " , ,\t,", {}},
        {"a trailing comma", "*.h,", {"main.h"}},
        {"a pattern that matches nothing", "*.xyz", {}},
        {"patterns with a path are skipped", "sub\\*.c,sub/*.c,..\\*.*,C:*.*,*.h", {"main.h"}},
    };
    for (const Row& row : rows) {
        INFO("case: " << row.label);
        CHECK(Scan(directory, row.patternText) == Joined(row.shown));
    }
}

TEST_CASE("scanning a directory that does not exist adds nothing")
{
    ScratchDirectory directory("gone");
    FileEntryArray files;
    ScanFiles(files, directory.File("missing"), "*.*");
    CHECK(files.empty());
}

TEST_CASE("upper-case 8.3 names are shown in lower case, other names keep their case")
{
    ScratchDirectory directory("case");
    directory.Write("README.TXT", "x");
    directory.Write("NOEXT", "x");
    directory.Write("Long Mixed Name.Text", "x");
    directory.Write("lower.txt", "x");
    FileEntryArray files;
    ScanFiles(files, directory.Name(), "*.*");
    CHECK(Shown(files) == Names{"Long Mixed Name.Text", "lower.txt", "noext", "readme.txt"});
    // The name on disk stays as it is: paths are built from it.
    REQUIRE(files.size() == 4);
    CHECK(files[3]->fileName == "README.TXT");
    CHECK(files[2]->fileName == "NOEXT");
}

TEST_CASE("a scanned file carries its whole size, a 64-bit one included")
{
    ScratchDirectory directory("size");
    directory.Write("small.bin", "0123456789");
    directory.Write("huge.bin", "");
    std::error_code error;
    fs::resize_file(directory.path / "huge.bin", (uint64_t(1) << 32) + 10, error);
    if (error) {
        MESSAGE("no sparse 4 GB file here: " << error.message());
        return;
    }
    FileEntryArray files;
    ScanFiles(files, directory.Name(), "*.bin");
    REQUIRE(files.size() == 2);
    CHECK(files[0]->size == (uint64_t(1) << 32) + 10);
    CHECK(files[1]->size == 10);
}

TEST_CASE("a file dated before 1980 is dated 0")
{
    ScratchDirectory directory("old");
    directory.Write("old.txt", "x");
    directory.Write("new.txt", "x");
    auto now = fs::last_write_time(directory.path / "new.txt");
    fs::last_write_time(directory.path / "old.txt", now - std::chrono::hours(24 * 365 * 60));
    FileEntryArray files;
    ScanFiles(files, directory.Name(), "*.txt");
    REQUIRE(files.size() == 2);
    CHECK(files[0]->DisplayName() == "new.txt");
    CHECK(files[0]->date != 0);
    CHECK(files[1]->date == 0);
    CHECK(files[1]->time == 0);
}

namespace {

// A side from names, sorted as a scan would leave it.
void Fill(FileEntryArray& files, const std::vector<std::string>& names)
{
    for (const std::string& fileName : names) {
        FileEntry entry;
        entry.fileName = fileName;
        SplitFileName(fileName, entry.name, entry.extension);
        entry.status = 7; // the merge must overwrite it
        files.Add(entry);
    }
    files.Sort();
}

// Walks the rows and checks that they are the two sides, in order, with
// every row a pair of equal names or one name facing an empty row.
void CheckRows(const std::vector<PairedRow>& rows, const FileEntryArray& source, const FileEntryArray& master)
{
    size_t i = 0, j = 0;
    const FileEntry* previous = nullptr;
    for (const PairedRow& row : rows) {
        REQUIRE((row.source || row.master));
        const FileEntry* present = row.source ? row.source : row.master;
        if (row.source && row.master) {
            REQUIRE(IsSameFile(*row.source, *row.master));
            REQUIRE(row.source->status == row.master->status);
        } else {
            REQUIRE(present->status == 1);
            // A lone file sorts before the next file still waiting on the
            // other side, so no partner was passed over.
            const FileEntryArray& other = row.source ? master : source;
            size_t next = row.source ? j : i;
            if (next < other.size())
                REQUIRE(CompareFileEntries(*present, *other[next]) < 0);
        }
        if (row.source) {
            REQUIRE(i < source.size());
            REQUIRE(row.source == source[i++]);
        }
        if (row.master) {
            REQUIRE(j < master.size());
            REQUIRE(row.master == master[j++]);
        }
        if (previous)
            REQUIRE((IsSameFile(*previous, *present) || CompareFileEntries(*previous, *present) <= 0));
        previous = present;
    }
    CHECK(i == source.size());
    CHECK(j == master.size());
}

} // namespace

TEST_CASE("pairing lines up names that differ only in case and leaves lone files facing empty rows")
{
    FileEntryArray source, master;
    Fill(source, {"readme.txt", "main.c", "only_source.h", "Makefile"});
    Fill(master, {"README.TXT", "main.c", "MAKEFILE", "only_master.h", "zz"});
    auto rows = PairEntries(source, master, [](const FileEntry& s, const FileEntry&) {
        return s.name == "main" ? 0 : 1;
    });
    CheckRows(rows, source, master);
    std::vector<std::string> shown;
    for (const PairedRow& row : rows)
        shown.push_back((row.source ? row.source->DisplayName() : "-") + " | " +
                        (row.master ? row.master->DisplayName() : "-"));
    CHECK(shown == Names{"main.c | main.c", "Makefile | MAKEFILE", "- | only_master.h", "only_source.h | -",
                         "readme.txt | README.TXT", "- | zz"});
    CHECK(source[0]->status == 0);
    CHECK(master[0]->status == 0);
    CHECK(source[1]->status == 1);
}

TEST_CASE("pairing keeps both lists row-aligned on many generated name sets")
{
    std::mt19937 random(4242);
    const Names stems = {"a", "A", "a.b", "A.B", "a.c", "ab", "b", "b.a", "", "main.c", "Main.C", ".x",
                         "x.", "a-b", "a_b", "readme", "README", "z.z.z"};
    for (int round = 0; round < 3000; ++round) {
        Names left, right;
        for (const std::string& stem : stems) {
            // Duplicates on one side happen when two patterns match one file.
            int copies = static_cast<int>(random() % 5);
            for (int c = 0; c < copies % 3; ++c)
                (copies < 3 ? left : right).push_back(stem);
            if (random() % 3 == 0)
                right.push_back(stem);
            if (random() % 3 == 0)
                left.push_back(stem);
        }
        FileEntryArray source, master;
        Fill(source, left);
        Fill(master, right);
        int calls = 0;
        auto rows = PairEntries(source, master, [&](const FileEntry&, const FileEntry&) {
            return ++calls % 2;
        });
        CAPTURE(round);
        CheckRows(rows, source, master);
        size_t pairs = 0;
        for (const PairedRow& row : rows)
            pairs += row.source && row.master;
        CHECK(pairs == static_cast<size_t>(calls));
        CHECK(rows.size() == source.size() + master.size() - pairs);
    }
}
