#include "line_compare.h"

#include <cstring>

#include "common/process_values.h"

namespace {

// Bit c set for the bytes trimmed at the end of a line: tab, LF, CR, space.
constexpr uint64_t TRAILING_TRIM = (1ull << '\t') | (1ull << '\n') | (1ull << '\r') | (1ull << ' ');

inline bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

inline bool IsTrailingTrim(char c)
{
    auto byte = static_cast<unsigned char>(c);
    return byte <= ' ' && ((TRAILING_TRIM >> byte) & 1) != 0;
}

inline const char* LineStart(const TextBuffer& buffer, uint32_t line)
{
    return buffer.text + buffer.lineOffsets[line];
}

inline const char* LineEnd(const TextBuffer& buffer, uint32_t line)
{
    return buffer.text + buffer.lineOffsets[line + 1];
}

inline bool SameBytes(const char* a, const char* aEnd, const char* b, const char* bEnd)
{
    size_t length = size_t(aEnd - a);
    return length == size_t(bEnd - b) && std::memcmp(a, b, length) == 0;
}

// Both lines already trimmed; every run of blanks stands for one separator.
bool EqualIgnoringRuns(const char* a, const char* aEnd, const char* b, const char* bEnd)
{
    if (SameBytes(a, aEnd, b, bEnd))
        return true;
    for (;;) {
        if (a == aEnd)
            return b == bEnd;
        if (b == bEnd)
            return false;
        if (IsBlank(*a)) {
            if (!IsBlank(*b))
                return false;
            while (a < aEnd && IsBlank(*a))
                ++a;
            while (b < bEnd && IsBlank(*b))
                ++b;
            continue;
        }
        if (*a != *b)
            return false;
        ++a;
        ++b;
    }
}

} // namespace

void TrimLine(const char*& begin, const char*& end)
{
    while (end > begin && IsTrailingTrim(end[-1]))
        --end;
    while (begin < end && IsBlank(*begin))
        ++begin;
}

bool LinesEqual(const TextBuffer& source, uint32_t i, const TextBuffer& master, uint32_t j)
{
    return LinesEqual(source, i, master, j, g_values.whiteSpaceMode);
}

bool LinesEqual(const TextBuffer& source, uint32_t i, const TextBuffer& master, uint32_t j, int mode)
{
    const char* a = LineStart(source, i);
    const char* aEnd = LineEnd(source, i);
    const char* b = LineStart(master, j);
    const char* bEnd = LineEnd(master, j);
    // Identical lines are equal in every mode, and most compared lines are.
    if (SameBytes(a, aEnd, b, bEnd))
        return true;
    if (mode == WS_SIGNIFICANT)
        return false;
    TrimLine(a, aEnd);
    TrimLine(b, bEnd);
    if (mode == WS_IGNORE_RUNS)
        return EqualIgnoringRuns(a, aEnd, b, bEnd);
    return SameBytes(a, aEnd, b, bEnd);
}

bool IsTrivialLine(const TextBuffer& buffer, uint32_t i)
{
    const char* begin = LineStart(buffer, i);
    const char* end = LineEnd(buffer, i);
    TrimLine(begin, end);
    return begin == end || (end - begin == 1 && (*begin == '{' || *begin == '}'));
}
