#include "tree_order.h"

#include "file_entry.h"

int CompareNameComponent(std::string_view a, std::string_view b)
{
    return CompareNames(a, b);
}

int CompareTreeNames(std::string_view aName, std::string_view aExtension, std::string_view bName,
                     std::string_view bExtension)
{
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
        int order = CompareNameComponent(aName.substr(i, aEnd - i), bName.substr(j, bEnd - j));
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
    int order = CompareNameComponent(aName.substr(aLeaf), bName.substr(bLeaf));
    return order != 0 ? order : CompareNameComponent(aExtension, bExtension);
}

size_t LeafOffset(std::string_view relativePath)
{
    size_t separator = relativePath.find_last_of("\\/");
    return separator == std::string_view::npos ? 0 : separator + 1;
}
