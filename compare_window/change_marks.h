// The characters that differ inside changed rows, per display row, as the
// panes and the printed pages draw them. A row's marks are computed the first
// time a pane asks for them and kept while both facing rows keep their text.
// Portable (no windows.h).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/char_diff.h"
#include "engine/diff_block.h"
#include "engine/text_buffer.h"

// One marked stretch of a row.
struct MarkedSpan {
    uint32_t byteBegin = 0; // in the row's text (TextPane::RowText), on character boundaries
    uint32_t byteEnd = 0;
    int cellBegin = 0;      // display columns [cellBegin, cellEnd): a tab fills
    int cellEnd = 0;        // the cells to its tab stop, any other character one
};
inline bool operator==(const MarkedSpan& a, const MarkedSpan& b)
{
    return a.byteBegin == b.byteBegin && a.byteEnd == b.byteEnd && a.cellBegin == b.cellBegin &&
           a.cellEnd == b.cellEnd;
}

// Both sides' marks of one display row, left to right, never touching.
struct RowMarks {
    std::vector<MarkedSpan> source;
    std::vector<MarkedSpan> master;
    bool Empty() const { return source.empty() && master.empty(); }
};

// Byte ranges of a row's text with the display cells they cover.
std::vector<MarkedSpan> SpansWithCells(std::string_view text, bool utf8, const std::vector<ByteRange>& ranges);

// The fill of a marked cell: each channel of the side's highlight colour
// (a COLORREF) at three quarters, rounded down.
constexpr uint32_t MarkColour(uint32_t highlight)
{
    return ((highlight & 0xFF) * 3 / 4) | (((highlight >> 8 & 0xFF) * 3 / 4) << 8) |
           (((highlight >> 16 & 0xFF) * 3 / 4) << 16);
}

class ChangeMarks {
public:
    // The window's own buffers and difference list; they outlive this object.
    ChangeMarks(const TextBuffer& source, const TextBuffer& master, const std::vector<DiffBlock>& blocks);

    // The marks of display row `row`: empty unless the row lies in a changed
    // block, neither side is a filler there, the lines differ in a way worth
    // marking, and the ShowChangedCharacters setting is on. The reference is
    // good until the next call.
    const RowMarks& ForRow(int row);
    // Drops every kept row (the buffers were loaded again).
    void Forget();

private:
    struct Entry {
        bool computed = false;
        uint32_t sourceOffset = 0; // the texts the marks belong to: text added by
        uint32_t sourceLength = 0; // editing goes to new store offsets, so an
        uint32_t masterOffset = 0; // offset and a length name one text for good
        uint32_t masterLength = 0;
        int mode = 0;
        RowMarks marks;
    };

    bool RowInChangedBlock(uint32_t row) const;

    const TextBuffer& source_;
    const TextBuffer& master_;
    const std::vector<DiffBlock>& blocks_;
    std::vector<Entry> entries_;
    RowMarks none_;
};
