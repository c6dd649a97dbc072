#include "change_marks.h"

#include <algorithm>

#include "common/process_values.h"
#include "compare_window/columns.h"
#include "engine/text_encoding.h"

std::vector<MarkedSpan> SpansWithCells(std::string_view text, bool utf8, const std::vector<ByteRange>& ranges)
{
    std::vector<MarkedSpan> spans;
    spans.reserve(ranges.size());
    size_t pos = 0;
    int cell = 0;
    // Walks the characters once; the ranges are in order.
    auto advanceTo = [&](size_t target) {
        while (pos < target && pos < text.size()) {
            cell = text[pos] == '\t' ? (cell / TAB_WIDTH + 1) * TAB_WIDTH : cell + 1;
            pos += CharLength(text.data(), text.size(), pos, utf8);
        }
    };
    for (const ByteRange& range : ranges) {
        MarkedSpan span;
        advanceTo(range.begin);
        span.byteBegin = uint32_t(pos);
        span.cellBegin = cell;
        advanceTo(range.end);
        span.byteEnd = uint32_t(pos);
        span.cellEnd = cell;
        spans.push_back(span);
    }
    return spans;
}

ChangeMarks::ChangeMarks(const TextBuffer& source, const TextBuffer& master, const std::vector<DiffBlock>& blocks)
    : source_(source), master_(master), blocks_(blocks)
{
}

bool ChangeMarks::RowInChangedBlock(uint32_t row) const
{
    // Blocks are in display order: the last one starting at or before the row.
    auto after = std::upper_bound(blocks_.begin(), blocks_.end(), row,
                                  [](uint32_t r, const DiffBlock& block) { return r < block.firstRow; });
    if (after == blocks_.begin())
        return false;
    const DiffBlock& block = *(after - 1);
    return block.kind == BLOCK_CHANGED && row - block.firstRow < std::max(block.sourceCount, block.masterCount);
}

const RowMarks& ChangeMarks::ForRow(int row)
{
    if (row < 0 || !g_values.showChangedCharacters)
        return none_;
    uint32_t index = uint32_t(row);
    if (source_.IsFiller(index) || master_.IsFiller(index) || !RowInChangedBlock(index))
        return none_;
    const DisplayRow& sourceRow = source_.rows[index];
    const DisplayRow& masterRow = master_.rows[index];
    uint32_t sourceOffset = sourceRow.flagsAndOffset & ROW_OFFSET_MASK;
    uint32_t masterOffset = masterRow.flagsAndOffset & ROW_OFFSET_MASK;
    int mode = g_values.whiteSpaceMode;
    if (entries_.size() <= index)
        entries_.resize(size_t(index) + 1);
    Entry& entry = entries_[index];
    if (entry.computed && entry.sourceOffset == sourceOffset && entry.sourceLength == sourceRow.length &&
        entry.masterOffset == masterOffset && entry.masterLength == masterRow.length && entry.mode == mode)
        return entry.marks;

    LineText sourceText = { std::string_view(source_.text + sourceOffset, sourceRow.length),
                            StoreIsUtf8(source_.encoding) };
    LineText masterText = { std::string_view(master_.text + masterOffset, masterRow.length),
                            StoreIsUtf8(master_.encoding) };
    LineMarks marks = MarkChangedCharacters(sourceText, masterText, mode);
    entry.computed = true;
    entry.sourceOffset = sourceOffset;
    entry.sourceLength = sourceRow.length;
    entry.masterOffset = masterOffset;
    entry.masterLength = masterRow.length;
    entry.mode = mode;
    entry.marks.source = SpansWithCells(sourceText.bytes, sourceText.utf8, marks.source);
    entry.marks.master = SpansWithCells(masterText.bytes, masterText.utf8, marks.master);
    return entry.marks;
}

void ChangeMarks::Forget()
{
    entries_.clear();
}
