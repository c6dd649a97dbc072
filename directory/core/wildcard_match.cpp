#include "directory/core/wildcard_match.h"

namespace {

char Folded(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Glob match with one backtracking point: the last "*" seen takes one more
// character whenever the rest fails, which is enough for "*" and "?".
bool Glob(const char* name, const char* nameEnd, const char* pattern, const char* patternEnd)
{
    const char* starPattern = nullptr;
    const char* starName = nullptr;
    while (name < nameEnd) {
        if (pattern < patternEnd && *pattern == '*') {
            starPattern = ++pattern;
            starName = name;
        } else if (pattern < patternEnd && (*pattern == '?' || Folded(*pattern) == Folded(*name))) {
            ++pattern;
            ++name;
        } else if (starPattern) {
            pattern = starPattern;
            name = ++starName;
        } else {
            return false;
        }
    }
    while (pattern < patternEnd && *pattern == '*')
        ++pattern;
    return pattern == patternEnd;
}

bool Glob(const std::string& name, const std::string& pattern, size_t patternLength)
{
    return Glob(name.data(), name.data() + name.size(), pattern.data(), pattern.data() + patternLength);
}

} // namespace

bool MatchesWildcard(const std::string& name, const std::string& pattern)
{
    if (Glob(name, pattern, pattern.size()))
        return true;
    if (name.find('.') != std::string::npos)
        return false;
    size_t length = pattern.size();
    if (length >= 2 && pattern.compare(length - 2, 2, ".*") == 0)
        return Glob(name, pattern, length - 2);
    if (length >= 1 && pattern[length - 1] == '.')
        return Glob(name, pattern, length - 1);
    return false;
}
