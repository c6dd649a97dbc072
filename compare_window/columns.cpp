#include "columns.h"

#include <algorithm>

namespace {

int Advance(int column, char character)
{
    return character == '\t' ? (column + TAB_WIDTH) / TAB_WIDTH * TAB_WIDTH : column + 1;
}

} // namespace

int ColumnOfIndex(std::string_view text, int index)
{
    if (index <= 0)
        return 0;
    int inText = static_cast<int>(std::min<size_t>(text.size(), static_cast<size_t>(index)));
    int column = 0;
    for (int i = 0; i < inText; ++i)
        column = Advance(column, text[static_cast<size_t>(i)]);
    return column + (index - inText);
}

int IndexOfColumn(std::string_view text, int column)
{
    int reached = 0;
    int index = 0;
    const int length = static_cast<int>(text.size());
    while (reached < column && index < length) {
        int next = Advance(reached, text[static_cast<size_t>(index)]);
        if (next > column)
            return index;
        reached = next;
        ++index;
    }
    return reached < column ? index + (column - reached) : index;
}
