// Display-column arithmetic of a row's text: a tab advances to the next
// multiple of TAB_WIDTH, every other character by one cell, and positions past
// the end of the text count as virtual spaces. A character is what CharLength
// steps over in the row's store (a whole UTF-8 sequence, a double-byte pair,
// or one byte), so no position ever falls inside one. Portable (no windows.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

constexpr int TAB_WIDTH = 4;

// The display column at which byte index `index` of the text starts; an index
// inside a character counts that whole character.
int ColumnOfIndex(std::string_view text, int index, bool utf8);
// The byte index of the character shown at a display column; a column inside a
// tab's cells gives the index of that tab, a column past the end a virtual index.
int IndexOfColumn(std::string_view text, int column, bool utf8);
// Steps count characters forwards (or back, when negative) from index; past
// the end each step is one virtual space; never before 0.
int StepCharacters(std::string_view text, int index, int count, bool utf8);
// How many characters (cells, tabs counted as one) the text holds.
int CharacterCount(std::string_view text, bool utf8);

// The characters of text[from, to) as UTF-16 for drawing, one cell each. Tabs
// draw nothing and end a run; each run starts at its own display column.
struct GlyphRun {
    int column;
    int firstUnit;
    int unitCount;
};
struct GlyphRow {
    std::u16string units;
    // Cells each unit advances: 1, or 0 for the second unit of a surrogate pair.
    std::vector<int> cells;
    std::vector<GlyphRun> runs;
};
void LayOutGlyphs(std::string_view text, bool utf8, int from, int to, GlyphRow& row);
