// Advice for the few large blocks of a comparison (text stores, line offsets,
// row tables). Where the system offers transparent huge pages, a fresh block
// then costs one page fault per 2 MiB instead of one per 4 KiB; elsewhere
// (Windows included) the advice does nothing.
#pragma once

#include <cstddef>

void PreferLargePages(void* block, size_t size);
