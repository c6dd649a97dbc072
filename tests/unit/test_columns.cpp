#include <doctest/doctest.h>

#include <random>
#include <string>
#include <vector>

#include "compare_window/columns.h"
#include "engine/text_encoding.h"

TEST_CASE("ColumnOfIndex expands tabs to multiples of four and counts virtual spaces")
{
    struct Case {
        const char* label;
        std::string text;
        int index;
        int column;
    };
    const Case cases[] = {
        {"plain characters count one each", "abcdef", 4, 4},
        {"index 0 is column 0", "\tabc", 0, 0},
        {"a leading tab reaches column 4", "\tx", 1, 4},
        {"a tab after three characters reaches 4, not 8", "abc\tx", 4, 4},
        {"a tab standing on a tab stop advances a full stop", "abcd\tx", 5, 8},
        {"two tabs reach 8", "\t\tx", 2, 8},
        {"tab after one character of the second stop", "\tA\tx", 3, 8},
        {"the end of the text", "a\tb", 3, 5},
        {"past the end: one virtual space per position", "a\tb", 6, 8},
        {"empty text: all virtual", "", 7, 7},
        {"a negative index is column 0", "abc", -2, 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.label);
        CHECK(ColumnOfIndex(c.text, c.index, false) == c.column);
    }
}

TEST_CASE("IndexOfColumn finds the character shown at a column")
{
    struct Case {
        const char* label;
        std::string text;
        int column;
        int index;
    };
    const Case cases[] = {
        {"plain characters", "abcdef", 3, 3},
        {"column 0", "\tabc", 0, 0},
        {"a column inside a leading tab gives the tab", "\tx", 2, 0},
        {"the last cell of a tab still gives the tab", "\tx", 3, 0},
        {"the column just after a tab", "\tx", 4, 1},
        {"a tab carrying past the target from the middle of a row", "ab\tcd", 3, 2},
        {"exactly the end of the text", "a\tb", 5, 3},
        {"past the end: virtual characters", "a\tb", 9, 7},
        {"past the end of a row ending in a tab", "a\t", 6, 4},
        {"empty text", "", 5, 5},
        {"a negative column is index 0", "abc", -3, 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.label);
        CHECK(IndexOfColumn(c.text, c.column, false) == c.index);
    }
}

TEST_CASE("IndexOfColumn and ColumnOfIndex agree on generated rows")
{
    std::mt19937 random(20240611);
    const char alphabet[] = { 'a', ' ', '\t', 'b' };
    for (int round = 0; round < 500; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 12);
        for (int i = 0; i < length; ++i)
            text += alphabet[random() % 4];
        CAPTURE(text);
        // Each character (and each virtual one past the end) is found at its own column.
        for (int index = 0; index <= length + 3; ++index)
            CHECK(IndexOfColumn(text, ColumnOfIndex(text, index, false), false) == index);
        // Every column maps to the character whose cells cover it.
        const int width = ColumnOfIndex(text, length, false) + 3;
        for (int column = 0; column <= width; ++column) {
            const int index = IndexOfColumn(text, column, false);
            CHECK(ColumnOfIndex(text, index, false) <= column);
            CHECK(ColumnOfIndex(text, index + 1, false) > column);
        }
    }
}

TEST_CASE("columns and steps cover whole characters in either store")
{
    UseLatin1CodePage();
    // "é" = C3 A9, "€" = E2 82 AC, U+1F600 = F0 9F 98 80, FF a stray byte.
    struct Case {
        const char* label;
        std::string text;
        bool utf8;
        int index;       // a byte index at a character start
        int column;      // ColumnOfIndex(index)
        int next;        // StepCharacters(index, +1)
        int previous;    // StepCharacters(index, -1)
    };
    const Case cases[] = {
        { "a two-byte sequence is one cell", "\xC3\xA9x", true, 2, 1, 3, 0 },
        { "a three-byte sequence is one cell", "a\xE2\x82\xACz", true, 4, 2, 5, 1 },
        { "a four-byte sequence is one cell", "\xF0\x9F\x98\x80y", true, 4, 1, 5, 0 },
        { "a stray byte is a cell of its own", "a\xFF\xC3\xA9", true, 2, 2, 4, 1 },
        { "a lead byte without its trail is a cell", "\xC3" "a", true, 1, 1, 2, 0 },
        { "a tab after a multi-byte character", "\xC3\xA9\tq", true, 3, 4, 4, 2 },
        { "in a legacy store every byte is a cell", "\xC3\xA9x", false, 2, 2, 3, 1 },
        { "past the end a step is a virtual space", "\xC3\xA9", true, 3, 2, 4, 2 },
    };
    for (const Case& c : cases) {
        CAPTURE(c.label);
        CHECK(ColumnOfIndex(c.text, c.index, c.utf8) == c.column);
        CHECK(IndexOfColumn(c.text, c.column, c.utf8) == c.index);
        CHECK(StepCharacters(c.text, c.index, 1, c.utf8) == c.next);
        CHECK(StepCharacters(c.text, c.index, -1, c.utf8) == c.previous);
    }
    // An index inside a sequence counts the whole character.
    CHECK(ColumnOfIndex("\xE2\x82\xAC" "a", 1, true) == 1);
}

TEST_CASE("glyph runs: one UTF-16 character per cell, tabs end runs")
{
    UseLatin1CodePage();
    struct Case {
        const char* label;
        std::string text;
        bool utf8;
        int from, to;
        std::u16string units;
        std::vector<int> cells;
        std::vector<int> runColumns;
    };
    const Case cases[] = {
        { "UTF-8 decoded", "K\xC3\xB6ln", true, 0, 5, u"K\u00F6ln", { 1, 1, 1, 1 }, { 0 } },
        { "a surrogate pair advances one cell", "\xF0\x9F\x98\x80!", true, 0, 5, u"\U0001F600!", { 1, 0, 1 }, { 0 } },
        { "a stray byte shows as a replacement", "a\xFF", true, 0, 2, u"a\uFFFD", { 1, 1 }, { 0 } },
        { "legacy bytes through the code page", "K\xF6ln", false, 0, 4, u"K\u00F6ln", { 1, 1, 1, 1 }, { 0 } },
        { "tabs split runs at their stops", "\xC3\xA9\tb", true, 0, 4, u"\u00E9b", { 1, 1 }, { 0, 4 } },
        { "a range starts at its own column", "ab\xC3\xA9" "cd", true, 2, 5, u"\u00E9c", { 1, 1 }, { 2 } },
    };
    for (const Case& c : cases) {
        CAPTURE(c.label);
        GlyphRow row;
        LayOutGlyphs(c.text, c.utf8, c.from, c.to, row);
        CHECK(row.units == c.units);
        CHECK(row.cells == c.cells);
        std::vector<int> columns;
        for (const GlyphRun& run : row.runs)
            columns.push_back(run.column);
        CHECK(columns == c.runColumns);
    }
}
