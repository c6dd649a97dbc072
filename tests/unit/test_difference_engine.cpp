#include <doctest/doctest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "common/process_values.h"
#include "engine/difference_engine.h"
#include "engine/line_compare.h"
#include "engine/text_buffer.h"

namespace {

// Records what the comparison shows and cancels after a chosen number of
// pumps, as the Cancel button would while messages are dispatched.
class RecordingProgress : public ComparisonProgress {
public:
    void SetRange(uint32_t value) override
    {
        range = value;
        ++rangeCalls;
    }
    void SetPos(uint32_t value) override { positions.push_back(value); }
    bool IsCancelled() override { return cancelled; }
    void PumpMessages() override
    {
        if (++pumps >= cancelAtPump)
            cancelled = true;
    }

    uint32_t range = 0;
    int rangeCalls = 0;
    std::vector<uint32_t> positions;
    uint64_t pumps = 0;
    uint64_t cancelAtPump = UINT64_MAX;
    bool cancelled = false;
};

void LoadBytes(TextBuffer& buffer, const std::string& bytes)
{
    REQUIRE(buffer.LoadFromMemory(bytes.data(), bytes.size()));
}

std::string Join(const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\n";
    return bytes;
}

std::vector<DisplayRow> RowsOf(const TextBuffer& buffer)
{
    return std::vector<DisplayRow>(buffer.rows, buffer.rows + buffer.rowCount);
}

// What the comparison must produce, worked out straight from its definition
// with nothing but LinesEqual and IsTrivialLine: no shortcuts, no hashing.
struct Expected {
    std::vector<DiffBlock> blocks;
    uint32_t totalRows = 0;
    uint64_t candidates = 0;
    std::vector<uint32_t> positions;
    std::vector<DisplayRow> sourceRows, masterRows;
};

Expected ReferenceCompare(const TextBuffer& source, const TextBuffer& master, int mode)
{
    Expected out;
    const uint32_t n = source.lineCount;
    const uint32_t m = master.lineCount;
    const uint32_t step = n > 100 ? n / 100 : 1;
    uint32_t base = 0;
    auto progressUpdate = [&](uint32_t x) {
        if (x >= base + step) {
            while (base + step <= x)
                base += step;
            out.positions.push_back(x);
        }
    };
    auto equal = [&](uint32_t i, uint32_t j) { return LinesEqual(source, i, master, j, mode); };
    auto append = [&](uint32_t kind, uint32_t i0, uint32_t a, uint32_t j0, uint32_t b) {
        out.blocks.push_back({kind, i0, a, j0, b, 0});
        out.totalRows += std::max(a, b);
    };
    auto verify = [&](uint32_t i, uint32_t j) {
        uint32_t k = 3;
        for (uint32_t t = 1; t < k; ++t) {
            if (i + t >= n || j + t >= m)
                return true;
            if (!equal(i + t, j + t))
                return false;
            if (IsTrivialLine(source, i + t))
                k += 1;
        }
        return true;
    };

    uint32_t i = 0, j = 0, r = 0, runI = 0, runJ = 0;
    for (;;) {
        progressUpdate(i);
        if (i >= n && j >= m)
            break;
        if (i < n && j < m && equal(i, j)) {
            if (r == 0) {
                runI = i;
                runJ = j;
            }
            ++i, ++j, ++r;
            continue;
        }
        if (r > 0) {
            append(BLOCK_EQUAL, runI, r, runJ, r);
            r = 0;
        }
        const uint32_t i0 = i, j0 = j;
        if (i == n) {
            j = m;
        } else if (j == m) {
            i = n;
        } else {
            for (uint32_t d = 0;; ++d) {
                bool empty = true, decided = false, accepted = false;
                if (j0 + d < m) {
                    for (uint32_t a = i0; !decided && a < i0 + d && a < n; ++a) {
                        empty = false;
                        progressUpdate(a);
                        ++out.candidates;
                        if (equal(a, j0 + d)) {
                            decided = true;
                            if (verify(a, j0 + d))
                                accepted = true, i = a, j = j0 + d;
                        }
                    }
                }
                if (!decided && i0 + d < n) {
                    for (uint32_t b = j0; !decided && b <= j0 + d && b < m; ++b) {
                        empty = false;
                        ++out.candidates;
                        if (equal(i0 + d, b)) {
                            decided = true;
                            if (verify(i0 + d, b))
                                accepted = true, i = i0 + d, j = b;
                        }
                    }
                }
                if (accepted)
                    break;
                if (empty) {
                    i = n, j = m;
                    break;
                }
            }
        }
        const uint32_t a = i - i0, b = j - j0;
        append(a == 0 ? BLOCK_MASTER_ONLY : b == 0 ? BLOCK_SOURCE_ONLY : BLOCK_CHANGED, i0, a, j0, b);
    }
    if (r > 0)
        append(BLOCK_EQUAL, runI, r, runJ, r);

    auto lineRow = [](const TextBuffer& buffer, uint32_t line, uint32_t flags) {
        const uint32_t start = buffer.lineOffsets[line];
        std::string whole(buffer.text + start, buffer.lineOffsets[line + 1] - start);
        if (!whole.empty() && whole.back() == '\n')
            whole.pop_back();
        if (!whole.empty() && whole.back() == '\r')
            whole.pop_back();
        return DisplayRow{flags | start, line, uint32_t(whole.size())};
    };
    const DisplayRow filler{0x20000000, 0, 0};
    uint32_t row = 0;
    for (DiffBlock& block : out.blocks) {
        block.firstRow = row;
        const uint32_t flags = block.kind == BLOCK_EQUAL ? 0x40000000 : 0xC0000000;
        const uint32_t rows = std::max(block.sourceCount, block.masterCount);
        for (uint32_t k = 0; k < rows; ++k) {
            out.sourceRows.push_back(k < block.sourceCount ? lineRow(source, block.sourceStart + k, flags) : filler);
            out.masterRows.push_back(k < block.masterCount ? lineRow(master, block.masterStart + k, flags) : filler);
        }
        row += rows;
    }
    return out;
}

// The properties every finished comparison has, whatever the input.
void CheckInvariants(const std::vector<DiffBlock>& blocks, uint32_t totalRows, const TextBuffer& source,
                     const TextBuffer& master, int mode)
{
    uint32_t i = 0, j = 0, row = 0;
    bool previousEqual = false;
    for (size_t b = 0; b < blocks.size(); ++b) {
        const DiffBlock& block = blocks[b];
        CAPTURE(b);
        REQUIRE(block.sourceStart == i);
        REQUIRE(block.masterStart == j);
        REQUIRE(block.firstRow == row);
        switch (block.kind) {
        case BLOCK_EQUAL:
            REQUIRE(block.sourceCount == block.masterCount);
            REQUIRE(block.sourceCount > 0);
            for (uint32_t k = 0; k < block.sourceCount; ++k)
                REQUIRE(LinesEqual(source, i + k, master, j + k, mode));
            break;
        case BLOCK_SOURCE_ONLY:
            REQUIRE((block.sourceCount > 0 && block.masterCount == 0));
            break;
        case BLOCK_MASTER_ONLY:
            REQUIRE((block.sourceCount == 0 && block.masterCount > 0));
            break;
        case BLOCK_CHANGED:
            REQUIRE((block.sourceCount > 0 && block.masterCount > 0));
            break;
        default:
            FAIL("unknown block kind");
        }
        const bool isEqual = block.kind == BLOCK_EQUAL;
        if (b > 0)
            REQUIRE(isEqual != previousEqual);
        previousEqual = isEqual;

        const uint32_t rows = std::max(block.sourceCount, block.masterCount);
        for (uint32_t k = 0; k < rows; ++k) {
            const DisplayRow& s = source.rows[row + k];
            const DisplayRow& m = master.rows[row + k];
            const uint32_t lineFlags = isEqual ? ROW_FILE_LINE : ROW_FILE_LINE | ROW_DIFFERS;
            if (k < block.sourceCount) {
                REQUIRE((s.flagsAndOffset & ~ROW_OFFSET_MASK) == lineFlags);
                REQUIRE(s.lineNumber == i + k);
            } else {
                REQUIRE(s == DisplayRow{ROW_FILLER, 0, 0});
            }
            if (k < block.masterCount) {
                REQUIRE((m.flagsAndOffset & ~ROW_OFFSET_MASK) == lineFlags);
                REQUIRE(m.lineNumber == j + k);
            } else {
                REQUIRE(m == DisplayRow{ROW_FILLER, 0, 0});
            }
        }
        i += block.sourceCount;
        j += block.masterCount;
        row += rows;
    }
    CHECK(i == source.lineCount);
    CHECK(j == master.lineCount);
    CHECK(row == totalRows);
    CHECK(source.rowCount == totalRows);
    CHECK(master.rowCount == totalRows);
}

// Runs the engine and demands the reference's blocks and rows.
Expected CompareResultsWithReference(TextBuffer& source, TextBuffer& master, int mode, RecordingProgress& progress)
{
    Expected expected = ReferenceCompare(source, master, mode);
    std::vector<DiffBlock> blocks;
    uint32_t totalRows = 0;
    REQUIRE(CompareBuffers(source, master, mode, progress, blocks, totalRows));
    CheckInvariants(blocks, totalRows, source, master, mode);
    REQUIRE(blocks == expected.blocks);
    REQUIRE(totalRows == expected.totalRows);
    REQUIRE(RowsOf(source) == expected.sourceRows);
    REQUIRE(RowsOf(master) == expected.masterRows);
    return expected;
}

// For searches short enough to be walked candidate by candidate: also one
// pump per candidate and the same gauge positions.
uint64_t CompareWithReference(TextBuffer& source, TextBuffer& master, int mode)
{
    RecordingProgress progress;
    const Expected expected = CompareResultsWithReference(source, master, mode, progress);
    REQUIRE(progress.pumps == expected.candidates);
    REQUIRE(progress.positions == expected.positions);
    REQUIRE(progress.range == source.lineCount);
    return expected.candidates;
}

// Lines that are equal in some modes and not in others, trivial lines, and
// enough plain ones that matches are not everywhere.
std::string RandomLine(std::mt19937& random, uint32_t plainLines)
{
    static const char* const variants[] = {"", "  ", "\t", "{", "}", " { ", "a b", "a  b", "a\tb", " a b",
                                           "a b ", "ab", "x\r", "\ry", "A b"};
    const uint32_t variantCount = sizeof variants / sizeof variants[0];
    uint32_t pick = random() % (variantCount + plainLines);
    std::string line = pick < variantCount ? variants[pick] : "line " + std::to_string(pick - variantCount);
    return line + (random() % 4 == 0 ? "\r\n" : "\n");
}

std::vector<std::string> RandomLines(std::mt19937& random, uint32_t count, uint32_t plainLines)
{
    std::vector<std::string> lines;
    for (uint32_t k = 0; k < count; ++k)
        lines.push_back(RandomLine(random, plainLines));
    return lines;
}

std::vector<std::string> Mutate(std::mt19937& random, std::vector<std::string> lines, uint32_t edits,
                                uint32_t maxSpan, uint32_t plainLines)
{
    for (uint32_t e = 0; e < edits; ++e) {
        size_t at = lines.empty() ? 0 : random() % (lines.size() + 1);
        size_t span = 1 + random() % maxSpan;
        switch (random() % 4) {
        case 0: // delete
            lines.erase(lines.begin() + at, lines.begin() + std::min(lines.size(), at + span));
            break;
        case 1: // insert
            for (size_t k = 0; k < span; ++k)
                lines.insert(lines.begin() + at, RandomLine(random, plainLines));
            break;
        case 2: // replace
            for (size_t k = at; k < std::min(lines.size(), at + span); ++k)
                lines[k] = RandomLine(random, plainLines);
            break;
        default: // white space only
            if (at < lines.size())
                lines[at].insert(0, random() % 2 ? " " : "\t");
            break;
        }
    }
    return lines;
}

std::string Concat(const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line;
    return bytes;
}

} // namespace

