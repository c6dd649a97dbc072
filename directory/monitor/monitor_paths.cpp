#include "directory/monitor/monitor_paths.h"

namespace {

bool IsUnc(const std::string& path)
{
    return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
}

// Where the part below the root starts: after "d:\" (3), or after
// "\\server\share\" for a UNC path; npos when the path is a root itself.
size_t BelowRoot(const std::string& path)
{
    if (!IsUnc(path))
        return path.size() > 3 ? 3 : std::string::npos;
    size_t server = path.find('\\', 2);
    if (server == std::string::npos)
        return std::string::npos;
    size_t share = path.find('\\', server + 1);
    if (share == std::string::npos || share + 1 >= path.size())
        return std::string::npos;
    return share + 1;
}

bool IsBareDrive(const std::string& path)
{
    return path.size() == 2 && path[1] == ':';
}

} // namespace

WatchPaths WatchPathsFor(const std::string& directory)
{
    if (directory.empty())
        return {};
    if (IsBareDrive(directory))
        return { directory + "\\", directory + "\\" };
    size_t below = BelowRoot(directory);
    if (below == std::string::npos)
        return { directory, directory };
    size_t cut = directory.find('\\', below);
    return { cut == std::string::npos ? directory : directory.substr(0, cut), directory };
}

std::string NearestExistingDirectory(const std::string& directory,
                                     const std::function<bool(const std::string&)>& isDirectory,
                                     const std::string& fallback)
{
    std::string path = directory;
    while (!path.empty()) {
        if (isDirectory(path))
            return path;
        size_t separator = path.find_last_of('\\');
        if (separator == std::string::npos || (IsUnc(path) && BelowRoot(path) == std::string::npos))
            break; // a root (or a bare name) that does not exist
        if (separator == 2 && path[1] == ':')
            path = path.substr(0, 2); // a drive root is held as "d:"
        else
            path = path.substr(0, separator);
    }
    return fallback;
}
