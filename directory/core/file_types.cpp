#include "directory/core/file_types.h"

std::vector<FileTypeFilter> ParseFileTypes(const std::string& text)
{
    std::vector<FileTypeFilter> filters;
    std::string rest = text;
    while (!rest.empty()) {
        size_t bar = rest.find('|');
        if (bar == std::string::npos || bar == 0 || bar == rest.size() - 1)
            break;
        FileTypeFilter filter;
        filter.patternList = rest.substr(0, bar);
        rest.erase(0, bar + 1);
        size_t end = rest.find('|');
        bool closed = end != std::string::npos;
        if (!closed)
            end = rest.size();
        if (end == 0)
            break;
        filter.description = rest.substr(0, end);
        if (closed && end < rest.size() - 1)
            rest.erase(0, end + 1);
        else
            rest.clear();
        filters.push_back(std::move(filter));
    }
    return filters;
}

std::string FormatFileTypes(const std::vector<FileTypeFilter>& filters)
{
    std::string text;
    for (const FileTypeFilter& filter : filters) {
        text += filter.patternList;
        text += '|';
        text += filter.description;
        text += '|';
    }
    text += '|';
    return text;
}

bool IsStorableFilterField(const std::string& text)
{
    return !text.empty() && text.find('|') == std::string::npos;
}
