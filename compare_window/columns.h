// Display-column arithmetic of a row's text: a tab advances to the next
// multiple of TAB_WIDTH, every other character by one cell, and positions past
// the end of the text count as virtual spaces. Portable (no windows.h).
#pragma once

#include <string_view>

constexpr int TAB_WIDTH = 4;

// The display column at which character index `index` of the text starts.
int ColumnOfIndex(std::string_view text, int index);
// The character index shown at a display column; a column inside a tab's
// cells gives the index of that tab, a column past the end a virtual index.
int IndexOfColumn(std::string_view text, int column);
