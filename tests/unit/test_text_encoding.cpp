// Which encoding a file's bytes are read in, stepping over whole characters,
// and lines of the same characters in stores of different forms comparing equal.
#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "engine/difference_engine.h"
#include "engine/text_buffer.h"
#include "engine/text_encoding.h"
#include "utf16_bytes.h"

using namespace std::string_literals;

namespace {

class NeverCancel : public ComparisonProgress {
public:
    void SetRange(uint32_t) override {}
    void SetPos(uint32_t) override {}
    bool IsCancelled() override { return false; }
    void PumpMessages() override {}
};

std::string Repeat(const std::string& bytes, int times)
{
    std::string out;
    for (int k = 0; k < times; ++k)
        out += bytes;
    return out;
}

struct CodePageScope {
    ~CodePageScope() { UseLatin1CodePage(); }
};

} // namespace

TEST_CASE("the encoding a file's bytes are read in")
{
    const FileEncoding legacy{}, utf8{EncodingKind::Utf8, false}, utf8Bom{EncodingKind::Utf8, true},
        le{EncodingKind::Utf16Le, false}, leBom{EncodingKind::Utf16Le, true}, be{EncodingKind::Utf16Be, false},
        beBom{EncodingKind::Utf16Be, true};
    struct Case {
        const char* label;
        std::string bytes;
        FileEncoding plainProcess, utf8Process;
    };
    const Case cases[] = {
        {"empty", "", legacy, utf8},
        {"ASCII only", "abc\r\n", legacy, utf8},
        {"UTF-8 multi-byte", "K\xC3\xB6ln\n", utf8, utf8},
        {"Latin-1 byte", "K\xF6ln\n", legacy, legacy},
        {"UTF-8 with one stray invalid byte", "K\xC3\xB6ln\xFF\n", legacy, legacy},
        {"overlong form", "a\xC0\xAF\n", legacy, legacy},
        {"surrogate's 3-byte form", "a\xED\xA0\x80\n", legacy, legacy},
        {"sequence cut by the end", "ab\xE6\x97", legacy, legacy},
        {"UTF-8 mark, even before invalid bytes", "\xEF\xBB\xBF\xFF", utf8Bom, utf8Bom},
        {"UTF-16 LE mark", "\xFF\xFE" "a\0"s, leBom, leBom},
        {"UTF-16 BE mark", "\xFE\xFF\0a"s, beBom, beBom},
        {"UTF-16 LE mark, odd length", "\xFF\xFE" "a", legacy, legacy},
        {"UTF-16 LE unmarked", Utf16Bytes(u"ab\r\n", false), le, le},
        {"UTF-16 BE unmarked", Utf16Bytes(u"ab\r\n", true), be, be},
        {"UTF-16 unmarked, odd length", Utf16Bytes(u"ab\n", false) + "c", legacy, utf8},
        {"UTF-16 unmarked, no LF unit", Utf16Bytes(u"abcd", false), legacy, utf8},
        {"UTF-16 unmarked, a 00 00 unit", Utf16Bytes(u"ab\n", false) + std::string(2, '\0'), legacy, utf8},
        // 20 units, 18 of them with a zero high byte: exactly 90 %.
        {"90 % zero bytes at one parity", Utf16Bytes(u"\n" + std::u16string(17, u'a') + u"\u0101\u0101", false),
         le, le},
        {"85 % zero bytes at one parity",
         Utf16Bytes(u"\n" + std::u16string(16, u'a') + u"\u0101\u0101\u0101", false), legacy, utf8},
        // Only the first 64 KB decide.
        {"a 00 00 unit past 64 KB", Repeat(Utf16Bytes(u"a\n", false), 16384) + std::string(2, '\0'), le, le},
    };
    for (const Case& c : cases) {
        const std::string label = c.label;
        CAPTURE(label);
        CHECK(DetectEncoding(c.bytes.data(), c.bytes.size(), false) == c.plainProcess);
        CHECK(DetectEncoding(c.bytes.data(), c.bytes.size(), true) == c.utf8Process);
    }
}

