// The printed page's arithmetic and the order of pages, rows and gap rules.
#include <doctest/doctest.h>

#include <set>
#include <string>
#include <vector>

#include "engine/text_buffer.h"
#include "printing/print_layout.h"

namespace {

// Steps written as text, one per step: "P1" a new page, "R12*" row 12 in bold
// on the current page at slot n ("R12@n"), "-" a gap rule.
std::vector<std::string> Walk(uint32_t rows, int linesPerPage, bool differencesOnly, std::set<uint32_t> differing,
                              bool withSlots = false)
{
    PrintPlan plan(rows, linesPerPage, differencesOnly, [&](uint32_t row) { return differing.count(row) != 0; });
    std::vector<std::string> steps;
    for (int guard = 0; guard < 10000; ++guard) {
        PrintStep step = plan.Next();
        std::string slot = withSlots ? "@" + std::to_string(step.slot) : "";
        switch (step.kind) {
        case PrintStepKind::NewPage: steps.push_back("P" + std::to_string(step.page)); break;
        case PrintStepKind::GapRule: steps.push_back("-" + slot); break;
        case PrintStepKind::Row:
            steps.push_back("R" + std::to_string(step.row) + (step.bold ? "*" : "") + slot);
            break;
        case PrintStepKind::Done: return steps;
        }
    }
    FAIL("the plan never ended");
    return steps;
}

using Steps = std::vector<std::string>;

} // namespace

TEST_CASE("differences-only printing: the differing rows, one rule per gap, never a rule first")
{
    CHECK(Walk(30, 50, true, { 10, 11, 12, 20, 21 }) == Steps{ "P1", "R10", "R11", "R12", "-", "R20", "R21" });
    CHECK(Walk(5, 50, true, { 0, 2, 4 }) == Steps{ "P1", "R0", "-", "R2", "-", "R4" });
    // Rows print in the text font: bold only marks differences in full printing.
    CHECK(Walk(3, 50, true, { 0, 1, 2 }) == Steps{ "P1", "R0", "R1", "R2" });
    CHECK(Walk(5, 50, true, { 1, 2 }, true) == Steps{ "P1", "R1@0", "R2@1" });
}

TEST_CASE("full printing: every row, the differing ones in bold")
{
    CHECK(Walk(4, 50, false, { 1, 3 }) == Steps{ "P1", "R0", "R1*", "R2", "R3*" });
    // An empty comparison still gets one page, with its header only.
    CHECK(Walk(0, 50, false, {}) == Steps{ "P1" });
    CHECK(Walk(0, 50, true, {}) == Steps{ "P1" });
}

TEST_CASE("page breaks: exact fills, rules that fill a page, rooms of one line")
{
    SUBCASE("full printing that fills its last page exactly starts no other page")
    {
        CHECK(Walk(6, 3, false, {}, true) == Steps{ "P1", "R0@0", "R1@1", "R2@2", "P2", "R3@0", "R4@1", "R5@2" });
    }
    SUBCASE("differences-only: a full page followed by rows that do not differ gives a header-only page")
    {
        CHECK(Walk(5, 2, true, { 0, 1 }) == Steps{ "P1", "R0", "R1", "P2" });
    }
    SUBCASE("a gap rule on a page's last line pushes its row to the next page, with no second rule")
    {
        CHECK(Walk(10, 2, true, { 0, 5 }, true) == Steps{ "P1", "R0@0", "-@1", "P2", "R5@0" });
    }
    SUBCASE("a page of one line")
    {
        CHECK(Walk(3, 1, true, { 0, 2 }) == Steps{ "P1", "R0", "P2", "-", "P3", "R2" });
    }
    SUBCASE("no room at all prints nothing rather than looping")
    {
        CHECK(Walk(3, 0, false, { 1 }).empty());
        CHECK(Walk(3, -4, true, { 1 }).empty());
    }
}

TEST_CASE("the page estimate counts the taller side of each block taken")
{
    std::vector<DiffBlock> blocks = {
        { BLOCK_EQUAL, 0, 10, 0, 10, 0 },
        { BLOCK_CHANGED, 10, 3, 10, 5, 10 },
        { BLOCK_EQUAL, 13, 100, 15, 100, 15 },
        { BLOCK_MASTER_ONLY, 113, 0, 115, 4, 115 },
    };
    struct Row {
        const char* label;
        bool differencesOnly;
        int linesPerPage;
        int expected;
    } rows[] = {
        { "all 119 rows on pages of 50", false, 50, 3 },      // (50 + 119 + 1) / 50
        { "9 differing rows on pages of 50", true, 50, 1 },   // (50 + 9 + 1) / 50
        { "9 differing rows on pages of 5", true, 5, 3 },     // (5 + 9 + 1) / 5
        { "all rows on pages of one line", false, 1, 121 },
    };
    for (const Row& row : rows) {
        CAPTURE(row.label);
        CHECK(EstimatePages(blocks, row.differencesOnly, row.linesPerPage) == row.expected);
    }
    CHECK(EstimatePages({}, false, 40) == 1);
}

