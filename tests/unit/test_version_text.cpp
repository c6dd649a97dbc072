// The About box's version text: the signature scan over raw version-resource
// bytes and the formatting of the file version.
#include <doctest/doctest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "common/version_text.h"

namespace {

void PutWord(std::vector<unsigned char>& block, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        block[at + static_cast<size_t>(i)] = static_cast<unsigned char>(value >> (8 * i));
}

// A block with the signature at the offset and the two version words after it.
std::vector<unsigned char> BlockWithSignature(size_t size, size_t at, uint32_t ms, uint32_t ls)
{
    std::vector<unsigned char> block(size, 0x5A);
    PutWord(block, at, 0xFEEF04BD);
    if (at + 12 <= size)
        PutWord(block, at + 8, ms);
    if (at + 16 <= size)
        PutWord(block, at + 12, ls);
    return block;
}

// Exactly the bytes of the vector on the heap, so the sanitizer sees any read past them.
std::unique_ptr<unsigned char[]> Exact(const std::vector<unsigned char>& bytes)
{
    std::unique_ptr<unsigned char[]> copy(new unsigned char[bytes.size() ? bytes.size() : 1]);
    std::copy(bytes.begin(), bytes.end(), copy.get());
    return copy;
}

} // namespace

TEST_CASE("the version text formats the file version the way the About box shows it")
{
    struct Row {
        const char* label;
        uint32_t ms, ls;
        const char* expected;
    };
    const Row rows[] = {
        { "3.0.0.3", 3u << 16, 3, "3.0.003" },
        { "3.0.1.2: the low word prints as one number", 3u << 16, (1u << 16) | 2, "3.0.65538" },
        { "2.5.0.12", (2u << 16) | 5, 12, "2.5.012" },
        { "a low word of 1000 keeps all its digits", 3u << 16, 1000, "3.0.1000" },
        { "1.0.0.1", 1u << 16, 1, "1.0.001" },
        { "zero", 0, 0, "0.0.000" },
        { "largest halves, unsigned throughout", 0xFFFFFFFFu, 0xFFFFFFFFu, "65535.65535.4294967295" },
    };
    for (const Row& row : rows) {
        CAPTURE(row.label);
        CHECK(FormatVersionText({ row.ms, row.ls }) == row.expected);
    }
}

TEST_CASE("the signature scan finds the version wherever the signature lies and never reads past the block")
{
    SUBCASE("at every offset of a block, the first signature wins")
    {
        for (size_t at = 0; at + 16 <= 64; ++at) {
            CAPTURE(at);
            std::vector<unsigned char> bytes = BlockWithSignature(64, at, 0x00020005, 12);
            auto block = Exact(bytes);
            FileVersion version;
            REQUIRE(FindFileVersion(block.get(), bytes.size(), version));
            CHECK(version.mostSignificant == 0x00020005);
            CHECK(version.leastSignificant == 12);
        }
    }

    SUBCASE("a signature too close to the end to hold the version is not taken")
    {
        for (size_t size = 4; size < 16 + 8; ++size) {
            for (size_t at = size >= 16 ? size - 15 : 0; at + 4 <= size; ++at) {
                CAPTURE(size);
                CAPTURE(at);
                std::vector<unsigned char> bytes = BlockWithSignature(size, at, 1, 2);
                auto block = Exact(bytes);
                FileVersion version;
                CHECK_FALSE(FindFileVersion(block.get(), bytes.size(), version));
            }
        }
    }

    SUBCASE("garbage, empty and missing blocks hold no version")
    {
        std::vector<unsigned char> garbage(4096);
        uint32_t state = 12345;
        for (unsigned char& byte : garbage) {
            state = state * 1103515245u + 12345u;
            byte = static_cast<unsigned char>(state >> 24);
        }
        // Keep the random bytes free of the signature itself.
        for (size_t at = 0; at + 4 <= garbage.size(); ++at) {
            if (garbage[at] == 0xBD && garbage[at + 1] == 0x04 && garbage[at + 2] == 0xEF && garbage[at + 3] == 0xFE)
                garbage[at] = 0;
        }
        auto block = Exact(garbage);
        FileVersion version;
        CHECK_FALSE(FindFileVersion(block.get(), garbage.size(), version));
        CHECK_FALSE(FindFileVersion(block.get(), 0, version));
        CHECK_FALSE(FindFileVersion(nullptr, 100, version));
    }

    SUBCASE("the signature's bytes are read little-endian, not as the host's word")
    {
        std::vector<unsigned char> bytes(32, 0);
        const unsigned char bigEndian[] = { 0xFE, 0xEF, 0x04, 0xBD };
        std::copy(bigEndian, bigEndian + 4, bytes.begin() + 3);
        auto block = Exact(bytes);
        FileVersion version;
        CHECK_FALSE(FindFileVersion(block.get(), bytes.size(), version));
    }
}