TEST_CASE("stepping over whole characters and over bytes that are none")
{
    CodePageScope restore;
    struct Case {
        const char* label;
        std::string text;
        bool utf8;
        bool leadByte81; // a double-byte legacy code page with 0x81 as a lead byte
        std::vector<size_t> starts; // every character's start, then the end
    };
    const Case cases[] = {
        {"UTF-8 of 1 to 4 bytes", "a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80" "b", true, false, {0, 1, 3, 6, 10, 11}},
        {"stray continuation, cut sequence, lead before ASCII", "\x80\xE6\x97" "a\xC3", true, false,
         {0, 1, 2, 3, 4, 5}},
        {"surrogate's 3-byte form is one character", "\xED\xA0\x80\xED\xB0\x80", true, false, {0, 3, 6}},
        {"overlong form is bytes", "\xC0\xAF", true, false, {0, 1, 2}},
        {"legacy: every byte", "\xC3\xA9\x81", false, false, {0, 1, 2, 3}},
        // With 0x81 as a lead byte, a trail that looks like a lead stays a trail.
        {"double-byte code page", "\x81\x81\x81\x40" "a\x81", false, true, {0, 2, 4, 5, 6}},
    };
    for (const Case& c : cases) {
        const std::string label = c.label;
        CAPTURE(label);
        UseLatin1CodePage();
        g_codePages.legacyLeadByte[0x81] = c.leadByte81;
        const char* text = c.text.data();
        size_t size = c.text.size();
        for (size_t k = 0; k + 1 < c.starts.size(); ++k) {
            CAPTURE(k);
            CHECK(CharLength(text, size, c.starts[k], c.utf8) == c.starts[k + 1] - c.starts[k]);
            CHECK(PreviousCharStart(text, size, c.starts[k + 1], c.utf8) == c.starts[k]);
        }
    }
}

TEST_CASE("lines of the same characters compare equal across encodings")
{
    struct Case {
        const char* label;
        std::string source;
        std::string master;
        int mode;
    };
    const std::string utf8 = "K\xC3\xB6ln\r\nsame\r\nalt \xE2\x82\xAC\r\nend\r\n";
    const Case cases[] = {
        {"legacy against UTF-8", "K\xF6ln\r\nsame\r\nneu\r\nend\r\n", utf8, 0},
        {"UTF-8 against legacy, blanks trimmed", utf8, "  K\xF6ln\t\r\nsame\r\nneu\r\nend\r\n", 0},
        {"legacy against UTF-8, runs of blanks", "K\xF6ln\r\nsame\r\nneu\r\nend\r\n", utf8, 1},
        {"UTF-16 against UTF-8", "\xFF\xFE" + Utf16Bytes(u"K\u00F6ln\r\nsame\r\nneu\r\nend\r\n", false), utf8, 2},
        {"legacy against UTF-16", "K\xF6ln\r\nsame\r\nneu\r\nend\r\n",
         Utf16Bytes(u"K\u00F6ln\r\nsame\r\nalt\r\nend\r\n", true), 2},
    };
    for (const Case& c : cases) {
        const std::string label = c.label;
        CAPTURE(label);
        TextBuffer source, master;
        REQUIRE(source.LoadFromMemory(c.source.data(), c.source.size()));
        REQUIRE(master.LoadFromMemory(c.master.data(), c.master.size()));
        REQUIRE(source.encoding != master.encoding);
        NeverCancel progress;
        std::vector<DiffBlock> blocks;
        uint32_t totalRows = 0;
        REQUIRE(CompareBuffers(source, master, c.mode, progress, blocks, totalRows));
        REQUIRE(blocks.size() == 3);
        CHECK(blocks[0].kind == BLOCK_EQUAL);
        CHECK(blocks[0].sourceCount == 2);
        CHECK(blocks[1].kind == BLOCK_CHANGED);
        CHECK(blocks[2].kind == BLOCK_EQUAL);
        // The rows show each side's own bytes.
        REQUIRE(totalRows == 4);
        CHECK(source.rows[0].flagsAndOffset == (ROW_FILE_LINE | source.lineOffsets[0]));
        CHECK(master.rows[2].flagsAndOffset == (ROW_DIFFERS | ROW_FILE_LINE | master.lineOffsets[2]));
    }
}
