// The text of a range of display rows, as Copy and merging take it.
#include <doctest/doctest.h>

#include <string>

#include "compare_window/row_text.h"
#include "engine/text_buffer.h"

namespace {

// Rows for "a\tb", "", "xyz", "last": the second one a filler.
void Prepare(TextBuffer& buffer)
{
    const std::string bytes = "a\tb\r\n\r\nxyz\r\nlast\r\n";
    REQUIRE(buffer.LoadFromMemory(bytes.data(), bytes.size()));
    REQUIRE(buffer.AllocateRows(4));
    buffer.SetRow(0, 0, ROW_FILE_LINE);
    buffer.SetRow(1, FILLER_LINE, ROW_FILLER);
    buffer.SetRow(2, 2, ROW_FILE_LINE);
    buffer.SetRow(3, 3, ROW_FILE_LINE);
}

} // namespace

TEST_CASE("the text between two display positions")
{
    TextBuffer buffer;
    Prepare(buffer);
    struct Row {
        std::string label;
        int startColumn, startRow, endColumn, endRow;
        bool fillers;
        std::string expected;
    } rows[] = {
        { "inside one row, a tab's cells count as the tab", 0, 0, 4, 0, false, "a\t" },
        { "past the end of a row pads with spaces", 1, 2, 5, 2, false, "yz  " },
        { "an empty range", 2, 2, 2, 2, false, "" },
        { "whole rows end with CR LF when the end is column 0", 0, 2, 0, 3, false, "xyz\r\n" },
        { "fillers are left out", 0, 0, 0, 3, false, "a\tb\r\nxyz\r\n" },
        { "fillers give empty lines when asked for", 0, 0, 0, 3, true, "a\tb\r\n\r\nxyz\r\n" },
        { "a start on a filler moves to the next row's column 0", 3, 1, 2, 2, false, "xy" },
        { "a range made only of fillers is empty", 0, 1, 3, 1, false, "" },
        { "rows past the end are fillers too", 0, 3, 0, 5, false, "last\r\n" },
    };
    for (const Row& row : rows) {
        CAPTURE(row.label);
        CHECK(RowsToString(buffer, row.startColumn, row.startRow, row.endColumn, row.endRow, row.fillers) ==
              row.expected);
    }
}
