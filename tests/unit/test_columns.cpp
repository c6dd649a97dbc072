#include <doctest/doctest.h>

#include <random>
#include <string>

#include "compare_window/columns.h"

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
        CHECK(ColumnOfIndex(c.text, c.index) == c.column);
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
        CHECK(IndexOfColumn(c.text, c.column) == c.index);
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
            CHECK(IndexOfColumn(text, ColumnOfIndex(text, index)) == index);
        // Every column maps to the character whose cells cover it.
        const int width = ColumnOfIndex(text, length) + 3;
        for (int column = 0; column <= width; ++column) {
            const int index = IndexOfColumn(text, column);
            CHECK(ColumnOfIndex(text, index) <= column);
            CHECK(ColumnOfIndex(text, index + 1) > column);
        }
    }
}
