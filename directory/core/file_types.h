// The named file type filters and their text form in the registry value
// "FileTypes": per filter the pattern list, "|", the description, "|"; one
// more "|" after the last. There is no escape for "|".
#pragma once

#include <string>
#include <vector>

struct FileTypeFilter {
    std::string description; // the name in the "Files of Type" combo
    std::string patternList; // the pattern text it puts into the pattern field
};

// Reads filters from the text form, in order. Parsing stops, keeping the
// filters before it, at the first record with an empty pattern list or
// description, or a pattern list with nothing after its "|"; the last
// record may lack its closing "|".
std::vector<FileTypeFilter> ParseFileTypes(const std::string& text);

// The text form of a list; an empty list gives "|".
std::string FormatFileTypes(const std::vector<FileTypeFilter>& filters);

// True when a typed description or pattern list can be stored and read back
// unchanged: not empty and without "|" (which would split the record).
bool IsStorableFilterField(const std::string& text);
