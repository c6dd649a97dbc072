#include "directory/core/same_directory.h"

std::string DirectoryKey(const std::string& directory)
{
    std::string key = directory;
    for (char& c : key) {
        if (c == '/')
            c = '\\';
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    // Trailing separators say nothing about which directory it is; the "\\"
    // that starts a UNC path does, so at least two characters stay.
    while (key.size() > 2 && key.back() == '\\')
        key.pop_back();
    if (key.size() == 3 && key[1] == ':' && key[2] == '\\')
        key.pop_back();
    return key;
}

bool SameDirectory(const std::string& a, const std::string& b)
{
    return DirectoryKey(a) == DirectoryKey(b);
}