TEST_CASE("comparison examples")
{
    struct Example {
        const char* label;
        std::string source;
        std::string master;
        int mode;
        std::vector<DiffBlock> blocks;
    };
    const Example examples[] = {
        {"identical files", Join({"a", "b", "c"}), Join({"a", "b", "c"}), 0, {{BLOCK_EQUAL, 0, 3, 0, 3, 0}}},
        {"empty Source against two lines", "", Join({"p", "q"}), 0, {{BLOCK_CHANGED, 0, 1, 0, 2, 0}}},
        {"one changed line against three", Join({"a", "b", "X"}), Join({"a", "b", "Y", "Z", "W"}), 0,
         {{BLOCK_EQUAL, 0, 2, 0, 2, 0}, {BLOCK_CHANGED, 2, 1, 2, 3, 2}}},
        {"a line inserted at the top", Join({"a", "b", "e", "f"}), Join({"X", "a", "b", "e", "f"}), 0,
         {{BLOCK_MASTER_ONLY, 0, 0, 0, 1, 0}, {BLOCK_EQUAL, 0, 4, 1, 4, 1}}},
        {"a candidate on the last line needs no run", Join({"A", "z"}), Join({"Y", "z"}), 0,
         {{BLOCK_CHANGED, 0, 1, 0, 1, 0}, {BLOCK_EQUAL, 1, 1, 1, 1, 1}}},
        {"the same candidate mid-file is refuted", Join({"A", "z", "B", "C", "D"}), Join({"Y", "z", "Q", "C", "D"}), 0,
         {{BLOCK_CHANGED, 0, 3, 0, 3, 0}, {BLOCK_EQUAL, 3, 2, 3, 2, 3}}},
        {"blank lines lengthen the confirming run", Join({"A", "x", "", "", "y", "T1", "T2", "T3"}),
         Join({"B", "x", "", "", "q", "y", "T1", "T2", "T3"}), 0,
         {{BLOCK_CHANGED, 0, 4, 0, 5, 0}, {BLOCK_EQUAL, 4, 4, 5, 4, 5}}},
        {"plain lines do not", Join({"A", "x", "p", "p", "y", "T1", "T2", "T3"}),
         Join({"B", "x", "p", "p", "q", "y", "T1", "T2", "T3"}), 0,
         {{BLOCK_CHANGED, 0, 1, 0, 1, 0},
          {BLOCK_EQUAL, 1, 3, 1, 3, 1},
          {BLOCK_MASTER_ONLY, 4, 0, 4, 1, 4},
          {BLOCK_EQUAL, 4, 4, 5, 4, 5}}},
        {"a Master-side insertion wins a tie", Join({"A", "B", "A", "B", "A", "B"}),
         Join({"B", "A", "B", "A", "B", "A"}), 0,
         {{BLOCK_MASTER_ONLY, 0, 0, 0, 1, 0}, {BLOCK_EQUAL, 0, 5, 1, 5, 1}, {BLOCK_SOURCE_ONLY, 5, 1, 6, 0, 6}}},
        {"the Source runs out first", Join({"a"}), Join({"a", "b", "c"}), 0,
         {{BLOCK_EQUAL, 0, 1, 0, 1, 0}, {BLOCK_MASTER_ONLY, 1, 0, 1, 2, 1}}},
        {"the Master runs out first", Join({"a", "b", "c"}), Join({"a"}), 0,
         {{BLOCK_EQUAL, 0, 1, 0, 1, 0}, {BLOCK_SOURCE_ONLY, 1, 2, 1, 0, 1}}},
        {"nothing in common", Join({"p", "q"}), Join({"r", "s", "t"}), 0, {{BLOCK_CHANGED, 0, 2, 0, 3, 0}}},
        {"runs of blanks in mode 1", "a  b\n", "a\tb\n", 1, {{BLOCK_EQUAL, 0, 1, 0, 1, 0}}},
        {"runs of blanks in mode 0", "a  b\n", "a\tb\n", 0, {{BLOCK_CHANGED, 0, 1, 0, 1, 0}}},
        {"CR LF in mode 2", "a\r\nb\n", "a\nb\n", 2, {{BLOCK_CHANGED, 0, 1, 0, 1, 0}, {BLOCK_EQUAL, 1, 1, 1, 1, 1}}},
        {"an unknown mode trims", "a \n", "a\n", 5, {{BLOCK_EQUAL, 0, 1, 0, 1, 0}}},
    };
    for (const Example& example : examples) {
        CAPTURE(example.label);
        TextBuffer source, master;
        LoadBytes(source, example.source);
        LoadBytes(master, example.master);
        RecordingProgress progress;
        std::vector<DiffBlock> blocks{{BLOCK_CHANGED, 9, 9, 9, 9, 9}}; // emptied first
        uint32_t totalRows = 0;
        REQUIRE(CompareBuffers(source, master, example.mode, progress, blocks, totalRows));
        CHECK(blocks == example.blocks);
        CheckInvariants(blocks, totalRows, source, master, example.mode);
        CompareWithReference(source, master, example.mode);
    }
}