TEST_CASE("the layout of a landscape page at 300 dpi")
{
    // A4 landscape as the PDF printer reports it, 6-point Courier New and 12-point Arial.
    PageMetrics metrics;
    metrics.width = 3508;
    metrics.height = 2479;
    metrics.dpiX = metrics.dpiY = 300;
    metrics.charWidth = 15;
    metrics.lineHeight = 26;
    metrics.headerCharWidth = 42;
    metrics.headerHeight = 56;
    PrintLayout layout = ComputePrintLayout(metrics);

    CHECK(FontHeightFor(PRINT_POINT_SIZE, 300) == -25);
    CHECK(FontHeightFor(2 * PRINT_POINT_SIZE, 300) == -50);
    // A quarter inch of margin at the top and the left, mirrored at the bottom and the right.
    CHECK(layout.topMargin == 75);
    CHECK(layout.leftMargin == 75);
    CHECK(layout.bottomY == 2479 - 75);
    CHECK(layout.rightEdge == 3508 - 75);
    // The rows start below the rule under the header and never pass the bottom.
    CHECK(layout.ruleY > layout.topMargin + layout.headerHeight);
    CHECK(layout.firstRowY > layout.ruleY);
    CHECK(layout.firstRowY + layout.linesPerPage * layout.lineHeight <= layout.bottomY);
    CHECK(layout.firstRowY + (layout.linesPerPage + 1) * layout.lineHeight > layout.bottomY);
    // The two columns meet at the middle line.
    CHECK(layout.middleX == 1753);
    CHECK(layout.rightColumnX == layout.middleX + 1 + layout.charWidth);
    CHECK(layout.charsPerColumn == (layout.rightEdge - layout.rightColumnX) / layout.charWidth);
}

TEST_CASE("pages that hold no row, and fonts that could not be measured")
{
    PageMetrics metrics;
    metrics.width = 600;
    metrics.height = 100;
    metrics.dpiX = metrics.dpiY = 300;
    metrics.charWidth = 15;
    metrics.lineHeight = 26;
    metrics.headerHeight = 56;
    CHECK(ComputePrintLayout(metrics).linesPerPage < 1);

    metrics.height = 2000;
    metrics.lineHeight = 0;
    metrics.charWidth = 0;
    PrintLayout unmeasured = ComputePrintLayout(metrics);
    CHECK(unmeasured.linesPerPage == 0);
    CHECK(unmeasured.charsPerColumn == 0);

    metrics.lineHeight = 26;
    metrics.charWidth = 15;
    metrics.width = 40; // narrower than the margins
    CHECK(ComputePrintLayout(metrics).charsPerColumn == 0);
}

TEST_CASE("line numbers and the text cut to the column")
{
    CHECK(FormatLineNumber(0) == "00001:");
    CHECK(FormatLineNumber(41) == "00042:");
    CHECK(FormatLineNumber(123455) == "123456:");
    CHECK(CutToColumn("abcdef", 4) == "abcd");
    CHECK(CutToColumn("ab\tc", 4) == "ab\tc");
    CHECK(CutToColumn("abc", 0) == "");
    CHECK(CutToColumn("abc", -3) == "");
}

TEST_CASE("which rows count as differing, and how many rows print")
{
    const std::string sourceBytes = "same\nold\n";
    const std::string masterBytes = "same\nnew\nadded\n";
    TextBuffer source;
    TextBuffer master;
    REQUIRE(source.LoadFromMemory(sourceBytes.data(), sourceBytes.size()));
    REQUIRE(master.LoadFromMemory(masterBytes.data(), masterBytes.size()));
    REQUIRE(source.AllocateRows(3));
    REQUIRE(master.AllocateRows(3));
    source.SetRow(0, 0, ROW_FILE_LINE);
    source.SetRow(1, 1, ROW_FILE_LINE | ROW_DIFFERS);
    source.SetRow(2, FILLER_LINE, ROW_FILLER);
    master.SetRow(0, 0, ROW_FILE_LINE);
    master.SetRow(1, 1, ROW_FILE_LINE | ROW_DIFFERS);
    master.SetRow(2, 2, ROW_FILE_LINE | ROW_DIFFERS);

    CHECK_FALSE(RowDiffersForPrint(source, 0));
    CHECK(RowDiffersForPrint(source, 1));
    CHECK(RowDiffersForPrint(source, 2)); // a Master-only line
    CHECK(PrintRowCount(3, source, master) == 3);

    // Typing two lines into the Source makes it longer than the comparison.
    auto edit = source.ReplaceRows(0, 1, "one\r\ntwo\r\nthree");
    CHECK(PrintRowCount(3, source, master) == 5);
    CHECK_FALSE(RowDiffersForPrint(source, 0)); // written by an edit: no longer a difference
}
