#include <doctest/doctest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/line_scan.h"

namespace {

// What the scan must find, worked out a byte at a time.
std::vector<uint32_t> LineStarts(const std::string& bytes)
{
    std::vector<uint32_t> starts{0};
    for (size_t k = 0; k < bytes.size(); ++k)
        if (bytes[k] == '\n')
            starts.push_back(uint32_t(k + 1));
    return starts;
}

bool PlainAscii(const std::string& bytes)
{
    for (char c : bytes)
        if (c == '\0' || static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// Text whose lines and odd bytes land on and beside the scan's 64-byte
// blocks, and across the pieces loading feeds it.
std::string Text(size_t length, size_t lineEvery, size_t oddAt, char odd)
{
    std::string bytes(length, 'x');
    for (size_t k = lineEvery - 1; k < length; k += lineEvery)
        bytes[k] = '\n';
    if (oddAt < length)
        bytes[oddAt] = odd;
    return bytes;
}

} // namespace

TEST_CASE("the scan finds every line and every odd byte, however the bytes are fed")
{
    struct Case {
        const char* label;
        std::string bytes;
    };
    const Case cases[] = {
        {"nothing", ""},
        {"LF only", "\n"},
        {"LF at the last byte of a block", Text(64, 64, SIZE_MAX, 0)},
        {"LF at the first byte of a block", Text(130, 65, SIZE_MAX, 0)},
        {"every byte a LF", std::string(300, '\n')},
        {"high byte in the second block", Text(200, 17, 100, '\xC3')},
        {"high byte in the tail", Text(200, 17, 195, '\x80')},
        {"NUL in the first block", Text(200, 33, 0, '\0')},
        {"NUL in the tail", Text(130, 33, 129, '\0')},
        {"DEL is ASCII", Text(130, 40, 70, '\x7F')},
        {"pieces of loading and short lines", Text(300000, 3, 299999, 'y')},
    };
    const uint32_t feeds[] = {1, 7, 64, 100, UINT32_MAX};
    for (const Case& c : cases) {
        for (uint32_t feed : feeds) {
            CAPTURE(c.label);
            CAPTURE(feed);
            // A low estimate, so that the table has to grow.
            LineScan scan(uint32_t(c.bytes.size() / 64));
            const auto length = uint32_t(c.bytes.size());
            for (uint32_t end = 0; end < length;) {
                end = feed == UINT32_MAX || length - end < feed ? length : end + feed;
                scan.Feed(c.bytes.data(), end);
            }
            CHECK(scan.PlainAscii() == PlainAscii(c.bytes));
            const std::vector<uint32_t> expected = LineStarts(c.bytes);
            REQUIRE(scan.LineFeeds() == expected.size() - 1);
            uint32_t* offsets = scan.TakeOffsets();
            CHECK(std::vector<uint32_t>(offsets, offsets + expected.size()) == expected);
            std::free(offsets);
        }
    }
}
