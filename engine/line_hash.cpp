#include "line_hash.h"

#include <cstring>

#include "engine/line_compare.h"

namespace {

constexpr uint64_t MIX = 0xFF51AFD7ED558CCDull;
constexpr uint64_t FNV_PRIME = 0x100000001B3ull;
constexpr uint64_t SEED = 0x9E3779B97F4A7C15ull;

inline uint32_t Fold(uint64_t h)
{
    h ^= h >> 33;
    h *= MIX;
    h ^= h >> 29;
    return static_cast<uint32_t>(h ^ (h >> 32));
}

// Eight bytes at a time; the bytes are compared exactly, so any mixing will do.
uint32_t HashBytes(const char* p, const char* end)
{
    size_t length = size_t(end - p);
    uint64_t h = SEED ^ length;
    for (; length >= 8; p += 8, length -= 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        h = (h ^ word) * MIX;
        h ^= h >> 31;
    }
    uint64_t tail = 0;
    std::memcpy(&tail, p, length);
    return Fold(h ^ tail);
}

// Each run of blanks counts as one space, as it does for equality.
uint32_t HashIgnoringRuns(const char* p, const char* end)
{
    uint64_t h = SEED;
    while (p < end) {
        unsigned char c = static_cast<unsigned char>(*p++);
        if (c == ' ' || c == '\t') {
            c = ' ';
            while (p < end && (*p == ' ' || *p == '\t'))
                ++p;
        }
        h = (h ^ c) * FNV_PRIME;
    }
    return Fold(h);
}

} // namespace

uint32_t HashLine(const TextBuffer& buffer, uint32_t line, int mode)
{
    const char* begin = buffer.text + buffer.lineOffsets[line];
    const char* end = buffer.text + buffer.lineOffsets[line + 1];
    if (mode == WS_SIGNIFICANT)
        return HashBytes(begin, end);
    TrimLine(begin, end);
    return mode == WS_IGNORE_RUNS ? HashIgnoringRuns(begin, end) : HashBytes(begin, end);
}
