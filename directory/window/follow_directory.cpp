#include "directory/window/follow_directory.h"

#include "directory/core/tree_order.h"

namespace {

std::vector<std::string> Components(const std::string& path)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

bool SameName(const std::string& a, const std::string& b)
{
    bool same = false;
    CompareNameComponent(a, b, &same);
    return same;
}

} // namespace

std::vector<std::string> RelativePlace(const std::string& directory, const std::string& start)
{
    std::vector<std::string> to = Components(directory);
    std::vector<std::string> from = Components(start);
    size_t common = 0;
    while (common < to.size() && common < from.size() && SameName(to[common], from[common]))
        ++common;
    std::vector<std::string> place(from.size() - common, "..");
    place.insert(place.end(), to.begin() + static_cast<std::ptrdiff_t>(common), to.end());
    return place;
}

bool SamePlace(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!SameName(a[i], b[i]))
            return false;
    return true;
}

std::string FollowingDirectory(const std::string& from, const std::string& to, const std::string& start,
                               const std::string& otherCurrent, const std::string& otherStart)
{
    if (start.empty() || otherStart.empty() ||
        !SamePlace(RelativePlace(from, start), RelativePlace(otherCurrent, otherStart)))
        return std::string();
    // The step from `from` to `to`, taken from where the other side stands,
    // keeps the other side's own spelling of its folders.
    std::vector<std::string> result = Components(otherCurrent);
    // A leading "\\" (a UNC path) is part of the path, not a component.
    std::string prefix = otherCurrent.compare(0, 2, "\\\\") == 0 ? "\\\\" : "";
    for (const std::string& part : RelativePlace(to, from)) {
        if (part != "..") {
            result.push_back(part);
            continue;
        }
        // Never above the drive or the share.
        if (result.size() <= (prefix.empty() ? 1u : 2u))
            return std::string();
        result.pop_back();
    }
    std::string path = prefix;
    for (size_t i = 0; i < result.size(); ++i)
        path += (i ? "\\" : "") + result[i];
    return path;
}
