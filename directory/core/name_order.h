// The one order of file and directory names: the lists' sort, the pairing of
// the two sides and the directory list's order. Names are decoded (UTF-8 in
// a UTF-8 process, else the legacy code page), every letter is folded by
// Unicode simple case folding, and the folded names compare by code point;
// names whose folded forms are equal but whose bytes differ are ordered by
// their bytes, so the order is strict. Portable: the same everywhere.
#pragma once

#include <string_view>

// Simple case folding of one code point (itself when it has none).
char32_t FoldCase(char32_t character);

// <0, 0, >0: 0 only for the same bytes. *sameFolded (when given) tells
// whether the folded forms are equal, i.e. the names differ at most in case.
int CompareNames(std::string_view a, std::string_view b, bool* sameFolded = nullptr);

// Whole names ordered as the file lists order them: split at the last ".",
// by name, then by extension.
int CompareWholeNames(std::string_view a, std::string_view b);

// The order of (name, extension) pairs: folded name, folded extension, then
// the bytes of name and extension. *sameFolded as for CompareNames.
int CompareSplitNames(std::string_view name1, std::string_view extension1, std::string_view name2,
                      std::string_view extension2, bool* sameFolded = nullptr);
