#include <doctest/doctest.h>

#include <random>
#include <string>
#include <vector>

#include "common/process_values.h"
#include "engine/line_compare.h"
#include "engine/line_hash.h"
#include "engine/text_buffer.h"

namespace {

// A buffer whose line 1 holds the given bytes (terminator included); line 0
// is a decoy so that offsets other than 0 are exercised.
void LoadLine(TextBuffer& buffer, const std::string& line)
{
    const std::string bytes = "decoy\n" + line;
    REQUIRE(buffer.LoadFromMemory(bytes.data(), bytes.size()));
    REQUIRE(buffer.lineCount == 2);
}

struct ModeScope {
    explicit ModeScope(int mode) : saved(g_values.whiteSpaceMode) { g_values.whiteSpaceMode = mode; }
    ~ModeScope() { g_values.whiteSpaceMode = saved; }
    int saved;
};

} // namespace

TEST_CASE("LinesEqual in the three white-space modes")
{
    struct Case {
        const char* label;
        std::string source;
        std::string master;
        bool trimEnds, ignoreRuns, significant;
    };
    const Case cases[] = {
        {"blanks and CR trimmed at both ends", "  abc\t\r\n", "abc\n", true, true, false},
        {"inner blank is kept in mode 0", "ab cd\n", "abcd\n", false, false, false},
        {"runs of any mix match", "x =  1\n", "x\t=\t1\n", false, true, false},
        {"one blank against two", "x = 1\n", "x =  1\n", false, true, false},
        {"a run never matches no run", "x=1\n", "x = 1\n", false, false, false},
        {"a run never matches another byte", "a b\n", "axb\n", false, false, false},
        {"a run against the end", "a b\n", "a\n", false, false, false},
        {"leading blanks then runs", "  a b\n", "a  b\n", false, true, false},
        {"CR LF against LF", "abc\r\n", "abc\n", true, true, false},
        {"trailing space", "abc \n", "abc\n", true, true, false},
        {"case always matters", "ABC\n", "abc\n", false, false, false},
        {"white space only against empty", " \t \n", "\n", true, true, false},
        {"empty against empty", "\n", "\n", true, true, true},
        {"lone CR at the start is not trimmed", "\rabc\n", "abc\n", false, false, false},
        {"lone CR at the start on both", "\rabc\n", "\rabc\n", true, true, true},
        {"several CRs trimmed at the end", "abc\r\r\n", "abc\n", true, true, false},
        {"lone CR inside is a byte", "a\rb\n", "a b\n", false, false, false},
        {"prefix only", "abc\n", "abcd\n", false, false, false},
        {"NUL bytes differ", std::string("a\0b\n", 4), std::string("a\0c\n", 4), false, false, false},
        {"NUL bytes equal", std::string("a\0b\n", 4), std::string("a\0b\n", 4), true, true, true},
        {"identical with tabs", "\ta\tb\n", "\ta\tb\n", true, true, true},
        {"missing last terminator gets CR LF", "last", "last\r\n", true, true, true},
        {"long equal lines", std::string(300, 'q') + "\n", std::string(300, 'q') + "\n", true, true, true},
        {"long lines differing at the end", std::string(300, 'q') + "r\n", std::string(300, 'q') + "s\n", false,
         false, false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.label);
        TextBuffer source, master;
        LoadLine(source, c.source);
        LoadLine(master, c.master);
        CHECK(LinesEqual(source, 1, master, 1, WS_TRIM_ENDS) == c.trimEnds);
        CHECK(LinesEqual(source, 1, master, 1, WS_IGNORE_RUNS) == c.ignoreRuns);
        CHECK(LinesEqual(source, 1, master, 1, WS_SIGNIFICANT) == c.significant);
        // Equality is symmetric in every mode.
        CHECK(LinesEqual(master, 1, source, 1, WS_IGNORE_RUNS) == c.ignoreRuns);
        for (int other : {3, -1, 99}) {
            CAPTURE(other);
            CHECK(LinesEqual(source, 1, master, 1, other) == c.trimEnds);
        }
        for (int mode : {0, 1, 2, 7}) {
            CAPTURE(mode);
            ModeScope scope(mode);
            CHECK(LinesEqual(source, 1, master, 1) == LinesEqual(source, 1, master, 1, mode));
        }
        // Lines equal under a mode must hash alike under it.
        for (int mode : {0, 1, 2})
            if (LinesEqual(source, 1, master, 1, mode))
                CHECK(HashLine(source, 1, mode) == HashLine(master, 1, mode));
    }
}

