#include <doctest/doctest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/char_diff.h"
#include "engine/line_compare.h"
#include "engine/text_encoding.h"

namespace {

// The line with its marked stretches in brackets: "hour <[=] 0".
std::string Bracketed(const std::string& text, const std::vector<ByteRange>& ranges)
{
    std::string out;
    size_t pos = 0;
    for (const ByteRange& range : ranges) {
        out += text.substr(pos, range.begin - pos) + "[" + text.substr(range.begin, range.end - range.begin) + "]";
        pos = range.end;
    }
    return out + text.substr(pos);
}

struct MarkCase {
    std::string label;
    int mode;
    std::string source;
    std::string master;
    std::string markedSource;
    std::string markedMaster;
    bool sourceUtf8 = true;
};

const std::string LONG_LINE(MARK_LINE_LIMIT - 1, '.');

const MarkCase MARK_CASES[] = {
    { "insertion", 0, "hour < 0", "hour <= 0", "hour < 0", "hour <[=] 0" },
    { "deletion", 0, "hour <= 0", "hour < 0", "hour <[=] 0", "hour < 0" },
    { "replacement", 0, "x = a + b;", "x = a - b;", "x = a [+] b;", "x = a [-] b;" },
    { "change at the start", 0, "+a = b", "-a = b", "[+]a = b", "[-]a = b" },
    { "change at the end", 0, "f(x) + 1", "f(x) + 2", "f(x) + [1]", "f(x) + [2]" },
    { "a stretch between marks on one side", 0, "return 1;", "return 2;!", "return [1;]", "return [2;!]" },
    { "renamed identifier", 0, "int count = 0;", "int total = 0;", "int [count] = 0;", "int [total] = 0;" },
    { "identifier sharing its end", 0, "f(alpha, 1)", "f(beta, 1)", "f([alpha], 1)", "f([beta], 1)" },
    { "repeated characters", 0, "x ==== y", "x === y", "x ===[=] y", "x === y" },
    { "tab against space, mode 2", 2, "x\t= 1", "x = 1", "x[\t]= 1", "x[ ]= 1" },
    { "tab inside, mode 0", 0, "a\t+ b", "a\t- b", "a\t[+] b", "a\t[-] b" },
    { "mode 0 ignores the ends", 0, "  x = 1 \t", "x = 2", "  x = [1] \t", "x = [2]" },
    { "mode 0 counts inner blanks", 0, "a  b", "a b", "a [ ]b", "a b" },
    { "mode 0 same after trimming", 0, "\tx + y ", "x + y", "\tx + y ", "x + y" },
    { "mode 1 any run matches", 1, "a  b\t+ 1", "a b + 2", "a  b\t+ [1]", "a b + [2]" },
    { "mode 1 a run against none", 1, "a+b", "a +b", "a+b", "a[ ]+b" },
    { "mode 1 same", 1, " a \t b ", "a b", " a \t b ", "a b" },
    { "mode 2 leading blanks", 2, "  x", "x", "[  ]x", "x" },
    { "one-character stretch bridged", 0, "(1+2)*3", "(4+5)*6", "([1+2)*3]", "([4+5)*6]" },
    { "two-character stretch bridged", 0, "f(1, 2)", "f(3, 4)", "f([1, 2])", "f([3, 4])" },
    { "three-character stretch kept", 0, "1 - 2", "3 - 4", "[1] - [2]", "[3] - [4]" },
    { "longest line marked", 0, LONG_LINE + "+", LONG_LINE + "-", LONG_LINE + "[+]", LONG_LINE + "[-]" },
    { "too long: nothing", 0, LONG_LINE + "+-", LONG_LINE + "--", LONG_LINE + "+-", LONG_LINE + "--" },
    { "a third in common: marked", 0, "+-*/%&", "+-!?#@", "+-[*/%&]", "+-[!?#@]" },
    { "under a third: nothing", 0, "+-*/%&", "+!?#@$", "+-*/%&", "+!?#@$" },
    { "empty against text", 0, "", "x = 1", "", "[x = 1]" },
    { "blank against text", 0, "   ", " x ", "   ", " [x] " },
    { "arrows share their first bytes", 0, "a \xE2\x86\x92 b", "a \xE2\x86\x90 b", "a [\xE2\x86\x92] b",
      "a [\xE2\x86\x90] b" },
    { "ideographs", 0, "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", "\xE6\x97\xA5\xE6\x9C\xAC\xE4\xBA\xBA",
      "\xE6\x97\xA5\xE6\x9C\xAC[\xE8\xAA\x9E]", "\xE6\x97\xA5\xE6\x9C\xAC[\xE4\xBA\xBA]" },
    { "four-byte characters", 0, "x \xF0\x9F\x98\x80 y", "x \xF0\x9F\x98\x83 y", "x [\xF0\x9F\x98\x80] y",
      "x [\xF0\x9F\x98\x83] y" },
    { "surrogate halves stored apart", 0, "x \xED\xA0\x80\xED\xB0\x80", "x \xED\xA0\x80\xED\xB0\x81",
      "x [\xED\xA0\x80\xED\xB0\x80]", "x [\xED\xA0\x80\xED\xB0\x81]" },
    { "Latin-1 against UTF-8", 0, "s = \"caf\xE9\"; n = 1;", "s = \"caf\xC3\xA9\"; n = 2;",
      "s = \"caf\xE9\"; n = [1];", "s = \"caf\xC3\xA9\"; n = [2];", false },
};

// Whether no range splits a character or touches the next one.
bool WellFormed(const std::string& text, bool utf8, const std::vector<ByteRange>& ranges)
{
    std::vector<bool> starts(text.size() + 1, false);
    for (size_t pos = 0; pos < text.size(); pos += CharLength(text.data(), text.size(), pos, utf8))
        starts[pos] = true;
    starts[text.size()] = true;
    uint32_t previousEnd = 0;
    for (size_t k = 0; k < ranges.size(); ++k) {
        const ByteRange& range = ranges[k];
        if (range.begin >= range.end || range.end > text.size() || !starts[range.begin] || !starts[range.end] ||
            (k > 0 && range.begin <= previousEnd))
            return false;
        previousEnd = range.end;
    }
    return true;
}

// The unmarked characters, as the mode sees them: the ends trimmed in modes 0
// and 1, every run of blanks one space in mode 1.
std::u16string Unmarked(const std::string& text, bool utf8, const std::vector<ByteRange>& ranges, int mode)
{
    std::string kept;
    size_t pos = 0;
    for (const ByteRange& range : ranges) {
        kept += text.substr(pos, range.begin - pos);
        pos = range.end;
    }
    kept += text.substr(pos);
    std::u16string chars = StoreToUtf16(kept, utf8);
    if (mode == WS_SIGNIFICANT)
        return chars;
    auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    std::u16string out;
    for (char16_t c : chars) {
        if (mode != WS_IGNORE_RUNS || !blank(c))
            out += c;
        else if (out.empty() || out.back() != u' ')
            out += u' ';
    }
    while (!out.empty() && blank(out.back()))
        out.pop_back();
    return out.substr(std::min(out.size(), out.find_first_not_of(u" \t")));
}

} // namespace

