#include "char_diff.h"

#include <algorithm>

#include "engine/line_compare.h"
#include "engine/text_encoding.h"

namespace {

// What a run of blanks compares as in mode 1: no character has this value.
constexpr char32_t BLANK_RUN = 0xFFFFFFFF;

// One compared unit of a line: a character, or in mode 1 a whole run of blanks.
struct Unit {
    char32_t code;
    uint32_t begin;
    uint32_t end;
};

// A stretch of units common to both lines: a[i + k] matches b[j + k] for k < length.
struct Run {
    size_t a;
    size_t b;
    size_t length;
};

bool IsBlank(char32_t c)
{
    return c == ' ' || c == '\t';
}

bool IsTrailingTrim(char32_t c)
{
    return IsBlank(c) || c == '\r' || c == '\n';
}

// Letters, digits and '_' of the scripts that separate words with blanks; a
// change inside such a word marks the word. Scripts written without blanks
// would turn whole sentences into one word, so they are left out.
bool IsWordCharacter(char32_t c)
{
    if (c < 0x80)
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    return (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || (c >= 0x370 && c <= 0x52F);
}

bool IsHighSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The line's characters; false when it has more than MARK_LINE_LIMIT. The two
// halves of a surrogate pair stored one by one stay together as one character.
bool Decode(LineText line, std::vector<Unit>& units)
{
    const char* text = line.bytes.data();
    size_t size = line.bytes.size();
    for (size_t pos = 0; pos < size;) {
        size_t length = 1;
        char32_t code = DecodeChar(text, size, pos, line.utf8, &length);
        if (IsHighSurrogate(code) && pos + length < size) {
            size_t nextLength = 1;
            char32_t next = DecodeChar(text, size, pos + length, line.utf8, &nextLength);
            if (IsLowSurrogate(next)) {
                code = 0x10000 + ((code - 0xD800) << 10) + (next - 0xDC00);
                length += nextLength;
            }
        }
        if (units.size() == MARK_LINE_LIMIT)
            return false;
        units.push_back({ code, uint32_t(pos), uint32_t(pos + length) });
        pos += length;
    }
    return true;
}

// Leaves only what the mode compares: ends trimmed in modes 0 and 1, each
// inner run of blanks one unit in mode 1.
void ApplyMode(std::vector<Unit>& units, int mode)
{
    if (mode == WS_SIGNIFICANT)
        return;
    size_t end = units.size();
    while (end > 0 && IsTrailingTrim(units[end - 1].code))
        --end;
    size_t begin = 0;
    while (begin < end && IsBlank(units[begin].code))
        ++begin;
    size_t kept = 0;
    for (size_t i = begin; i < end; ++i) {
        if (mode == WS_IGNORE_RUNS && IsBlank(units[i].code)) {
            Unit run = { BLANK_RUN, units[i].begin, units[i].end };
            while (i + 1 < end && IsBlank(units[i + 1].code))
                run.end = units[++i].end;
            units[kept++] = run;
        } else {
            units[kept++] = units[i];
        }
    }
    units.resize(kept);
}

// A longest common subsequence of a[0..m) and b[0..n), bit-parallel over b
// (one row of n bits per unit of a, kept for the way back), appended to runs
// as matched pairs offset by (offsetA, offsetB).
void CommonSubsequence(const Unit* a, size_t m, const Unit* b, size_t n, size_t offsetA, size_t offsetB,
                       std::vector<Run>& runs)
{
    if (m == 0 || n == 0)
        return;
    const size_t words = (n + 63) / 64;
    // Each distinct character of b with the bits of its places.
    std::vector<char32_t> alphabet;
    alphabet.reserve(n);
    for (size_t j = 0; j < n; ++j)
        alphabet.push_back(b[j].code);
    std::sort(alphabet.begin(), alphabet.end());
    alphabet.erase(std::unique(alphabet.begin(), alphabet.end()), alphabet.end());
    std::vector<uint64_t> masks(alphabet.size() * words, 0);
    for (size_t j = 0; j < n; ++j) {
        size_t symbol = size_t(std::lower_bound(alphabet.begin(), alphabet.end(), b[j].code) - alphabet.begin());
        masks[symbol * words + j / 64] |= uint64_t(1) << (j % 64);
    }
    // rows[i] is the row after a[0..i]; bit j clear where one more of b[0..j]
    // is matched than of b[0..j-1].
    std::vector<uint64_t> rows((m + 1) * words, ~uint64_t(0));
    for (size_t i = 0; i < m; ++i) {
        const uint64_t* previous = &rows[i * words];
        uint64_t* row = &rows[(i + 1) * words];
        auto found = std::lower_bound(alphabet.begin(), alphabet.end(), a[i].code);
        if (found == alphabet.end() || *found != a[i].code) {
            std::copy(previous, previous + words, row);
            continue;
        }
        const uint64_t* mask = &masks[size_t(found - alphabet.begin()) * words];
        uint64_t carry = 0;
        for (size_t k = 0; k < words; ++k) {
            uint64_t v = previous[k];
            uint64_t u = v & mask[k];
            uint64_t sum = v + u;
            uint64_t carryOut = sum < v;
            sum += carry;
            carryOut |= sum < carry;
            carry = carryOut;
            row[k] = sum | (v & ~mask[k]);
        }
    }
    // The way back from the end, matching wherever the characters agree.
    std::vector<Run> reversed;
    size_t i = m, j = n;
    while (i > 0 && j > 0) {
        if (a[i - 1].code == b[j - 1].code) {
            --i;
            --j;
            if (!reversed.empty() && reversed.back().a == i + 1 && reversed.back().b == j + 1) {
                --reversed.back().a;
                --reversed.back().b;
                ++reversed.back().length;
            } else {
                reversed.push_back({ i, j, 1 });
            }
        } else if ((rows[i * words + (j - 1) / 64] >> ((j - 1) % 64)) & 1) {
            --j; // b[j - 1] adds nothing to the common part
        } else {
            --i;
        }
    }
    for (auto run = reversed.rbegin(); run != reversed.rend(); ++run)
        runs.push_back({ run->a + offsetA, run->b + offsetB, run->length });
}

// Appends a run, joining it to the last one when they continue each other.
void AddRun(std::vector<Run>& runs, Run run)
{
    if (run.length == 0)
        return;
    if (!runs.empty() && runs.back().a + runs.back().length == run.a && runs.back().b + runs.back().length == run.b)
        runs.back().length += run.length;
    else
        runs.push_back(run);
}

// Widens the marks to whole words: a common run gives up the word characters
// it shares with a neighbouring change that touches them.
void ExtendToWords(std::vector<Run>& runs, const std::vector<Unit>& a, const std::vector<Unit>& b)
{
    for (size_t k = 0; k < runs.size(); ++k) {
        Run& run = runs[k];
        size_t previousA = k > 0 ? runs[k - 1].a + runs[k - 1].length : 0;
        size_t previousB = k > 0 ? runs[k - 1].b + runs[k - 1].length : 0;
        bool wordBefore = (run.a > previousA && IsWordCharacter(a[run.a - 1].code)) ||
                          (run.b > previousB && IsWordCharacter(b[run.b - 1].code));
        while (wordBefore && run.length > 0 && IsWordCharacter(a[run.a].code)) {
            ++run.a;
            ++run.b;
            --run.length;
        }
        if (run.length == 0)
            continue;
        size_t nextA = k + 1 < runs.size() ? runs[k + 1].a : a.size();
        size_t nextB = k + 1 < runs.size() ? runs[k + 1].b : b.size();
        size_t endA = run.a + run.length;
        size_t endB = run.b + run.length;
        bool wordAfter = (endA < nextA && IsWordCharacter(a[endA].code)) ||
                         (endB < nextB && IsWordCharacter(b[endB].code));
        while (wordAfter && run.length > 0 && IsWordCharacter(a[run.a + run.length - 1].code))
            --run.length;
    }
}

// Marks a common run of at most MARK_BRIDGE units that has changes on both
// sides of it, so that the marks do not fragment.
void BridgeShortRuns(std::vector<Run>& runs, size_t sizeA, size_t sizeB)
{
    for (Run& run : runs) {
        bool atStart = run.a == 0 && run.b == 0;
        bool atEnd = run.a + run.length == sizeA && run.b + run.length == sizeB;
        if (!atStart && !atEnd && run.length <= MARK_BRIDGE)
            run.length = 0;
    }
}

// The units outside the common runs of one side, as byte ranges.
std::vector<ByteRange> Unmatched(const std::vector<Unit>& units, const std::vector<Run>& runs, bool sideA)
{
    std::vector<ByteRange> ranges;
    auto mark = [&](size_t from, size_t to) {
        if (from >= to)
            return;
        ByteRange range = { units[from].begin, units[to - 1].end };
        if (!ranges.empty() && ranges.back().end == range.begin)
            ranges.back().end = range.end;
        else
            ranges.push_back(range);
    };
    size_t next = 0;
    for (const Run& run : runs) {
        if (run.length == 0)
            continue;
        size_t start = sideA ? run.a : run.b;
        mark(next, start);
        next = start + run.length;
    }
    mark(next, units.size());
    return ranges;
}

} // namespace

LineMarks MarkChangedCharacters(LineText source, LineText master, int whiteSpaceMode)
{
    LineMarks marks;
    std::vector<Unit> a, b;
    a.reserve(std::min(source.bytes.size(), MARK_LINE_LIMIT));
    b.reserve(std::min(master.bytes.size(), MARK_LINE_LIMIT));
    if (!Decode(source, a) || !Decode(master, b))
        return marks;
    int mode = EffectiveWhiteSpaceMode(whiteSpaceMode);
    ApplyMode(a, mode);
    ApplyMode(b, mode);

    size_t prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix].code == b[prefix].code)
        ++prefix;
    size_t suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
           a[a.size() - 1 - suffix].code == b[b.size() - 1 - suffix].code)
        ++suffix;
    if (prefix + suffix == a.size() && a.size() == b.size())
        return marks; // the same under the mode

    std::vector<Run> runs;
    AddRun(runs, { 0, 0, prefix });
    std::vector<Run> middle;
    CommonSubsequence(a.data() + prefix, a.size() - prefix - suffix, b.data() + prefix, b.size() - prefix - suffix,
                      prefix, prefix, middle);
    size_t common = prefix + suffix;
    for (const Run& run : middle) {
        AddRun(runs, run);
        common += run.length;
    }
    AddRun(runs, { a.size() - suffix, b.size() - suffix, suffix });
    if (common * 3 < std::min(a.size(), b.size()))
        return marks;

    ExtendToWords(runs, a, b);
    BridgeShortRuns(runs, a.size(), b.size());
    marks.source = Unmatched(a, runs, true);
    marks.master = Unmatched(b, runs, false);
    return marks;
}
