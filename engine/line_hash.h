// A hash of a loaded line that agrees with LinesEqual: lines equal under a
// mode always hash alike under it. Only ever used to reject unequal pairs
// quickly; a matching hash still needs LinesEqual.
#pragma once

#include <cstdint>

#include "engine/text_buffer.h"

// mode must be one of the three effective white-space modes.
uint32_t HashLine(const TextBuffer& buffer, uint32_t line, int mode);
