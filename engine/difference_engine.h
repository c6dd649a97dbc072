// Aligns two loaded files: walks both from the top, collects runs of equal
// lines, and at each mismatch searches outward for the nearest point where the
// sides agree again for a few lines. Greedy and forward-only by design.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/comparison_progress.h"
#include "engine/diff_block.h"
#include "engine/text_buffer.h"

// Fills blocks (emptied first) and, when the comparison runs to the end, gives
// both buffers their aligned display rows and sets totalRows to their count.
// Returns false, building no rows, when the progress reports a cancel; blocks
// then holds the blocks completed so far and totalRows is 0.
// Throws CMemoryException when memory runs out.
// The caller creates and destroys the progress display around the call.
bool CompareBuffers(TextBuffer& source, TextBuffer& master, int whiteSpaceMode, ComparisonProgress& progress,
                    std::vector<DiffBlock>& blocks, uint32_t& totalRows);

// The same under the process-wide white-space mode, read once.
bool CompareBuffers(TextBuffer& source, TextBuffer& master, ComparisonProgress& progress,
                    std::vector<DiffBlock>& blocks, uint32_t& totalRows);
