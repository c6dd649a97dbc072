// Matching a file name against a directory-search pattern the way the
// system's search does, for platforms whose directory listing has no patterns.
#pragma once

#include <string>

// "*" matches any run of characters, "?" exactly one; ASCII letters match
// without regard to case. As in a DOS search, a pattern ending in ".*" or "."
// also takes a name without any "." ("*.*" lists every file, "*." the files
// without an extension).
bool MatchesWildcard(const std::string& name, const std::string& pattern);
