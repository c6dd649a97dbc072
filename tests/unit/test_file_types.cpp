// The "FileTypes" text: every stop rule of the parser, formatting, and round
// trips through both on generated lists.
#include <doctest/doctest.h>

#include <random>
#include <string>
#include <vector>

#include "directory/core/file_types.h"

namespace {

using Filters = std::vector<FileTypeFilter>;

std::string Describe(const Filters& filters)
{
    std::string text;
    for (const FileTypeFilter& filter : filters)
        text += "[" + filter.patternList + " => " + filter.description + "]";
    return text;
}

} // namespace

TEST_CASE("parsing the FileTypes text stops at the first malformed record and keeps the filters before it")
{
    struct Row {
        const char* label;
        const char* text;
        Filters expected;
    };
    const Row rows[] = {
        {"the default text", "*.c,*.cpp,*.h,*.rc,*.def|Source Files|*.*|All Files||",
         {{"Source Files", "*.c,*.cpp,*.h,*.rc,*.def"}, {"All Files", "*.*"}}},
        {"an empty list", "|", {}},
        {"an empty text", "", {}},
        {"a last record without closing bars", "*.txt|Text Files", {{"Text Files", "*.txt"}}},
        {"a last record without the list's closing bar", "*.txt|Text Files|", {{"Text Files", "*.txt"}}},
        {"an empty description first", "*.txt||*.*|All|", {}},
        {"an empty pattern list first", "|All Files|", {}},
        {"a pattern list with nothing after its bar", "*.txt|", {}},
        {"no bar at all", "*.txt", {}},
        {"an empty description after a good record", "*.c|C|*.h||*.*|All|", {{"C", "*.c"}}},
        {"a pattern list without a description at the end", "*.c|C|*.h|", {{"C", "*.c"}}},
        {"a lone pattern list after a good record", "*.c|C|*.h", {{"C", "*.c"}}},
        {"blanks are kept as typed", " *.c , *.h | C files |", {{" C files ", " *.c , *.h "}}},
    };
    for (const Row& row : rows) {
        INFO("case: " << row.label);
        Filters parsed = ParseFileTypes(row.text);
        CHECK(Describe(parsed) == Describe(row.expected));
    }
}

TEST_CASE("formatting writes each filter as patterns|description| and one more bar")
{
    CHECK(FormatFileTypes({{"Source Files", "*.c,*.cpp,*.h,*.rc,*.def"}, {"All Files", "*.*"}}) ==
          "*.c,*.cpp,*.h,*.rc,*.def|Source Files|*.*|All Files||");
    CHECK(FormatFileTypes({}) == "|");
}

TEST_CASE("a bar typed into a filter field splits the filter at the next load")
{
    // Why the filter dialog refuses such fields.
    Filters typed = {{"Text", "*.txt|*.log"}, {"All", "*.*"}};
    CHECK(Describe(ParseFileTypes(FormatFileTypes(typed))) == Describe({{"*.log", "*.txt"}, {"*.*", "Text"}}));
    CHECK_FALSE(IsStorableFilterField("*.txt|*.log"));
    CHECK_FALSE(IsStorableFilterField(""));
    CHECK(IsStorableFilterField("*.txt, *.log"));
}

TEST_CASE("generated filter lists come back from their text form unchanged")
{
    std::mt19937 random(20261207);
    const std::string alphabet = "abcXYZ*.?, \t;-_()0";
    auto field = [&] {
        std::string text(1 + random() % 12, ' ');
        for (char& c : text)
            c = alphabet[random() % alphabet.size()];
        return text;
    };
    for (int round = 0; round < 2000; ++round) {
        Filters filters(random() % 6);
        for (FileTypeFilter& filter : filters) {
            filter.description = field();
            filter.patternList = field();
        }
        std::string text = FormatFileTypes(filters);
        CAPTURE(text);
        REQUIRE(Describe(ParseFileTypes(text)) == Describe(filters));
    }
}

TEST_CASE("any text parses into storable filters that survive another round trip")
{
    // Random texts over bars and two letters reach every stop rule.
    std::mt19937 random(7);
    const std::string alphabet = "||ab";
    for (int round = 0; round < 5000; ++round) {
        std::string text(random() % 14, ' ');
        for (char& c : text)
            c = alphabet[random() % alphabet.size()];
        CAPTURE(text);
        Filters parsed = ParseFileTypes(text);
        for (const FileTypeFilter& filter : parsed) {
            REQUIRE(IsStorableFilterField(filter.description));
            REQUIRE(IsStorableFilterField(filter.patternList));
        }
        REQUIRE(Describe(ParseFileTypes(FormatFileTypes(parsed))) == Describe(parsed));
    }
}
