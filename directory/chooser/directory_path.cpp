#include "directory/chooser/directory_path.h"

namespace {

// The length of a UNC path's root (\\server\share), or 0 when it is not one.
size_t UncRootLength(const std::string& path)
{
    if (!IsUncPath(path))
        return 0;
    size_t shareStart = path.find('\\', 2);
    if (shareStart == std::string::npos)
        return path.size();
    size_t shareEnd = path.find('\\', shareStart + 1);
    return shareEnd == std::string::npos ? path.size() : shareEnd;
}

} // namespace

bool IsUncPath(const std::string& path)
{
    return path.size() > 2 && path[0] == '\\' && path[1] == '\\';
}

int DriveIndexOf(char letter)
{
    if (letter >= 'a' && letter <= 'z')
        return letter - 'a';
    if (letter >= 'A' && letter <= 'Z')
        return letter - 'A';
    return -1;
}

std::string NormalizeDirectoryPath(const std::string& path, char currentDrive)
{
    std::string result = path;
    for (char& c : result) {
        if (c == '/')
            c = '\\';
    }
    if (!result.empty() && result[0] == '\\' && !IsUncPath(result))
        result = std::string(1, currentDrive) + ":" + result;
    size_t keep = IsUncPath(result) ? UncRootLength(result) : 2;
    while (result.size() > keep && result.back() == '\\')
        result.pop_back();
    return result;
}

std::vector<ChainItem> AncestorChain(const std::string& directory, char currentDrive)
{
    std::vector<ChainItem> chain;
    size_t rootLength = UncRootLength(directory);
    std::string rest = directory;
    for (;;) {
        size_t slash = rest.rfind('\\');
        if (rootLength > 0 && rest.size() <= rootLength) {
            chain.push_back({ rest, rest });
            break;
        }
        if (slash == std::string::npos) {
            std::string root = std::string(1, currentDrive) + ":\\";
            chain.push_back({ root, root });
            break;
        }
        chain.push_back({ rest.substr(slash + 1), rest });
        rest.erase(slash);
    }
    return std::vector<ChainItem>(chain.rbegin(), chain.rend());
}

std::string ParentDirectory(const std::string& directory)
{
    size_t rootLength = UncRootLength(directory);
    if (rootLength > 0 && directory.size() <= rootLength)
        return std::string();
    size_t slash = directory.rfind('\\');
    if (slash == std::string::npos)
        return std::string();
    return directory.substr(0, slash);
}
