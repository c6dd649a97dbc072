// UTF-16 units as the bytes of a file (no mark), written out independently of
// the engine's conversions so that tests can check them.
#pragma once

#include <string>
#include <string_view>

inline std::string Utf16Bytes(std::u16string_view units, bool bigEndian)
{
    std::string bytes;
    for (char16_t unit : units) {
        char high = char(unit >> 8), low = char(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}
