#include "directory/core/name_order.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "engine/text_encoding.h"

namespace {

struct FoldRun {
    uint32_t first;
    uint16_t count;
    uint8_t stride;
    int32_t delta;
};

const FoldRun FOLD_RUNS[] = {
#include "case_folding_table.inc"
};

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

// Folded order only: 0 when the names differ at most in case.
int CompareFolded(std::string_view a, std::string_view b)
{
    const bool utf8 = g_codePages.processUtf8;
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[j]);
        // Both at an ASCII character: every code page the system runs in
        // starts with ASCII, so no decoding is needed.
        if (x < 0x80 && y < 0x80) {
            if (x != y) {
                int p = x >= 'A' && x <= 'Z' ? x + 32 : x;
                int q = y >= 'A' && y <= 'Z' ? y + 32 : y;
                if (p != q)
                    return p < q ? -1 : 1;
            }
            ++i;
            ++j;
            continue;
        }
        size_t lengthA = 1, lengthB = 1;
        char32_t p = FoldCase(DecodeChar(a.data(), a.size(), i, utf8, &lengthA));
        char32_t q = FoldCase(DecodeChar(b.data(), b.size(), j, utf8, &lengthB));
        if (p != q)
            return p < q ? -1 : 1;
        i += lengthA;
        j += lengthB;
    }
    return Sign(int(i < a.size()) - int(j < b.size()));
}

int CompareBytes(std::string_view a, std::string_view b)
{
    return Sign(a.compare(b));
}

void Split(std::string_view whole, std::string_view& name, std::string_view& extension)
{
    size_t dot = whole.rfind('.');
    name = dot == std::string_view::npos ? whole : whole.substr(0, dot);
    extension = dot == std::string_view::npos ? std::string_view() : whole.substr(dot + 1);
}

} // namespace

char32_t FoldCase(char32_t character)
{
    // The last run that starts at or before the character.
    auto run = std::upper_bound(std::begin(FOLD_RUNS), std::end(FOLD_RUNS), character,
                                [](char32_t c, const FoldRun& r) { return c < r.first; });
    if (run == std::begin(FOLD_RUNS))
        return character;
    --run;
    uint32_t offset = character - run->first;
    if (offset % run->stride != 0 || offset / run->stride >= run->count)
        return character;
    return static_cast<char32_t>(static_cast<int32_t>(character) + run->delta);
}

int CompareNames(std::string_view a, std::string_view b, bool* sameFolded)
{
    int folded = CompareFolded(a, b);
    if (sameFolded)
        *sameFolded = folded == 0;
    return folded != 0 ? folded : CompareBytes(a, b);
}

int CompareSplitNames(std::string_view name1, std::string_view extension1, std::string_view name2,
                      std::string_view extension2, bool* sameFolded)
{
    int folded = CompareFolded(name1, name2);
    if (folded == 0)
        folded = CompareFolded(extension1, extension2);
    if (sameFolded)
        *sameFolded = folded == 0;
    if (folded != 0)
        return folded;
    int bytes = CompareBytes(name1, name2);
    return bytes != 0 ? bytes : CompareBytes(extension1, extension2);
}

int CompareWholeNames(std::string_view a, std::string_view b)
{
    std::string_view name1, extension1, name2, extension2;
    Split(a, name1, extension1);
    Split(b, name2, extension2);
    int order = CompareSplitNames(name1, extension1, name2, extension2);
    // "a." and "a" split alike.
    return order != 0 ? order : CompareBytes(a, b);
}
