#include "directory/core/tree_order.h"

#include "directory/core/name_order.h"

int CompareNameComponent(std::string_view a, std::string_view b, bool* sameFolded)
{
    return CompareNames(a, b, sameFolded);
}

int CompareTreeNames(std::string_view aName, std::string_view aExtension, std::string_view bName,
                     std::string_view bExtension, bool* sameFolded)
{
    if (sameFolded)
        *sameFolded = false;
    // The first difference of bytes between parts that fold alike.
    int byBytes = 0;
    auto component = [&byBytes](std::string_view x, std::string_view y) {
        bool same = false;
        int order = CompareNameComponent(x, y, &same);
        if (same) {
            if (byBytes == 0)
                byBytes = order;
            return 0;
        }
        return order;
    };
    // Where each name's folder part ends: a name without "\" has none.
    size_t aLeaf = aName.rfind('\\');
    aLeaf = aLeaf == std::string_view::npos ? 0 : aLeaf + 1;
    size_t bLeaf = bName.rfind('\\');
    bLeaf = bLeaf == std::string_view::npos ? 0 : bLeaf + 1;
    size_t i = 0;
    size_t j = 0;
    while (i < aLeaf && j < bLeaf) {
        size_t aEnd = aName.find('\\', i);
        size_t bEnd = bName.find('\\', j);
        int order = component(aName.substr(i, aEnd - i), bName.substr(j, bEnd - j));
        if (order != 0)
            return order;
        i = aEnd + 1;
        j = bEnd + 1;
    }
    // The one still inside a deeper folder comes after the other's file.
    if (i < aLeaf)
        return 1;
    if (j < bLeaf)
        return -1;
    int order = component(aName.substr(aLeaf), bName.substr(bLeaf));
    if (order == 0)
        order = component(aExtension, bExtension);
    if (order != 0)
        return order;
    if (sameFolded)
        *sameFolded = true;
    return byBytes;
}

size_t LeafOffset(std::string_view relativePath)
{
    size_t separator = relativePath.find_last_of("\\/");
    return separator == std::string_view::npos ? 0 : separator + 1;
}
