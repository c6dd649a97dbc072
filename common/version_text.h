// The version text of the About box, found in the raw bytes of a version
// resource. Portable: the scan and the formatting need nothing of Windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The two 32-bit halves of a file version (VS_FIXEDFILEINFO's dwFileVersionMS and LS).
struct FileVersion {
    uint32_t mostSignificant = 0;
    uint32_t leastSignificant = 0;
};

// Scans the block byte by byte for the fixed-file-information signature
// 0xFEEF04BD and reads the file version 8 and 12 bytes after it. A signature
// too close to the end of the block to hold the version does not count, so a
// truncated resource is never read past its end.
bool FindFileVersion(const unsigned char* block, size_t size, FileVersion& version);

// "major.minor.number": the two halves of the most significant word, then the
// whole least significant word as one number of at least three digits
// (3.0.0.3 gives "3.0.003", 3.0.1.2 gives "3.0.65538").
std::string FormatVersionText(const FileVersion& version);
