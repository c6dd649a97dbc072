#include "difference_engine.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "common/process_values.h"
#include "engine/large_blocks.h"
#include "engine/line_compare.h"
#include "engine/line_hash.h"
#include "engine/line_index.h"
#include "engine/text_encoding.h"
#include "framework/exceptions.h"

namespace {

// From this search distance on, candidates are first screened by line hashes.
// Below it a search is short and the byte comparison rejects at once; beyond
// it each line takes part in many candidates and hashing it once pays off.
constexpr uint32_t HASHED_SEARCH_DISTANCE = 16;

// From this distance on, each half of a distance is one lookup in an index of
// line hashes: the first equal line of the run of candidates, found by binary
// search, is the same candidate the walk would reach first, so every block
// stays as it was; only the walk's per-candidate pumps and gauge steps shrink
// to one per half. A file that shares nothing with the other then costs
// n log n instead of n squared.
constexpr uint32_t INDEXED_SEARCH_DISTANCE = 256;

// The run of equal pairs that confirms a candidate, before trivial lines
// lengthen it.
constexpr uint32_t REQUIRED_RUN = 3;

struct FreeDeleter {
    void operator()(void* block) const { std::free(block); }
};

// For each line of one side, how many lines from it on equal it under the
// mode (itself included): runs of blank lines, braces or repeated text.
// Only lines the search asks about are worked out, each run once.
class EqualRuns {
public:
    EqualRuns(const TextBuffer& buffer, int mode) : buffer(buffer), mode(mode) {}

    uint32_t operator[](uint32_t line)
    {
        if (!values) {
            values.reset(static_cast<uint32_t*>(AllocateZeroedLargeBlock(size_t(buffer.lineCount) * sizeof(uint32_t))));
            if (!values)
                throw std::bad_alloc();
        }
        if (values[line] != 0)
            return values[line];
        // Walk the run to its end or to a line whose run is already known.
        uint32_t last = line;
        uint32_t beyond = 1;
        while (last + 1 < buffer.lineCount && LinesEqual(buffer, last, buffer, last + 1, mode)) {
            ++last;
            if (values[last] != 0) {
                beyond = values[last];
                break;
            }
        }
        for (uint32_t k = line; k <= last; ++k)
            values[k] = last - k + beyond;
        return values[line];
    }

private:
    const TextBuffer& buffer;
    int mode;
    std::unique_ptr<uint32_t[], FreeDeleter> values; // 0: not worked out yet
};

// Line hashes of one side, made on demand. The comparison only moves forward,
// so lines before the last requested start are never asked for again.
class LineHashes {
public:
    LineHashes(const TextBuffer& buffer, int mode) : buffer(buffer), mode(mode) {}

    void Cover(uint32_t from, uint32_t to)
    {
        // Left unset: only covered lines are read.
        if (!values) {
            values.reset(static_cast<uint32_t*>(AllocateLargeBlock(size_t(buffer.lineCount) * sizeof(uint32_t))));
            if (!values)
                throw std::bad_alloc();
        }
        covered = std::max(covered, from);
        for (; covered < to; ++covered)
            values[covered] = HashLine(buffer, covered, mode);
    }

    uint32_t operator[](uint32_t line) const { return values[line]; }

private:
    const TextBuffer& buffer;
    int mode;
    std::unique_ptr<uint32_t[], FreeDeleter> values;
    uint32_t covered = 0;
};

class Comparison {
public:
    Comparison(const TextBuffer& source, const TextBuffer& master, int mode, ComparisonProgress& progress,
               std::vector<DiffBlock>& blocks)
        : source(source), master(master), mode(mode), progress(progress), blocks(blocks),
          sourceLines(source.lineCount), masterLines(master.lineCount),
          step(sourceLines > 100 ? sourceLines / 100 : 1), sourceHashes(source, mode),
          masterHashes(master, mode), sourceRuns(source, mode), masterRuns(master, mode)
    {
    }

    bool Run();
    uint32_t TotalRows() const { return totalRows; }

private:
    enum class Outcome { ACCEPTED, REJECTED, EMPTY, CANCELLED };

