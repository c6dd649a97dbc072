// One run of the difference list: equal lines, lines of one side only, or
// changed lines on both sides.
#pragma once

#include <cstdint>

constexpr uint32_t BLOCK_EQUAL = 0;
constexpr uint32_t BLOCK_SOURCE_ONLY = 1;
constexpr uint32_t BLOCK_MASTER_ONLY = 2;
constexpr uint32_t BLOCK_CHANGED = 3;

struct DiffBlock {
    uint32_t kind;
    uint32_t sourceStart; // first Source line, 0-based
    uint32_t sourceCount;
    uint32_t masterStart; // first Master line, 0-based
    uint32_t masterCount;
    uint32_t firstRow;    // first display row, set when the rows are built
};

inline bool operator==(const DiffBlock& a, const DiffBlock& b)
{
    return a.kind == b.kind && a.sourceStart == b.sourceStart && a.sourceCount == b.sourceCount &&
           a.masterStart == b.masterStart && a.masterCount == b.masterCount && a.firstRow == b.firstRow;
}
inline bool operator!=(const DiffBlock& a, const DiffBlock& b) { return !(a == b); }
