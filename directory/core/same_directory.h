// Comparing the two sides' directories. Portable.
#pragma once

#include <string>

// The directory in a form two spellings of one directory share: forward
// slashes as backslashes, no trailing backslash (a drive root as "d:"),
// letters in lower case. A UNC path keeps its leading "\\".
std::string DirectoryKey(const std::string& directory);
// True when both name the same directory: "C:\Work" and "c:\work\" do.
bool SameDirectory(const std::string& a, const std::string& b);