    bool Equal(uint32_t i, uint32_t j) const { return LinesEqual(source, i, master, j, mode); }
    bool HashedEqual(uint32_t i, uint32_t j) const
    {
        return sourceHashes[i] == masterHashes[j] && Equal(i, j);
    }
    void TrackProgress(uint32_t line);
    bool Confirms(uint32_t i, uint32_t j);
    bool Search(uint32_t i0, uint32_t j0, uint32_t& i, uint32_t& j);
    template <bool HASHED>
    Outcome TryDistance(uint32_t i0, uint32_t j0, uint32_t d, uint32_t& i, uint32_t& j);
    Outcome TryIndexedDistance(uint32_t i0, uint32_t j0, uint32_t d, uint32_t& i, uint32_t& j);
    Outcome Verify(uint32_t sourceLine, uint32_t masterLine, uint32_t& i, uint32_t& j);
    void Append(uint32_t kind, uint32_t sourceStart, uint32_t sourceCount, uint32_t masterStart,
                uint32_t masterCount);

    const TextBuffer& source;
    const TextBuffer& master;
    const int mode;
    ComparisonProgress& progress;
    std::vector<DiffBlock>& blocks;
    const uint32_t sourceLines;
    const uint32_t masterLines;
    const uint32_t step;
    uint32_t progressBase = 0;
    uint32_t totalRows = 0;
    LineHashes sourceHashes;
    LineHashes masterHashes;
    LineIndex sourceIndex;
    LineIndex masterIndex;
    EqualRuns sourceRuns;
    EqualRuns masterRuns;
};

// The gauge moves only when the Source position passes another step.
inline void Comparison::TrackProgress(uint32_t line)
{
    if (line >= progressBase + step) {
        progressBase += (line - progressBase) / step * step;
        progress.SetPos(line);
    }
}

bool Comparison::Run()
{
    progress.SetRange(sourceLines);
    uint32_t i = 0;
    uint32_t j = 0;
    uint32_t run = 0;
    uint32_t runSource = 0;
    uint32_t runMaster = 0;
    for (;;) {
        if (progress.IsCancelled())
            return false;
        TrackProgress(i);
        if (i >= sourceLines && j >= masterLines)
            break;
        if (i < sourceLines && j < masterLines && Equal(i, j)) {
            if (run == 0) {
                runSource = i;
                runMaster = j;
            }
            ++i;
            ++j;
            ++run;
            continue;
        }
        if (run > 0) {
            Append(BLOCK_EQUAL, runSource, run, runMaster, run);
            run = 0;
        }
        uint32_t i0 = i;
        uint32_t j0 = j;
        if (i == sourceLines)
            j = masterLines;
        else if (j == masterLines)
            i = sourceLines;
        else if (!Search(i0, j0, i, j))
            return false;
        uint32_t a = i - i0;
        uint32_t b = j - j0;
        Append(a == 0 ? BLOCK_MASTER_ONLY : b == 0 ? BLOCK_SOURCE_ONLY : BLOCK_CHANGED, i0, a, j0, b);
    }
    if (run > 0)
        Append(BLOCK_EQUAL, runSource, run, runMaster, run);
    return true;
}

// The candidate's own line plus REQUIRED_RUN - 1 following pairs, one more
// for each trivial Source line among those; the end of either file confirms.
bool Comparison::Confirms(uint32_t i, uint32_t j)
{
    uint32_t required = REQUIRED_RUN;
    for (uint32_t t = 1; t < required; ++t) {
        if (i + t >= sourceLines || j + t >= masterLines)
            return true;
        if (!Equal(i + t, j + t))
            return false;
        if (IsTrivialLine(source, i + t)) {
            // Inside runs of lines that equal this pair, every further pair is
            // equal and trivial too, each lengthening the run by one: step
            // over all of them at once, to where the walk would arrive.
            uint32_t same = std::min(sourceRuns[i + t], masterRuns[j + t]);
            required += same;
            t += same - 1;
        }
    }
    return true;
}

// Finds where the sides agree again after the mismatch at (i0, j0), nearest
// distance first; sets (i, j) to it, or to both ends when there is none.
// False when cancelled.
bool Comparison::Search(uint32_t i0, uint32_t j0, uint32_t& i, uint32_t& j)
{
    for (uint32_t d = 0;; ++d) {
        if (progress.IsCancelled())
            return false;
        Outcome outcome;
        if (d < HASHED_SEARCH_DISTANCE) {
            outcome = TryDistance<false>(i0, j0, d, i, j);
        } else if (d >= INDEXED_SEARCH_DISTANCE) {
            outcome = TryIndexedDistance(i0, j0, d, i, j);
        } else {
            sourceHashes.Cover(i0, std::min(sourceLines, i0 + d + 1));
            masterHashes.Cover(j0, std::min(masterLines, j0 + d + 1));
            outcome = TryDistance<true>(i0, j0, d, i, j);
        }
        switch (outcome) {
        case Outcome::ACCEPTED:
            return true;
        case Outcome::EMPTY:
            i = sourceLines;
            j = masterLines;
            return true;
        case Outcome::CANCELLED:
            return false;
        case Outcome::REJECTED:
            break;
        }
    }
}

// A candidate whose lines are equal decides its distance either way.
Comparison::Outcome Comparison::Verify(uint32_t sourceLine, uint32_t masterLine, uint32_t& i, uint32_t& j)
{
    if (!Confirms(sourceLine, masterLine))
        return Outcome::REJECTED;
    i = sourceLine;
    j = masterLine;
    return Outcome::ACCEPTED;
}

// The candidates whose larger advance is d: first the Master advanced by d
// against Source advances 0 .. d-1, then the Source advanced by d against
// Master advances 0 .. d. The first match decides the distance: confirmed it
// is taken, refuted the rest of the distance is skipped.
// PumpMessages runs once per candidate; the Win32 progress throttles it by
// tick count, so the call itself stays cheap.
template <bool HASHED>
Comparison::Outcome Comparison::TryDistance(uint32_t i0, uint32_t j0, uint32_t d, uint32_t& i, uint32_t& j)
{
    bool empty = true;
    uint32_t masterLine = j0 + d;
    if (masterLine < masterLines) {
        for (uint32_t sourceLine = i0; sourceLine < i0 + d && sourceLine < sourceLines; ++sourceLine) {
            if (progress.IsCancelled())
                return Outcome::CANCELLED;
            empty = false;
            TrackProgress(sourceLine);
            progress.PumpMessages();
            if (HASHED ? HashedEqual(sourceLine, masterLine) : Equal(sourceLine, masterLine))
                return Verify(sourceLine, masterLine, i, j);
        }
    }
    uint32_t sourceLine = i0 + d;
    if (sourceLine < sourceLines) {
        for (masterLine = j0; masterLine <= j0 + d && masterLine < masterLines; ++masterLine) {
            empty = false;
            progress.PumpMessages();
            if (HASHED ? HashedEqual(sourceLine, masterLine) : Equal(sourceLine, masterLine))
                return Verify(sourceLine, masterLine, i, j);
        }
    }
    return empty ? Outcome::EMPTY : Outcome::REJECTED;
}

Comparison::Outcome Comparison::TryIndexedDistance(uint32_t i0, uint32_t j0, uint32_t d, uint32_t& i, uint32_t& j)
{
    // The search only moves forward, so what is indexed from here stays valid.
    if (!sourceIndex.Built()) {
        sourceHashes.Cover(i0, sourceLines);
        sourceIndex.Build(i0, sourceLines, [&](uint32_t line) { return sourceHashes[line]; });
    }
    if (!masterIndex.Built()) {
        masterHashes.Cover(j0, masterLines);
        masterIndex.Build(j0, masterLines, [&](uint32_t line) { return masterHashes[line]; });
    }
    bool empty = true;
    const uint32_t masterLine = j0 + d;
    if (masterLine < masterLines && i0 < sourceLines) {
        empty = false;
        progress.PumpMessages();
        const uint32_t limit = std::min(i0 + d, sourceLines);
        uint32_t found = sourceIndex.FirstEqual(masterHashes[masterLine], i0, limit,
                                                [&](uint32_t line) { return Equal(line, masterLine); });
        TrackProgress(found != LineIndex::NONE ? found : limit - 1);
        if (found != LineIndex::NONE)
            return Verify(found, masterLine, i, j);
    }
    const uint32_t sourceLine = i0 + d;
    if (sourceLine < sourceLines) {
        empty = false;
        progress.PumpMessages();
        const uint32_t limit = std::min(j0 + d + 1, masterLines);
        uint32_t found = masterIndex.FirstEqual(sourceHashes[sourceLine], j0, limit,
                                                [&](uint32_t line) { return Equal(sourceLine, line); });
        if (found != LineIndex::NONE)
            return Verify(sourceLine, found, i, j);
    }
    return empty ? Outcome::EMPTY : Outcome::REJECTED;
}

void Comparison::Append(uint32_t kind, uint32_t sourceStart, uint32_t sourceCount, uint32_t masterStart,
                        uint32_t masterCount)
{
    blocks.push_back({kind, sourceStart, sourceCount, masterStart, masterCount, 0});
    totalRows += std::max(sourceCount, masterCount);
}

// Equal lines face each other; in a difference the lines of both sides pair
// up from the top and the longer side's rest faces fillers.
void BuildRows(TextBuffer& source, TextBuffer& master, std::vector<DiffBlock>& blocks)
{
    const uint32_t equalFlags = ROW_FILE_LINE;
    const uint32_t differsFlags = ROW_DIFFERS | ROW_FILE_LINE;
    uint32_t row = 0;
    for (DiffBlock& block : blocks) {
        block.firstRow = row;
        if (block.kind == BLOCK_EQUAL) {
            for (uint32_t k = 0; k < block.sourceCount; ++k, ++row) {
                source.SetRow(row, block.sourceStart + k, equalFlags);
                master.SetRow(row, block.masterStart + k, equalFlags);
            }
            continue;
        }
        uint32_t blockRows = std::max(block.sourceCount, block.masterCount);
        for (uint32_t k = 0; k < blockRows; ++k, ++row) {
            if (k < block.sourceCount)
                source.SetRow(row, block.sourceStart + k, differsFlags);
            else
                source.SetRow(row, FILLER_LINE, ROW_FILLER);
            if (k < block.masterCount)
                master.SetRow(row, block.masterStart + k, differsFlags);
            else
                master.SetRow(row, FILLER_LINE, ROW_FILLER);
        }
    }
}

// The legacy side of a pair whose stores differ in form, as UTF-8 line by
// line: a line of the same characters then has the same bytes on both sides.
// Each LF stays the only LF of its line, so line numbers carry over. A byte
// the code page leaves undefined is kept as it is, so it equals no character.
void MakeUtf8Copy(const TextBuffer& legacy, TextBuffer& copy)
{
    std::string utf8;
    utf8.reserve(legacy.dataLength + legacy.dataLength / 4);
    for (uint32_t line = 0; line < legacy.lineCount; ++line) {
        const char* begin = legacy.text + legacy.lineOffsets[line];
        size_t size = legacy.lineOffsets[line + 1] - legacy.lineOffsets[line];
        bool lineFeed = size > 0 && begin[size - 1] == '\n';
        size -= lineFeed;
        size_t length;
        for (size_t pos = 0; pos < size; pos += length) {
            char32_t character = DecodeChar(begin, size, pos, false, &length);
            if (character >= INVALID_BYTE_BASE)
                utf8.append(begin + pos, length);
            else
                AppendUtf8(utf8, character);
        }
        if (lineFeed)
            utf8.push_back('\n');
    }
    if (!copy.LoadStore(utf8, FileEncoding{EncodingKind::Utf8, false}))
        AfxThrowMemoryException();
    assert(copy.lineCount == legacy.lineCount);
}

} // namespace