TEST_CASE("IsTrivialLine")
{
    struct Case {
        const char* label;
        std::string line;
        bool trivial;
    };
    const Case cases[] = {
        {"empty line", "\n", true},
        {"empty CR LF line", "\r\n", true},
        {"spaces", "    \n", true},
        {"brace amid blanks", " { \n", true},
        {"closing brace and tab", "}\t\n", true},
        {"tab, closing brace, CR LF", "\t}\r\n", true},
        {"brace before extra CRs", "{\r\r\n", true},
        {"two braces", "{}\n", false},
        {"brace and semicolon", "};\n", false},
        {"a letter", "x\n", false},
        {"lone CR before a brace", "\r{\n", false},
        {"other bracket", "(\n", false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.label);
        TextBuffer buffer;
        LoadLine(buffer, c.line);
        CHECK(IsTrivialLine(buffer, 1) == c.trivial);
    }
}

// Each mode against a plain model built from strings, on many random lines
// made of the bytes that matter.
TEST_CASE("LinesEqual and HashLine agree with a string model on random lines")
{
    auto trim = [](std::string s) {
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
            s.pop_back();
        size_t start = 0;
        while (start < s.size() && (s[start] == ' ' || s[start] == '\t'))
            ++start;
        return s.substr(start);
    };
    auto collapse = [](const std::string& s) {
        std::string out;
        for (size_t k = 0; k < s.size(); ++k) {
            bool blank = s[k] == ' ' || s[k] == '\t';
            if (!blank)
                out += s[k];
            else if (k == 0 || !(s[k - 1] == ' ' || s[k - 1] == '\t'))
                out += '\x01';
        }
        return out;
    };

    std::mt19937 random(77);
    const char alphabet[] = {' ', '\t', 'a', 'b', '\r', '{'};
    std::vector<std::string> lines;
    for (int n = 0; n < 400; ++n) {
        std::string line;
        int length = int(random() % 7);
        for (int k = 0; k < length; ++k)
            line += alphabet[random() % sizeof alphabet];
        line += random() % 2 ? "\n" : "\r\n";
        lines.push_back(line);
    }
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line;
    TextBuffer buffer;
    REQUIRE(buffer.LoadFromMemory(bytes.data(), bytes.size()));
    // A lone CR ahead of a terminator is part of the line; count what loaded.
    REQUIRE(buffer.lineCount == lines.size());

    int equalPairs[3] = {0, 0, 0};
    for (uint32_t i = 0; i < lines.size(); ++i) {
        for (uint32_t j = 0; j < lines.size(); ++j) {
            const bool expected[3] = {trim(lines[i]) == trim(lines[j]),
                                      collapse(trim(lines[i])) == collapse(trim(lines[j])), lines[i] == lines[j]};
            for (int mode = 0; mode < 3; ++mode) {
                bool equal = LinesEqual(buffer, i, buffer, j, mode);
                if (equal != expected[mode]) {
                    CAPTURE(mode);
                    CAPTURE(lines[i]);
                    CAPTURE(lines[j]);
                    FAIL("LinesEqual disagrees with the model");
                }
                if (equal) {
                    ++equalPairs[mode];
                    REQUIRE(HashLine(buffer, i, mode) == HashLine(buffer, j, mode));
                }
            }
        }
    }
    // The sample must hold equal pairs beyond the diagonal in every mode.
    for (int mode = 0; mode < 3; ++mode)
        CHECK(equalPairs[mode] > int(lines.size()) * 2);
}