TEST_CASE("rows of a changed block: pairs first, then fillers on the shorter side")
{
    TextBuffer source, master;
    LoadBytes(source, Join({"a", "b", "X"}));
    LoadBytes(master, Join({"a", "b", "Y", "Z", "W"}));
    RecordingProgress progress;
    std::vector<DiffBlock> blocks;
    uint32_t totalRows = 0;
    REQUIRE(CompareBuffers(source, master, 0, progress, blocks, totalRows));
    REQUIRE(totalRows == 5);
    const uint32_t sourceFlags[] = {0x40000000, 0x40000000, 0xC0000000, 0x20000000, 0x20000000};
    const uint32_t masterFlags[] = {0x40000000, 0x40000000, 0xC0000000, 0xC0000000, 0xC0000000};
    const char* const sourceText[] = {"a", "b", "X", "", ""};
    const char* const masterText[] = {"a", "b", "Y", "Z", "W"};
    for (uint32_t row = 0; row < 5; ++row) {
        CAPTURE(row);
        CHECK((source.rows[row].flagsAndOffset & ~ROW_OFFSET_MASK) == sourceFlags[row]);
        CHECK((master.rows[row].flagsAndOffset & ~ROW_OFFSET_MASK) == masterFlags[row]);
        CHECK(source.GetLineText(row) == sourceText[row]);
        CHECK(master.GetLineText(row) == masterText[row]);
    }
    CHECK(source.IsFiller(3));
    CHECK(master.IsChangedLine(4));
}

