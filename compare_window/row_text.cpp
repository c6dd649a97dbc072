#include "row_text.h"

#include "compare_window/columns.h"
#include "engine/text_buffer.h"

namespace {

// The first `count` characters of a row, padded with spaces when the count
// reaches into the virtual space after it.
std::string Prefix(const std::string& text, int count)
{
    if (count <= static_cast<int>(text.size()))
        return text.substr(0, static_cast<size_t>(count));
    return text + std::string(static_cast<size_t>(count) - text.size(), ' ');
}

} // namespace

std::string RowsToString(const TextBuffer& buffer, int startColumn, int startRow, int endColumn, int endRow,
                         bool includeFillers)
{
    auto filler = [&](int row) { return buffer.IsFiller(static_cast<uint32_t>(row)); };
    auto text = [&](int row) { return buffer.GetLineText(static_cast<uint32_t>(row)); };
    if (!includeFillers) {
        while (startRow <= endRow && filler(startRow)) {
            ++startRow;
            startColumn = 0;
        }
    }
    if (startRow > endRow)
        return std::string();

    const bool utf8 = StoreIsUtf8(buffer.encoding);
    std::string first = text(startRow);
    int from = IndexOfColumn(first, startColumn, utf8);
    if (startRow == endRow) {
        int to = IndexOfColumn(first, endColumn, utf8);
        std::string padded = Prefix(first, to);
        return from < to ? padded.substr(static_cast<size_t>(from)) : std::string();
    }
    std::string result = from < static_cast<int>(first.size()) ? first.substr(static_cast<size_t>(from)) : std::string();
    for (int row = startRow + 1; row < endRow; ++row) {
        if (includeFillers || !filler(row)) {
            result += "\r\n";
            result += text(row);
        }
    }
    result += "\r\n";
    if (includeFillers || !filler(endRow)) {
        std::string last = text(endRow);
        result += Prefix(last, IndexOfColumn(last, endColumn, utf8));
    }
    return result;
}
