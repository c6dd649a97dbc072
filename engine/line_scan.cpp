#include "line_scan.h"

#include <algorithm>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/large_blocks.h"
#include "framework/exceptions.h"

namespace {

// A block holds at most this many LFs.
constexpr uint32_t BLOCK = 64;

} // namespace

LineScan::LineScan(uint32_t expectedLength)
{
    // Room for lines of 32 bytes on average: most text needs no growth, and a
    // file of shorter lines grows the table a few times.
    m_capacity = expectedLength / 32 + 2 * BLOCK;
    m_offsets = static_cast<uint32_t*>(AllocateLargeBlock(size_t(m_capacity) * sizeof(uint32_t)));
    if (!m_offsets)
        AfxThrowMemoryException();
    m_offsets[0] = 0;
}

LineScan::~LineScan()
{
    std::free(m_offsets);
}

void LineScan::Reserve(uint32_t more)
{
    if (m_capacity - m_count >= more)
        return;
    uint64_t capacity = std::max<uint64_t>(uint64_t(m_capacity) * 2, uint64_t(m_count) + more);
    if (capacity * sizeof(uint32_t) > SIZE_MAX)
        AfxThrowMemoryException();
    auto* grown = static_cast<uint32_t*>(std::realloc(m_offsets, size_t(capacity) * sizeof(uint32_t)));
    if (!grown)
        AfxThrowMemoryException();
    m_offsets = grown;
    m_capacity = static_cast<uint32_t>(capacity);
}

void LineScan::Feed(const char* bytes, uint32_t end)
{
    uint32_t at = m_scanned;
#if defined(__SSE2__)
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const __m128i zero = _mm_setzero_si128();
    __m128i seen = zero;               // every byte ORed: the high bit tells of bytes above 0x7F
    __m128i low = _mm_set1_epi8(-1);   // every byte's minimum: a zero tells of a NUL
    for (; end - at >= BLOCK; at += BLOCK) {
        Reserve(BLOCK);
        const auto* p = reinterpret_cast<const __m128i*>(bytes + at);
        __m128i a = _mm_loadu_si128(p);
        __m128i b = _mm_loadu_si128(p + 1);
        __m128i c = _mm_loadu_si128(p + 2);
        __m128i d = _mm_loadu_si128(p + 3);
        seen = _mm_or_si128(seen, _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d)));
        low = _mm_min_epu8(low, _mm_min_epu8(_mm_min_epu8(a, b), _mm_min_epu8(c, d)));
        uint64_t mask = uint64_t(uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(a, lineFeed)))) |
                        uint64_t(uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(b, lineFeed)))) << 16 |
                        uint64_t(uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(c, lineFeed)))) << 32 |
                        uint64_t(uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(d, lineFeed)))) << 48;
        uint32_t* out = m_offsets + m_count;
        for (; mask; mask &= mask - 1)
            *out++ = at + uint32_t(__builtin_ctzll(mask)) + 1;
        m_count = uint32_t(out - m_offsets);
    }
    m_highOrNul = m_highOrNul || _mm_movemask_epi8(seen) != 0 ||
                  _mm_movemask_epi8(_mm_cmpeq_epi8(low, zero)) != 0;
#endif
    for (; at < end; ++at) {
        auto byte = static_cast<unsigned char>(bytes[at]);
        m_highOrNul = m_highOrNul || byte >= 0x80 || byte == 0;
        if (byte == '\n') {
            Reserve(1);
            m_offsets[m_count++] = at + 1;
        }
    }
    m_scanned = at;
}

void LineScan::DropLeading(uint32_t count)
{
    for (uint32_t k = 1; k < m_count; ++k)
        m_offsets[k] -= count;
    m_scanned -= count;
}

void LineScan::AddLine(uint32_t end)
{
    Reserve(1);
    m_offsets[m_count++] = end;
}

uint32_t* LineScan::TakeOffsets()
{
    // Kept at its size: shrinking would split the huge pages it may sit on,
    // and its spare room is at most an eighth of the bytes or what it holds.
    uint32_t* taken = m_offsets;
    m_offsets = nullptr;
    m_count = 1;
    m_capacity = 0;
    return taken;
}
