#include "columns.h"

#include <algorithm>

#include "engine/text_encoding.h"

namespace {

int Advance(int column, char character)
{
    return character == '\t' ? (column + TAB_WIDTH) / TAB_WIDTH * TAB_WIDTH : column + 1;
}

int Length(std::string_view text, int pos, bool utf8)
{
    return static_cast<int>(CharLength(text.data(), text.size(), static_cast<size_t>(pos), utf8));
}

} // namespace

int ColumnOfIndex(std::string_view text, int index, bool utf8)
{
    if (index <= 0)
        return 0;
    const int size = static_cast<int>(text.size());
    int column = 0;
    int pos = 0;
    while (pos < index && pos < size) {
        column = Advance(column, text[static_cast<size_t>(pos)]);
        pos += Length(text, pos, utf8);
    }
    return column + std::max(0, index - std::max(pos, size));
}

int IndexOfColumn(std::string_view text, int column, bool utf8)
{
    int reached = 0;
    int index = 0;
    const int size = static_cast<int>(text.size());
    while (reached < column && index < size) {
        int next = Advance(reached, text[static_cast<size_t>(index)]);
        if (next > column)
            return index;
        reached = next;
        index += Length(text, index, utf8);
    }
    return reached < column ? index + (column - reached) : index;
}

int StepCharacters(std::string_view text, int index, int count, bool utf8)
{
    const int size = static_cast<int>(text.size());
    for (; count > 0; --count)
        index += index < size ? Length(text, index, utf8) : 1;
    for (; count < 0 && index > 0; ++count)
        index = index > size ? index - 1
                             : static_cast<int>(PreviousCharStart(text.data(), text.size(), static_cast<size_t>(index), utf8));
    return std::max(index, 0);
}

int CharacterCount(std::string_view text, bool utf8)
{
    int count = 0;
    for (int pos = 0; pos < static_cast<int>(text.size()); pos += Length(text, pos, utf8))
        ++count;
    return count;
}

void LayOutGlyphs(std::string_view text, bool utf8, int from, int to, GlyphRow& row)
{
    row.units.clear();
    row.cells.clear();
    row.runs.clear();
    to = std::min(to, static_cast<int>(text.size()));
    int column = 0;
    int pos = 0;
    for (; pos < from && pos < to; pos += Length(text, pos, utf8))
        column = Advance(column, text[static_cast<size_t>(pos)]);
    bool inRun = false;
    while (pos < to) {
        if (text[static_cast<size_t>(pos)] == '\t') {
            column = Advance(column, '\t');
            inRun = false;
            ++pos;
            continue;
        }
        if (!inRun) {
            row.runs.push_back({ column, static_cast<int>(row.units.size()), 0 });
            inRun = true;
        }
        size_t decoded;
        const char32_t character = DecodeChar(text.data(), text.size(), static_cast<size_t>(pos), utf8, &decoded);
        const size_t before = row.units.size();
        AppendUtf16(row.units, character);
        row.cells.push_back(1);
        if (row.units.size() - before == 2)
            row.cells.push_back(0);
        row.runs.back().unitCount += static_cast<int>(row.units.size() - before);
        ++column;
        pos += Length(text, pos, utf8);
    }
}
