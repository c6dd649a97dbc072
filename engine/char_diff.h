// Which characters of two facing changed lines differ. Each side is decoded
// from its own store (legacy code page or UTF-8), so lines of files in two
// encodings compare as characters and a mark never splits one. Portable: no
// windows.h.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// A stretch of a line's bytes [begin, end), on character boundaries.
struct ByteRange {
    uint32_t begin = 0;
    uint32_t end = 0;
};
inline bool operator==(ByteRange a, ByteRange b) { return a.begin == b.begin && a.end == b.end; }

// One line's text as its store holds it, without the terminator.
struct LineText {
    std::string_view bytes;
    bool utf8 = false; // StoreIsUtf8 of the line's buffer
};

// Marked stretches of each side, in order, never touching each other. Both
// empty when the lines are the same under the mode or are not worth marking.
struct LineMarks {
    std::vector<ByteRange> source;
    std::vector<ByteRange> master;
    bool Empty() const { return source.empty() && master.empty(); }
};

// Past this many characters on either side nothing is marked.
constexpr size_t MARK_LINE_LIMIT = 4000;
// A common stretch this short between two marked ones is marked with them.
constexpr size_t MARK_BRIDGE = 2;

// The characters of each line that are not common to both, under a
// white-space mode (WS_* of line_compare.h): blanks the mode ignores are never
// marked, and in mode 1 a run of blanks matches any other run. A change inside
// a word marks the whole word, and a common stretch of at most MARK_BRIDGE
// characters between marks is marked too. No marks when either line passes
// MARK_LINE_LIMIT characters or when the common characters are fewer than a
// third of the shorter line (counting what the mode compares).
LineMarks MarkChangedCharacters(LineText source, LineText master, int whiteSpaceMode);
