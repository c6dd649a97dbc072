// The one order of names: case folded by Unicode simple case folding, by
// code point, ties by bytes; pairing takes names equal but for case.
#include <doctest/doctest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "directory/core/file_entry.h"
#include "directory/core/pair_entries.h"
#include "engine/text_encoding.h"

namespace {

// The process's code page for one test: UTF-8, or the native Latin-1.
struct ProcessCodePage {
    explicit ProcessCodePage(bool utf8) : saved(g_codePages.processUtf8) { g_codePages.processUtf8 = utf8; }
    ~ProcessCodePage() { g_codePages.processUtf8 = saved; }
    bool saved;
};

FileEntry Entry(const std::string& fileName)
{
    FileEntry entry;
    entry.fileName = fileName;
    SplitFileName(fileName, entry.name, entry.extension);
    return entry;
}

} // namespace

TEST_CASE("names pair when they differ only in case, folded for every letter")
{
    struct Row {
        const char* label;
        bool utf8;
        const char* a;
        const char* b;
        bool pair;
    };
    const Row rows[] = {
        {"ASCII", true, "readme.txt", "README.TXT", true},
        {"German umlaut", true, "\xC3\x9C" "bung.txt", "\xC3\xBC" "bung.txt", true},
        {"sharp s is not ss", true, "Strasse.txt", "Stra\xC3\x9F" "e.txt", false},
        {"capital sharp s", true, "STRA\xE1\xBA\x9E" "E", "stra\xC3\x9F" "e", true},
        {"Cyrillic", true, "\xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82", "\xD0\x9E\xD0\xA2\xD0\xA7\xD0\x81\xD0\xA2", true},
        {"Greek final sigma", true, "\xCE\x9F\xCE\x94\xCE\x9F\xCE\xA3", "\xCE\xBF\xCE\xB4\xCE\xBF\xCF\x82", true},
        {"dotted capital I stays apart", true, "\xC4\xB0" "x", "ix", false},
        {"Japanese", true, "\xE6\x97\xA5\xE6\x9C\xAC.txt", "\xE6\x97\xA5\xE6\x9C\xAC.TXT", true},
        {"Latin-1 umlaut in a legacy process", false, "\xDC" "bung.txt", "\xFC" "bung.txt", true},
        {"UTF-8 bytes read as Latin-1 fold apart", false, "\xC3\x9C" "bung", "\xC3\xBC" "bung", false},
        {"stray bytes are themselves", true, "a\xFF", "a\xFE", false},
        {"extension differs", true, "a.txt", "a.text", false},
    };
    for (const Row& row : rows) {
        INFO("case: " << row.label);
        ProcessCodePage codePage(row.utf8);
        FileEntry a = Entry(row.a), b = Entry(row.b);
        CHECK(IsSameFile(a, b) == row.pair);
        // Strict: only the same bytes compare equal, and the order is antisymmetric.
        CHECK(CompareFileEntries(a, b) != 0);
        CHECK(CompareFileEntries(a, b) == -CompareFileEntries(b, a));
    }
}

TEST_CASE("names that cannot be read never pair, not even with the same listed name")
{
    FileEntryArray source, master;
    for (FileEntryArray* side : {&source, &master}) {
        for (const char* shortName : {"9A1B~1.TXT", ""}) {
            FileEntry entry = Entry("??.txt");
            entry.nameUnreadable = true;
            entry.fileName = shortName;
            side->Add(entry);
        }
        side->Add(Entry("ab.txt"));
        side->Sort();
    }
    auto rows = PairEntries(source, master, [](const FileEntry&, const FileEntry&) { return 0; });
    size_t pairs = 0;
    for (const PairedRow& row : rows) {
        if (row.source && row.master) {
            ++pairs;
            CHECK(row.source->fileName == "ab.txt");
        }
    }
    CHECK(pairs == 1);
    CHECK(rows.size() == 5);
}

TEST_CASE("the order is strict, and the file lists order names as the directory list does")
{
    ProcessCodePage codePage(true);
    std::vector<std::string> names = {
        "a-b", "a_b", "a'b", "ab", "AB", "Ab", "a b", "a", "A", "a.b", "a.B", "a-b.txt", "a_b.txt", "ab.txt",
        "Strasse", "Stra\xC3\x9F" "e", "STRASSE", "\xC3\x9C" "bung", "\xC3\xBC" "bung", "ubung", "zebra", "Zebra",
        "\xE6\x97\xA5\xE6\x9C\xAC", "\xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82", ".profile", "x\xFF", "x\xC3",
    };
    std::mt19937 random(17);
    for (int round = 0; round < 20; ++round) {
        std::shuffle(names.begin(), names.end(), random);
        FileEntryArray files;
        for (const std::string& name : names)
            files.Add(Entry(name));
        files.Sort();
        std::vector<std::string> listed = names;
        std::sort(listed.begin(), listed.end(),
                  [](const std::string& a, const std::string& b) { return CompareWholeNames(a, b) < 0; });
        REQUIRE(files.size() == listed.size());
        for (size_t i = 0; i < files.size(); ++i) {
            CAPTURE(i);
            CHECK(files[i]->fileName == listed[i]);
            if (i > 0) {
                CHECK(CompareFileEntries(*files[i - 1], *files[i]) < 0);
                CHECK(CompareWholeNames(listed[i - 1], listed[i]) < 0);
            }
        }
    }
    // Punctuation by code point, not skipped as a linguistic sort skips it.
    std::vector<std::string> expected = {"a b", "a'b", "a-b", "a_b", "ab"};
    std::vector<std::string> sorted = {"ab", "a_b", "a-b", "a b", "a'b"};
    std::sort(sorted.begin(), sorted.end(),
              [](const std::string& a, const std::string& b) { return CompareWholeNames(a, b) < 0; });
    CHECK(sorted == expected);
}