TEST_CASE("the changed characters of two lines are marked")
{
    for (const MarkCase& row : MARK_CASES) {
        CAPTURE(row.label);
        LineMarks marks = MarkChangedCharacters({ row.source, row.sourceUtf8 }, { row.master, true }, row.mode);
        CHECK(Bracketed(row.source, marks.source) == row.markedSource);
        CHECK(Bracketed(row.master, marks.master) == row.markedMaster);
    }
}

TEST_CASE("the characters left unmarked are the same on both sides")
{
    std::mt19937 random(2024);
    // Few letters, so that lines share much; blanks, a tab, a word character
    // and two multi-byte characters.
    const char* const pieces[] = { "a", "b", "c", " ", " ", "\t", "=", "_", "\xC3\xA9", "\xE2\x86\x92" };
    auto line = [&](size_t length) {
        std::string text;
        for (size_t k = 0; k < length; ++k)
            text += pieces[random() % std::size(pieces)];
        return text;
    };
    int marked = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string source = line(random() % 40);
        std::string master = source;
        for (int edits = int(random() % 6); edits > 0; --edits) {
            size_t at = master.empty() ? 0 : random() % master.size();
            while (at > 0 && (static_cast<unsigned char>(master[at]) & 0xC0) == 0x80)
                --at;
            if (random() % 2)
                master.insert(at, line(1 + random() % 3));
            else
                master.erase(at, CharLength(master.data(), master.size(), at, true));
        }
        int mode = int(random() % 3);
        CAPTURE(source);
        CAPTURE(master);
        CAPTURE(mode);
        LineMarks marks = MarkChangedCharacters({ source, true }, { master, true }, mode);
        REQUIRE(WellFormed(source, true, marks.source));
        REQUIRE(WellFormed(master, true, marks.master));
        // Unmarked lines that differ are the thresholds' business (the table's).
        if (marks.Empty())
            continue;
        ++marked;
        CHECK(Unmarked(source, true, marks.source, mode) == Unmarked(master, true, marks.master, mode));
    }
    CHECK(marked > 2000);
}