TEST_CASE("the process-wide mode is read when none is given")
{
    TextBuffer source, master;
    LoadBytes(source, "a \n");
    LoadBytes(master, "a\n");
    const int saved = g_values.whiteSpaceMode;
    for (int mode : {0, 1, 2}) {
        CAPTURE(mode);
        g_values.whiteSpaceMode = mode;
        RecordingProgress progress;
        std::vector<DiffBlock> blocks;
        uint32_t totalRows = 0;
        REQUIRE(CompareBuffers(source, master, progress, blocks, totalRows));
        REQUIRE(blocks.size() == 1);
        CHECK(blocks[0].kind == (mode == 2 ? BLOCK_CHANGED : BLOCK_EQUAL));
    }
    g_values.whiteSpaceMode = saved;
}

TEST_CASE("the gauge moves on every line up to 100 lines, then every hundredth")
{
    struct Case {
        const char* label;
        uint32_t lines;
        uint32_t step;
    };
    const Case cases[] = {{"one line", 1, 1}, {"50 lines", 50, 1}, {"100 lines", 100, 1},
                          {"250 lines", 250, 2}, {"1000 lines", 1000, 10}};
    for (const Case& c : cases) {
        CAPTURE(c.label);
        std::vector<std::string> lines;
        for (uint32_t k = 0; k < c.lines; ++k)
            lines.push_back("line " + std::to_string(k));
        TextBuffer source, master;
        LoadBytes(source, Join(lines));
        LoadBytes(master, Join(lines));
        RecordingProgress progress;
        std::vector<DiffBlock> blocks;
        uint32_t totalRows = 0;
        REQUIRE(CompareBuffers(source, master, 0, progress, blocks, totalRows));
        CHECK(progress.rangeCalls == 1);
        CHECK(progress.range == c.lines);
        std::vector<uint32_t> expected;
        for (uint32_t x = c.step; x <= c.lines; x += c.step)
            expected.push_back(x);
        CHECK(progress.positions == expected);
    }
}

