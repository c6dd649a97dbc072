// Equality of two loaded lines under the user's white-space mode, and the
// test for lines too plain to trust a match on. Both read the loaded bytes in
// place: no copies, no allocation.
#pragma once

#include <cstdint>

#include "engine/text_buffer.h"

// The three white-space modes; any other value behaves as WS_TRIM_ENDS.
constexpr int WS_TRIM_ENDS = 0;      // trim both ends, then byte for byte
constexpr int WS_IGNORE_RUNS = 1;    // trim, then a run of blanks matches any run
constexpr int WS_SIGNIFICANT = 2;    // whole lines, terminators included

inline int EffectiveWhiteSpaceMode(int mode)
{
    return mode == WS_IGNORE_RUNS || mode == WS_SIGNIFICANT ? mode : WS_TRIM_ENDS;
}

// Narrows [begin, end) to the trimmed line: blanks (space, tab) off the start,
// blanks, CR and LF off the end.
void TrimLine(const char*& begin, const char*& end);

// Source line i against Master line j, under the process-wide mode.
bool LinesEqual(const TextBuffer& source, uint32_t i, const TextBuffer& master, uint32_t j);
// The same under a mode the caller read once.
bool LinesEqual(const TextBuffer& source, uint32_t i, const TextBuffer& master, uint32_t j, int mode);

// Empty after trimming, or a lone "{" or "}". Independent of the mode.
bool IsTrivialLine(const TextBuffer& buffer, uint32_t i);
