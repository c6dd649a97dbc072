// What a screenful of changed rows costs: the changed-character marks of 60
// facing rows of 200 characters, computed from an empty cache as a pane's first
// paint does (display cells included), then the same for the longest lines
// that are still marked.
//   charbench [--repeat K]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "common/process_values.h"
#include "compare_window/change_marks.h"

namespace {

constexpr int ROWS = 60;

// A line of code-like text: words, operators, blanks and a tab or two.
std::string CodeLine(std::mt19937& random, size_t length)
{
    static const char* const pieces[] = { "value", "count", "i", "x", "=", " ", " ", "+", "(", ")", ";",
                                          "\t", "->", "index", "0", "42", ",", "name" };
    std::string line;
    while (line.size() < length)
        line += pieces[random() % (sizeof pieces / sizeof *pieces)];
    line.resize(length);
    return line;
}

// The same line with a few edits spread over it, one near each end.
std::string Edited(std::mt19937& random, std::string line)
{
    line[random() % 8] = '#';
    line.insert(line.size() / 3, "total");
    line.erase(line.size() / 2, 4);
    line[line.size() - 1 - random() % 8] = '@';
    return line;
}

void Load(TextBuffer& buffer, const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\n";
    if (!buffer.LoadFromMemory(bytes.data(), bytes.size()) || !buffer.AllocateRows(uint32_t(lines.size()))) {
        std::fprintf(stderr, "charbench: no memory\n");
        std::exit(1);
    }
    for (uint32_t row = 0; row < lines.size(); ++row)
        buffer.SetRow(row, row, ROW_DIFFERS | ROW_FILE_LINE);
}

// Milliseconds for the marks of all rows from an empty cache: median and largest of K.
void Time(const char* label, size_t length, int repeat)
{
    std::mt19937 random(21);
    std::vector<std::string> sourceLines, masterLines;
    for (int row = 0; row < ROWS; ++row) {
        sourceLines.push_back(CodeLine(random, length));
        masterLines.push_back(Edited(random, sourceLines.back()));
    }
    TextBuffer source, master;
    Load(source, sourceLines);
    Load(master, masterLines);
    std::vector<DiffBlock> blocks = { { BLOCK_CHANGED, 0, ROWS, 0, ROWS, 0 } };
    std::vector<double> times;
    size_t marked = 0;
    for (int round = 0; round < repeat; ++round) {
        ChangeMarks marks(source, master, blocks);
        auto start = std::chrono::steady_clock::now();
        for (int row = 0; row < ROWS; ++row)
            marked += marks.ForRow(row).source.size();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    std::printf("%s: %d row pairs of %zu characters: median_ms=%.3f max_ms=%.3f (stretches %zu)\n", label, ROWS,
                length, times[times.size() / 2], times.back(), marked / size_t(repeat));
}

} // namespace

int main(int argc, char** argv)
{
    int repeat = 200;
    for (int k = 1; k < argc; ++k) {
        if (std::strcmp(argv[k], "--repeat") == 0 && k + 1 < argc) {
            repeat = std::max(1, std::atoi(argv[++k]));
        } else {
            std::fprintf(stderr, "usage: charbench [--repeat K]\n");
            return 2;
        }
    }
    g_values.whiteSpaceMode = 0;
    g_values.showChangedCharacters = true;
    Time("screenful", 200, repeat);
    Time("longest lines", MARK_LINE_LIMIT - 8, std::max(1, repeat / 20));
    return 0;
}