TEST_CASE("a cancel during the search ends the comparison without rows")
{
    std::vector<std::string> sourceLines, masterLines;
    for (int k = 0; k < 10; ++k) {
        sourceLines.push_back("shared " + std::to_string(k));
        masterLines.push_back("shared " + std::to_string(k));
    }
    for (int k = 0; k < 400; ++k) {
        sourceLines.push_back("source " + std::to_string(k));
        masterLines.push_back("master " + std::to_string(k));
    }
    TextBuffer source, master;
    LoadBytes(source, Join(sourceLines));
    LoadBytes(master, Join(masterLines));

    RecordingProgress progress;
    progress.cancelAtPump = 5000;
    std::vector<DiffBlock> blocks;
    uint32_t totalRows = 77;
    CHECK_FALSE(CompareBuffers(source, master, 0, progress, blocks, totalRows));
    CHECK(totalRows == 0);
    CHECK(source.rowCount == 0);
    CHECK(master.rowCount == 0);
    CHECK(source.rows == nullptr);
    CHECK(master.rows == nullptr);
    // Only what was complete before the cancel.
    CHECK(blocks == std::vector<DiffBlock>{{BLOCK_EQUAL, 0, 10, 0, 10, 0}});
    // Phase B pumps without looking at the flag; the next distance stops.
    CHECK(progress.pumps >= 5000);
    CHECK(progress.pumps < 5000 + 2 * 410);

    // Nothing half-built stands in the way of comparing again.
    RecordingProgress patient;
    REQUIRE(CompareBuffers(source, master, 0, patient, blocks, totalRows));
    CHECK(totalRows == 410);
    CheckInvariants(blocks, totalRows, source, master, 0);
}

