// The few large blocks of a comparison (text stores, line offsets, row
// tables). Where the system offers transparent huge pages, a fresh block then
// costs one page fault per 2 MiB instead of one per 4 KiB; elsewhere (Windows
// included) it is an ordinary heap block.
#pragma once

#include <cstddef>

// A block of at least size bytes that std::free releases and std::realloc
// grows; null when memory runs out.
void* AllocateLargeBlock(size_t size);
// The same, every byte zero.
void* AllocateZeroedLargeBlock(size_t size);
