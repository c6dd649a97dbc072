// The text between two display positions of a TextBuffer, as the clipboard
// and merging take it: CR LF between rows, columns past a row's end padded
// with spaces, filler rows left out unless asked for. Portable.
#pragma once

#include <string>

class TextBuffer;

std::string RowsToString(const TextBuffer& buffer, int startColumn, int startRow, int endColumn, int endRow,
                         bool includeFillers);