TEST_CASE("a cancel before the first line leaves no blocks")
{
    TextBuffer source, master;
    LoadBytes(source, Join({"a", "b"}));
    LoadBytes(master, Join({"a", "b"}));
    RecordingProgress progress;
    progress.cancelled = true;
    std::vector<DiffBlock> blocks;
    uint32_t totalRows = 0;
    CHECK_FALSE(CompareBuffers(source, master, 0, progress, blocks, totalRows));
    CHECK(blocks.empty());
    CHECK(source.rowCount == 0);
}

TEST_CASE("unloaded buffers compare as nothing against nothing")
{
    TextBuffer source, master;
    RecordingProgress progress;
    std::vector<DiffBlock> blocks;
    uint32_t totalRows = 5;
    REQUIRE(CompareBuffers(source, master, 0, progress, blocks, totalRows));
    CHECK(blocks.empty());
    CHECK(totalRows == 0);
}

TEST_CASE("the engine matches the reference on many generated pairs")
{
    std::mt19937 random(424242);
    uint64_t largestSearch = 0;
    for (int pair = 0; pair < 900; ++pair) {
        CAPTURE(pair);
        std::vector<std::string> sourceLines, masterLines;
        switch (pair % 3) {
        case 0: // small and unrelated: heavy use of blanks, braces and white space
            sourceLines = RandomLines(random, random() % 25, 4);
            masterLines = RandomLines(random, random() % 25, 4);
            break;
        case 1: // a few local edits
            sourceLines = RandomLines(random, 20 + random() % 60, 40);
            masterLines = Mutate(random, sourceLines, 1 + random() % 6, 4, 40);
            break;
        default: // long rewritten stretches, far beyond the short searches
            sourceLines = RandomLines(random, 60 + random() % 140, 400);
            masterLines = Mutate(random, sourceLines, 1 + random() % 3, 60, 400);
            break;
        }
        const std::string sourceBytes = Concat(sourceLines);
        const std::string masterBytes = Concat(masterLines);
        for (int mode = 0; mode < 3; ++mode) {
            CAPTURE(mode);
            TextBuffer source, master;
            LoadBytes(source, sourceBytes);
            LoadBytes(master, masterBytes);
            largestSearch = std::max(largestSearch, CompareWithReference(source, master, mode));
        }
    }
    // The sample reached searches long enough to use line hashes.
    CHECK(largestSearch > 1000);
}

