#include "version_text.h"

#include <cstdio>

namespace {

constexpr uint32_t FIXED_INFO_SIGNATURE = 0xFEEF04BD;
constexpr size_t FILE_VERSION_MS_OFFSET = 8;
constexpr size_t FILE_VERSION_LS_OFFSET = 12;
constexpr size_t NEEDED_AFTER_SIGNATURE = FILE_VERSION_LS_OFFSET + 4;

// Version resources are little-endian whatever the host.
uint32_t ReadLittleEndian32(const unsigned char* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

} // namespace

bool FindFileVersion(const unsigned char* block, size_t size, FileVersion& version)
{
    if (!block || size < NEEDED_AFTER_SIGNATURE)
        return false;
    for (size_t at = 0; at + NEEDED_AFTER_SIGNATURE <= size; ++at) {
        if (ReadLittleEndian32(block + at) != FIXED_INFO_SIGNATURE)
            continue;
        version.mostSignificant = ReadLittleEndian32(block + at + FILE_VERSION_MS_OFFSET);
        version.leastSignificant = ReadLittleEndian32(block + at + FILE_VERSION_LS_OFFSET);
        return true;
    }
    return false;
}

std::string FormatVersionText(const FileVersion& version)
{
    char text[48];
    // The least significant word is one unsigned number: a build number past
    // 2^31 must not print as a negative one.
    std::snprintf(text, sizeof text, "%u.%u.%03lu", static_cast<unsigned>(version.mostSignificant >> 16),
                  static_cast<unsigned>(version.mostSignificant & 0xFFFF),
                  static_cast<unsigned long>(version.leastSignificant));
    return text;
}
