// STAND-IN for app/file_types.h (the portable text form of the filter list),
// which is written on another branch under the same names. Used only while
// that header is absent; delete this file once it is merged.
#pragma once

#include <string>
#include <vector>

struct FileTypeFilter {
    std::string description;
    std::string patternList;
};

inline std::vector<FileTypeFilter> ParseFileTypes(const std::string& text)
{
    std::vector<FileTypeFilter> filters;
    std::string rest = text;
    while (!rest.empty()) {
        size_t bar = rest.find('|');
        if (bar == std::string::npos || bar == 0 || bar == rest.size() - 1)
            break;
        std::string patternList = rest.substr(0, bar);
        rest.erase(0, bar + 1);
        size_t end = rest.find('|');
        if (end == 0)
            break;
        std::string description = rest.substr(0, end);
        if (end != std::string::npos && end < rest.size() - 1)
            rest.erase(0, end + 1);
        else
            rest.clear();
        filters.push_back({ description, patternList });
    }
    return filters;
}

inline std::string FormatFileTypes(const std::vector<FileTypeFilter>& filters)
{
    std::string text;
    for (const FileTypeFilter& filter : filters)
        text += filter.patternList + "|" + filter.description + "|";
    return text + "|";
}