TEST_CASE("files beyond 65535 lines compare, with fillers that point at no line")
{
    std::vector<std::string> sourceLines;
    for (int k = 0; k < 100000; ++k)
        sourceLines.push_back("line " + std::to_string(k));
    std::vector<std::string> masterLines = sourceLines;
    masterLines.erase(masterLines.begin() + 70000, masterLines.begin() + 70010);
    masterLines[80000] = "changed";
    masterLines.insert(masterLines.begin() + 90000, {"new 1", "new 2", "new 3"});
    masterLines.erase(masterLines.begin() + 100);

    TextBuffer source, master;
    LoadBytes(source, Join(sourceLines));
    LoadBytes(master, Join(masterLines));
    CompareWithReference(source, master, 0);
    CHECK(source.rowCount == 100003);
    // Source lines 70000 to 70009 face fillers; row r shows Source line r.
    CHECK(master.rows[70000] == DisplayRow{ROW_FILLER, 0, 0});
    CHECK(master.rows[70009] == DisplayRow{ROW_FILLER, 0, 0});
    CHECK(master.GetLineText(70010) == "line 70010");
    CHECK(master.GetLineNumber(70010) == 69999);
}

TEST_CASE("long searches and long confirming runs give the reference's blocks and rows")
{
    std::mt19937 random(9001);
    auto numbered = [](const std::string& prefix, int count) {
        std::vector<std::string> lines;
        for (int k = 0; k < count; ++k)
            lines.push_back(prefix + std::to_string(k) + "\n");
        return lines;
    };
    auto joined = [](std::initializer_list<std::vector<std::string>> parts) {
        std::vector<std::string> all;
        for (const auto& part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    struct Pair {
        std::string label;
        std::vector<std::string> source, master;
    };
    std::vector<std::string> vocabulary = RandomLines(random, 900, 3); // few distinct lines, many equal
    std::vector<Pair> pairs = {
        { "a long stretch on each side between shared lines",
          joined({ numbered("head ", 20), numbered("source only ", 600), numbered("tail ", 20) }),
          joined({ numbered("head ", 20), numbered("master only ", 500), numbered("tail ", 20) }) },
        { "files that share nothing", numbered("left ", 700), numbered("right ", 900) },
        { "a shared line deep on the Master side only", numbered("s ", 400),
          joined({ numbered("m ", 350), { "s 3\n", "s 4\n", "s 5\n", "s 6\n" }, numbered("n ", 30) }) },
        { "few distinct lines, long edits", vocabulary, Mutate(random, vocabulary, 3, 400, 3) },
        // At distance 300 the Source's X meets the Master's X at line 2 first
        // (refuted), although the pair on the diagonal would be confirmed.
        { "the diagonal pair belongs to the second half of its distance",
          joined({ numbered("s ", 300), { "X\n", "t1\n", "t2\n", "t3\n" } }),
          joined({ numbered("m ", 2), { "X\n" }, numbered("n ", 297), { "X\n", "t1\n", "t2\n", "t3\n" } }) },
        // Runs of trivial lines lengthen every confirming run along them.
        { "long blank stretches, alike only when white space is ignored",
          joined({ { "X\n" }, std::vector<std::string>(300, "\n"), std::vector<std::string>(300, "  \n"), { "Q\n" } }),
          joined({ { "Y\n" }, std::vector<std::string>(200, "\t\n"), std::vector<std::string>(400, "\n"), { "R\n" } }) },
        { "runs of braces broken by a stray line",
          joined({ std::vector<std::string>(50, "}\n"), { "A\n" }, std::vector<std::string>(350, "}\n"), { "B\n" } }),
          joined({ { "C\n" }, std::vector<std::string>(380, "}\n"), { "D\n" }, std::vector<std::string>(20, "}\n") }) },
        { "plain lines, long edits", RandomLines(random, 800, 2000), {} },
    };
    pairs.back().master = Mutate(random, pairs.back().source, 2, 500, 2000);

    bool reachedIndex = false;
    for (const Pair& pair : pairs) {
        CAPTURE(pair.label);
        for (int mode = 0; mode < 3; ++mode) {
            CAPTURE(mode);
            TextBuffer source, master;
            LoadBytes(source, Concat(pair.source));
            LoadBytes(master, Concat(pair.master));
            RecordingProgress progress;
            const Expected expected = CompareResultsWithReference(source, master, mode, progress);
            // The gauge ends where the walk would have left it, with fewer steps.
            REQUIRE_FALSE(progress.positions.empty());
            CHECK(progress.positions.back() == expected.positions.back());
            CHECK(progress.pumps <= expected.candidates);
            reachedIndex = reachedIndex || progress.pumps < expected.candidates;
        }
    }
    CHECK(reachedIndex);
}
