#include <doctest/doctest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/process_values.h"
#include "compare_window/change_marks.h"

namespace {

// Display rows from loaded lines; FILLER_LINE makes a filler.
void Rows(TextBuffer& buffer, const std::string& bytes, const std::vector<uint32_t>& lines)
{
    REQUIRE(buffer.LoadFromMemory(bytes.data(), bytes.size()));
    REQUIRE(buffer.AllocateRows(uint32_t(lines.size())));
    for (uint32_t row = 0; row < lines.size(); ++row)
        buffer.SetRow(row, lines[row], lines[row] == FILLER_LINE ? ROW_DIFFERS | ROW_FILE_LINE | ROW_FILLER
                                                                 : ROW_FILE_LINE);
}

std::vector<int> Cells(const std::vector<MarkedSpan>& spans)
{
    std::vector<int> cells;
    for (const MarkedSpan& span : spans) {
        cells.push_back(span.cellBegin);
        cells.push_back(span.cellEnd);
    }
    return cells;
}

} // namespace

TEST_CASE("marked bytes become the display cells they cover")
{
    struct {
        std::string label;
        std::string text;
        bool utf8;
        std::vector<ByteRange> ranges;
        std::vector<int> cells;
    } const cases[] = {
        { "plain", "ab cd", true, { { 1, 2 }, { 3, 5 } }, { 1, 2, 3, 5 } },
        { "a tab fills to its stop", "a\tb\tc", true, { { 1, 2 }, { 3, 4 } }, { 1, 4, 5, 8 } },
        { "after a tab", "\t\tx", true, { { 2, 3 } }, { 8, 9 } },
        { "multi-byte characters are one cell", "\xC3\xA9\xE2\x86\x92x", true, { { 2, 5 }, { 5, 6 } },
          { 1, 2, 2, 3 } },
        { "legacy bytes are one cell each", "\xE9\xE8x", false, { { 1, 3 } }, { 1, 3 } },
    };
    for (const auto& row : cases) {
        CAPTURE(row.label);
        std::vector<MarkedSpan> spans = SpansWithCells(row.text, row.utf8, row.ranges);
        CHECK(Cells(spans) == row.cells);
        REQUIRE(spans.size() == row.ranges.size());
        for (size_t k = 0; k < spans.size(); ++k)
            CHECK((spans[k].byteBegin == row.ranges[k].begin && spans[k].byteEnd == row.ranges[k].end));
    }
}

TEST_CASE("a marked cell's colour is the highlight at three quarters")
{
    struct {
        uint32_t highlight;
        uint32_t mark;
    } const cases[] = { { 0xFF00FF, 0xBF00BF }, { 0x00FFFF, 0x00BFBF }, { 0x000000, 0x000000 },
                        { 0x030201, 0x020100 }, { 0x804020, 0x603018 } };
    for (const auto& row : cases) {
        CAPTURE(row.highlight);
        CHECK(MarkColour(row.highlight) == row.mark);
    }
}

TEST_CASE("rows are marked only where changed lines face each other, and follow edits")
{
    // Rows: 0 equal, 1-2 a changed block of two Source lines and one Master
    // line, 3 a Source-only line facing a filler.
    TextBuffer source, master;
    Rows(source, "same\nx = 1;\ny = 2;\nextra\n", { 0, 1, 2, 3 });
    Rows(master, "same\nx = 9;\n", { 0, 1, FILLER_LINE, FILLER_LINE });
    std::vector<DiffBlock> blocks = { { BLOCK_EQUAL, 0, 1, 0, 1, 0 },
                                      { BLOCK_CHANGED, 1, 2, 1, 1, 1 },
                                      { BLOCK_SOURCE_ONLY, 3, 1, 2, 0, 3 } };
    ChangeMarks marks(source, master, blocks);
    g_values.whiteSpaceMode = 0;
    g_values.showChangedCharacters = true;

    CHECK(Cells(marks.ForRow(1).source) == std::vector<int>{ 4, 5 });
    CHECK(Cells(marks.ForRow(1).master) == std::vector<int>{ 4, 5 });
    for (int row : { -1, 0, 2, 3, 4, 1000 }) {
        CAPTURE(row);
        CHECK(marks.ForRow(row).Empty());
    }

    // Typing into the Master row: its marks and its partner's follow the new text.
    std::unique_ptr<EditRecord> edit = master.ReplaceRows(1, 1, "x = 12;\n");
    CHECK(Cells(marks.ForRow(1).source) == std::vector<int>{ 4, 5 });
    CHECK(Cells(marks.ForRow(1).master) == std::vector<int>{ 4, 6 });
    master.ApplyEdit(*edit);
    CHECK(Cells(marks.ForRow(1).master) == std::vector<int>{ 4, 5 });

    // A merge that makes the Master row a filler takes its marks away.
    master.MarkFiller(1);
    CHECK(marks.ForRow(1).Empty());

    g_values.showChangedCharacters = false;
    CHECK(marks.ForRow(1).Empty());
    g_values.showChangedCharacters = true;
}