bool CompareBuffers(TextBuffer& source, TextBuffer& master, int whiteSpaceMode, ComparisonProgress& progress,
                    std::vector<DiffBlock>& blocks, uint32_t& totalRows)
{
    blocks.clear();
    totalRows = 0;
    try {
        // Same form on both sides (the common case): the loaded bytes as they are.
        const TextBuffer* compared[2] = {&source, &master};
        TextBuffer utf8Copy;
        if (StoreIsUtf8(source.encoding) != StoreIsUtf8(master.encoding)) {
            int legacy = StoreIsUtf8(source.encoding) ? 1 : 0;
            MakeUtf8Copy(*compared[legacy], utf8Copy);
            compared[legacy] = &utf8Copy;
        }
        Comparison comparison(*compared[0], *compared[1], EffectiveWhiteSpaceMode(whiteSpaceMode), progress,
                              blocks);
        if (!comparison.Run())
            return false;
        uint32_t rowCount = comparison.TotalRows();
        if (!source.AllocateRows(rowCount) || !master.AllocateRows(rowCount))
            AfxThrowMemoryException();
        BuildRows(source, master, blocks);
        totalRows = rowCount;
        return true;
    } catch (const std::bad_alloc&) {
        AfxThrowMemoryException();
    }
}

bool CompareBuffers(TextBuffer& source, TextBuffer& master, ComparisonProgress& progress,
                    std::vector<DiffBlock>& blocks, uint32_t& totalRows)
{
    return CompareBuffers(source, master, g_values.whiteSpaceMode, progress, blocks, totalRows);
}
