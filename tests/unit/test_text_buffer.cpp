#include <doctest/doctest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/text_buffer.h"
#include "framework/exceptions.h"
#include "utf16_bytes.h"

// The framework's exceptions are not std::exception; name them in failures.
REGISTER_EXCEPTION_TRANSLATOR(const CException& exception)
{
    return doctest::String(exception.GetErrorMessage().c_str());
}

namespace {

namespace fs = std::filesystem;

// A file of our own under the temporary directory, removed again at the end.
class TempFile {
public:
    explicit TempFile(const std::string& bytes = std::string()) : path(UniquePath())
    {
        std::ofstream out(path, std::ios::binary);
        out.write(bytes.data(), std::streamsize(bytes.size()));
    }
    ~TempFile()
    {
        std::error_code ignored;
        fs::remove(path, ignored);
    }
    std::string Name() const { return path.string(); }
    const fs::path& Path() const { return path; }

    static fs::path UniquePath()
    {
        static std::atomic<unsigned> counter{0};
        auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
        return fs::temp_directory_path() /
               ("zelvane_tb_" + std::to_string(ticks) + "_" + std::to_string(counter++) + ".txt");
    }

private:
    fs::path path;
};

std::vector<std::string> LoadedLines(const TextBuffer& buffer)
{
    std::vector<std::string> lines;
    for (uint32_t i = 0; i < buffer.lineCount; ++i)
        lines.emplace_back(buffer.text + buffer.lineOffsets[i], buffer.lineOffsets[i + 1] - buffer.lineOffsets[i]);
    return lines;
}

std::vector<DisplayRow> RowsOf(const TextBuffer& buffer)
{
    return std::vector<DisplayRow>(buffer.rows, buffer.rows + buffer.rowCount);
}

// A buffer whose rows show its loaded lines one to one, as after comparing a
// file with itself.
void LoadWithRows(TextBuffer& buffer, const std::string& bytes)
{
    REQUIRE(buffer.LoadFromMemory(bytes.data(), bytes.size()));
    REQUIRE(buffer.AllocateRows(buffer.lineCount));
    for (uint32_t i = 0; i < buffer.lineCount; ++i)
        buffer.SetRow(i, i, ROW_FILE_LINE);
}

} // namespace

TEST_CASE("Load applies the fix-ups and indexes the lines")
{
    struct Case {
        const char* label;
        std::string bytes;
        std::vector<std::string> lines;
        int32_t maxLineLength;
    };
    const Case cases[] = {
        {"empty file becomes one empty line", "", {"\r\n"}, 0},
        {"file of only Ctrl+Z", "\x1A", {"\r\n"}, 0},
        {"final Ctrl+Z dropped before the terminator test", "abc\x1A", {"abc\r\n"}, 3},
        {"Ctrl+Z after the last LF", "x\n\x1A", {"x\n"}, 0},
        {"only the last of two Ctrl+Z", "a\n\x1A\x1A", {"a\n", "\x1A\r\n"}, 1},
        {"Ctrl+Z elsewhere is text", "\x1A" "b\n", {"\x1A" "b\n"}, 1},
        {"LF lines", "a\nbb\n", {"a\n", "bb\n"}, 1},
        {"CR LF lines", "a\r\nbb\r\n", {"a\r\n", "bb\r\n"}, 2},
        {"missing last terminator", "a\nlast", {"a\n", "last\r\n"}, 4},
        {"lone CR stays inside the line", "a\rb\n", {"a\rb\n"}, 2},
        {"final lone CR is text", "abc\r", {"abc\r\r\n"}, 4},
        {"NUL bytes are text", std::string("a\0b\n\0\n", 6), {std::string("a\0b\n", 4), std::string("\0\n", 2)}, 2},
        {"blank lines", "\n\n\n", {"\n", "\n", "\n"}, 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.label);
        TempFile file(c.bytes);
        TextBuffer buffer;
        REQUIRE(buffer.Load(file.Name()));
        CHECK(LoadedLines(buffer) == c.lines);
        CHECK(buffer.lineCount == c.lines.size());
        CHECK(buffer.lineOffsets[0] == 0);
        CHECK(buffer.lineOffsets[buffer.lineCount] == buffer.dataLength);
        CHECK(buffer.textUsed == buffer.dataLength);
        CHECK(buffer.maxLineLength == c.maxLineLength);
        CHECK(buffer.textCapacity == c.bytes.size() + c.bytes.size() / 8);
        CHECK(buffer.rowCount == 0);

        TextBuffer fromMemory;
        REQUIRE(fromMemory.LoadFromMemory(c.bytes.data(), c.bytes.size()));
        CHECK(LoadedLines(fromMemory) == c.lines);
    }
}

TEST_CASE("a file larger than a read piece loads as one, lines across the pieces")
{
    std::string bytes;
    for (int k = 0; bytes.size() < 400000; ++k)
        bytes += std::string(size_t(k % 97), char('a' + k % 26)) + (k % 3 ? "\r\n" : "\n");
    bytes += "\xC3\xA9 last";
    std::vector<std::string> lines;
    for (size_t start = 0, end; start < bytes.size(); start = end + 1) {
        end = bytes.find('\n', start);
        lines.push_back(end == std::string::npos ? bytes.substr(start) + "\r\n" : bytes.substr(start, end + 1 - start));
        if (end == std::string::npos)
            break;
    }
    TempFile file(bytes);
    TextBuffer loaded, fromMemory;
    REQUIRE(loaded.Load(file.Name()));
    REQUIRE(fromMemory.LoadFromMemory(bytes.data(), bytes.size()));
    for (const TextBuffer* buffer : {&loaded, &fromMemory}) {
        CHECK(LoadedLines(*buffer) == lines);
        CHECK(buffer->maxLineLength == 96); // 96 letters and CR LF
        CHECK(std::string(EncodingName(buffer->encoding)) == "UTF-8");
    }
}

TEST_CASE("Load keeps the encoding and holds the text without its mark, UTF-16 as UTF-8")
{
    struct Case {
        const char* label;
        std::string bytes;
        bool processUtf8;
        const char* encoding;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"legacy", "K\xF6ln\n", false, "ANSI", {"K\xF6ln\n"}},
        {"ASCII outside a UTF-8 process", "abc\n", false, "ANSI", {"abc\n"}},
        {"ASCII in a UTF-8 process", "abc\n", true, "UTF-8", {"abc\n"}},
        {"UTF-8 mark: line 1 starts after it", "\xEF\xBB\xBFK\xC3\xB6ln\n", false, "UTF-8 BOM", {"K\xC3\xB6ln\n"}},
        {"UTF-16 LE mark", "\xFF\xFE" + Utf16Bytes(u"K\u00F6ln\r\n\U0001F600", false), false, "UTF-16 LE",
         {"K\xC3\xB6ln\r\n", "\xF0\x9F\x98\x80\r\n"}},
        {"UTF-16 BE, unpaired surrogate in its 3-byte form", Utf16Bytes(u"a\xDC00 in ASCII\n", true), false,
         "UTF-16 BE", {"a\xED\xB0\x80 in ASCII\n"}},
        {"UTF-16 final U+001A dropped", Utf16Bytes(u"a\n\x1A", false), false, "UTF-16 LE", {"a\n"}},
    };
    for (const Case& c : cases) {
        const std::string label = c.label;
        CAPTURE(label);
        TempFile file(c.bytes);
        g_codePages.processUtf8 = c.processUtf8;
        TextBuffer buffer;
        bool loaded = buffer.Load(file.Name());
        g_codePages.processUtf8 = false;
        REQUIRE(loaded);
        CHECK(std::string(EncodingName(buffer.encoding)) == c.encoding);
        CHECK(LoadedLines(buffer) == c.lines);
        CHECK(buffer.textUsed == buffer.dataLength);
    }
}

TEST_CASE("Load refuses what it cannot read and keeps what it had")
{
    TempFile good("kept\n");
    TextBuffer buffer;
    REQUIRE(buffer.Load(good.Name()));

    SUBCASE("missing file")
    {
        CHECK_FALSE(buffer.Load((fs::temp_directory_path() / "zelvane_no_such_dir" / "none.txt").string()));
    }
    SUBCASE("directory")
    {
        CHECK_FALSE(buffer.Load(fs::temp_directory_path().string()));
    }
    SUBCASE("beyond what 29-bit offsets address")
    {
        TempFile big;
        fs::resize_file(big.Path(), TEXT_STORE_LIMIT - 1);
        CHECK_FALSE(buffer.Load(big.Name()));
    }
    SUBCASE("size whose spare eighth overflows 32 bits")
    {
        TempFile huge;
        fs::resize_file(huge.Path(), 0x100000010ull);
        CHECK_FALSE(buffer.Load(huge.Name()));
    }
    REQUIRE(buffer.lineCount == 1);
    CHECK(LoadedLines(buffer) == std::vector<std::string>{"kept\n"});
}

TEST_CASE("a fresh buffer refuses a missing file and stays empty")
{
    TextBuffer buffer;
    CHECK_FALSE(buffer.Load((fs::temp_directory_path() / "zelvane_missing_file.txt").string()));
    CHECK(buffer.text == nullptr);
    CHECK(buffer.lineCount == 0);
}

TEST_CASE("SetRow takes offset, number and length from the loaded line")
{
    TextBuffer buffer;
    const std::string bytes = std::string("lf\ncrlf\r\n\n\r\ntwo\r\r\n") + std::string(3, '\0') + "\n";
    REQUIRE(buffer.LoadFromMemory(bytes.data(), bytes.size()));
    REQUIRE(buffer.lineCount == 6);
    REQUIRE(buffer.AllocateRows(8));

    struct Case {
        const char* label;
        uint32_t line;
        uint32_t flags;
        DisplayRow expected;
    };
    const Case cases[] = {
        {"LF dropped", 0, ROW_FILE_LINE, {ROW_FILE_LINE | 0, 0, 2}},
        {"CR LF dropped", 1, ROW_DIFFERS | ROW_FILE_LINE, {ROW_DIFFERS | ROW_FILE_LINE | 3, 1, 4}},
        {"bare LF is empty", 2, ROW_FILE_LINE, {ROW_FILE_LINE | 9, 2, 0}},
        {"bare CR LF is empty", 3, ROW_FILE_LINE, {ROW_FILE_LINE | 10, 3, 0}},
        {"only one CR before the LF goes", 4, ROW_FILE_LINE, {ROW_FILE_LINE | 12, 4, 4}},
        {"NUL bytes count", 5, ROW_FILE_LINE, {ROW_FILE_LINE | 18, 5, 3}},
        {"filler line", FILLER_LINE, ROW_FILLER, {ROW_FILLER, 0, 0}},
        {"0xFFFF beyond a short file", NO_LINE, ROW_FILLER, {ROW_FILLER, 0, 0}},
    };
    uint32_t row = 0;
    for (const Case& c : cases) {
        CAPTURE(c.label);
        buffer.SetRow(row, c.line, c.flags);
        CHECK(buffer.rows[row] == c.expected);
        ++row;
    }
    CHECK(buffer.GetLineText(1) == "crlf");
    CHECK(buffer.GetLineText(4) == "two\r");
    CHECK(buffer.GetLineText(5) == std::string(3, '\0'));

    buffer.SetRow(8, 0, ROW_FILE_LINE); // past the end: ignored, no write
    CHECK(buffer.rowCount == 8);
}

TEST_CASE("row queries at and past the end of the table")
{
    TextBuffer buffer;
    LoadWithRows(buffer, "a\n\nc\n");
    buffer.SetRow(1, FILLER_LINE, ROW_FILLER);
    buffer.SetRow(2, 2, ROW_DIFFERS | ROW_FILE_LINE);

    CHECK(buffer.GetLineText(0) == "a");
    CHECK(buffer.GetLineText(1).empty());
    CHECK(buffer.GetLineText(3).empty());
    CHECK(buffer.HasFileLine(0));
    CHECK_FALSE(buffer.HasFileLine(1));
    CHECK_FALSE(buffer.HasFileLine(3));
    CHECK_FALSE(buffer.IsChangedLine(0));
    CHECK(buffer.IsChangedLine(2));
    CHECK_FALSE(buffer.IsChangedLine(3));
    CHECK_FALSE(buffer.IsFiller(0));
    CHECK(buffer.IsFiller(1));
    CHECK(buffer.IsFiller(3));
    CHECK(buffer.IsFiller(1000000));
    CHECK(buffer.GetLineNumber(2) == 2);
    CHECK(buffer.GetLineNumber(3) == NO_LINE);

    CHECK(buffer.MarkFiller(0) == 0);
    CHECK(buffer.rows[0].flagsAndOffset == (ROW_FILE_LINE | ROW_FILLER));
    CHECK(buffer.IsFiller(0));
    CHECK(buffer.HasFileLine(0));
    CHECK(buffer.MarkFiller(7) == 7);
}

TEST_CASE("AllocateRows sizes the table with a quarter to spare")
{
    TextBuffer buffer;
    REQUIRE(buffer.LoadFromMemory("x\n", 2));
    const uint32_t counts[] = {0, 1, 4, 1000, 100000};
    for (uint32_t count : counts) {
        CAPTURE(count);
        REQUIRE(buffer.AllocateRows(count));
        CHECK(buffer.rowCount == count);
        CHECK(buffer.rowCapacity == count + count / 4);
        if (count)
            buffer.SetRow(count - 1, 0, ROW_FILE_LINE);
    }
}

TEST_CASE("ReplaceRows splits the text into rows at LF, as loading does")
{
    struct Case {
        const char* label;
        std::string text;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {"empty text only removes", "", {}},
        {"CR LF and LF", "a\r\nbb\n", {"a", "bb"}},
        {"last line without terminator", "x", {"x"}},
        {"lone CR stays inside the line", "a\rb\r\n", {"a\rb"}},
        {"CR CR LF is one line ending in CR", "a\r\r\n", {"a\r"}},
        {"empty lines; a final lone CR is text", "\n\r\n\r", {"", "", "\r"}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.label);
        TextBuffer buffer;
        LoadWithRows(buffer, "r0\nr1\nr2\n");
        const uint32_t usedBefore = buffer.textUsed;
        auto record = buffer.ReplaceRows(1, 1, c.text);
        REQUIRE(buffer.rowCount == 2 + c.rows.size());
        CHECK(buffer.GetLineText(0) == "r0");
        for (size_t k = 0; k < c.rows.size(); ++k) {
            CHECK(buffer.GetLineText(uint32_t(1 + k)) == c.rows[k]);
            CHECK(buffer.rows[1 + k].lineNumber == NO_LINE);
            CHECK((buffer.rows[1 + k].flagsAndOffset & ~ROW_OFFSET_MASK) == 0);
        }
        CHECK(buffer.GetLineText(uint32_t(1 + c.rows.size())) == "r2");
        CHECK(buffer.textUsed == usedBefore + c.text.size());
        CHECK(record->firstRow == 1);
        CHECK(record->restoreCount == 1);
        CHECK(record->removeCount == c.rows.size());
    }
}

TEST_CASE("a row's text with its line break put back gives the same row, whatever CRs it holds")
{
    // How every edit rewrites a row: its text, changed or not, then CR LF.
    TextBuffer buffer;
    LoadWithRows(buffer, "abc\r\r\nx\ry\n\r\r\n\rlead\n");
    const std::vector<std::string> loaded = {"abc\r", "x\ry", "\r", "\rlead"};
    REQUIRE(buffer.rowCount == loaded.size());
    for (uint32_t row = 0; row < buffer.rowCount; ++row) {
        CAPTURE(row);
        REQUIRE(std::string(buffer.GetLineText(row)) == loaded[row]);
        buffer.ReplaceRows(row, 1, std::string(buffer.GetLineText(row)) + "\r\n");
        CHECK(buffer.rowCount == loaded.size());
        CHECK(std::string(buffer.GetLineText(row)) == loaded[row]);
    }
}

TEST_CASE("inserting at row 0 shifts every row down")
{
    TextBuffer buffer;
    LoadWithRows(buffer, "a\nb\nc\n");
    const auto before = RowsOf(buffer);
    auto record = buffer.ReplaceRows(0, 0, "new\r\n");
    REQUIRE(buffer.rowCount == 4);
    CHECK(buffer.GetLineText(0) == "new");
    CHECK(std::vector<DisplayRow>(buffer.rows + 1, buffer.rows + 4) == before);
    buffer.ApplyEdit(*record);
    CHECK(RowsOf(buffer) == before);
}

TEST_CASE("three rows replaced by one line, then the record applied twice")
{
    TextBuffer buffer;
    LoadWithRows(buffer, "0\n1\n2\n3\n4\n");
    const auto original = RowsOf(buffer);
    auto record = buffer.ReplaceRows(1, 3, "one\r\n");
    const auto edited = RowsOf(buffer);
    CHECK(buffer.rowCount == 3);

    buffer.ApplyEdit(*record);
    CHECK(buffer.rowCount == 5);
    CHECK(RowsOf(buffer) == original);
    CHECK(record->restoreCount == 1);
    CHECK(record->removeCount == 3);

    buffer.ApplyEdit(*record);
    CHECK(buffer.rowCount == 3);
    CHECK(RowsOf(buffer) == edited);
}

TEST_CASE("a range reaching past the table is cut at its end")
{
    TextBuffer buffer;
    LoadWithRows(buffer, "a\nb\n");
    auto record = buffer.ReplaceRows(1, 10, "z\n");
    CHECK(record->restoreCount == 1);
    CHECK(buffer.rowCount == 2);
    CHECK(buffer.GetLineText(1) == "z");
    auto appended = buffer.ReplaceRows(99, 0, "end\n");
    CHECK(appended->firstRow == 2);
    CHECK(buffer.GetLineText(2) == "end");
}

TEST_CASE("the text store grows by a quarter or to the need, and old text stays")
{
    TextBuffer buffer;
    const std::string loaded(80, 'x');
    LoadWithRows(buffer, loaded + "\n");
    REQUIRE(buffer.textCapacity == 81 + 81 / 8);

    buffer.ReplaceRows(0, 0, "abcdefghijklmnopqrs\n"); // 20 bytes: 81 + 20 > 91
    CHECK(buffer.textCapacity == 91 + 91 / 4);
    const std::string large(500, 'y');
    buffer.ReplaceRows(0, 0, large);
    CHECK(buffer.textCapacity == 101 + 500);
    CHECK(std::string(buffer.text, 81) == loaded + "\n");
    CHECK(buffer.GetLineText(0) == large);
    CHECK(buffer.GetLineText(1) == "abcdefghijklmnopqrs");
}

TEST_CASE("editing may not grow the table past 65535 rows")
{
    TextBuffer buffer;
    REQUIRE(buffer.LoadFromMemory("x\n", 2));

    SUBCASE("a table just below the limit")
    {
        REQUIRE(buffer.AllocateRows(EDIT_ROW_LIMIT - 1));
        for (uint32_t row = 0; row < buffer.rowCount; ++row)
            buffer.SetRow(row, row % 2 ? 0 : FILLER_LINE, row % 2 ? ROW_FILE_LINE : ROW_FILLER);
        const auto rows = RowsOf(buffer);
        const uint32_t used = buffer.textUsed;

        CHECK_THROWS_AS(buffer.ReplaceRows(5, 0, "a\r\nb\r\n"), CMemoryException);
        CHECK(RowsOf(buffer) == rows);
        CHECK(buffer.textUsed == used);

        auto record = buffer.ReplaceRows(5, 1, "a\r\nb\r\n"); // exactly at the limit
        CHECK(buffer.rowCount == EDIT_ROW_LIMIT);
        buffer.ApplyEdit(*record);
        CHECK(RowsOf(buffer) == rows);
    }
    SUBCASE("a compared table already beyond the limit")
    {
        REQUIRE(buffer.AllocateRows(70000));
        for (uint32_t row = 0; row < buffer.rowCount; ++row)
            buffer.SetRow(row, 0, ROW_FILE_LINE);
        auto shrink = buffer.ReplaceRows(69000, 2, "one\n");
        CHECK(buffer.rowCount == 69999);
        CHECK_THROWS_AS(buffer.ReplaceRows(0, 0, "grow\n"), CMemoryException);
        CHECK(buffer.rowCount == 69999);
        buffer.ApplyEdit(*shrink); // an undo may restore what the table held
        CHECK(buffer.rowCount == 70000);
    }
}

TEST_CASE("random edits, undos and redos against a model of lines")
{
    struct ModelRow {
        std::string text;
        uint32_t lineNumber;
        uint32_t flags;
    };
    struct Step {
        std::unique_ptr<EditRecord> record;
        std::vector<DisplayRow> before, after;
        std::vector<ModelRow> modelBefore, modelAfter;
    };

    std::mt19937 random(20240611);
    const std::string loaded = "alpha\nbeta\r\n\ngamma\tdelta\r\nepsilon\n";
    TextBuffer buffer;
    LoadWithRows(buffer, loaded);
    std::vector<ModelRow> model;
    for (uint32_t i = 0; i < buffer.lineCount; ++i)
        model.push_back({buffer.GetLineText(i), i, ROW_FILE_LINE});

    const char* const words[] = {"", "x", "tab\there", "longer line of text", "  ", "\x1A", "lone\rcr", "ends in\r"};
    const char* const terminators[] = {"\r\n", "\n"};
    auto randomText = [&](std::vector<std::string>& lines) {
        std::string text;
        int count = int(random() % 5);
        for (int k = 0; k < count; ++k) {
            std::string word = words[random() % 8];
            lines.push_back(word);
            text += word;
            // An unterminated last line is still a line, unless it is empty.
            if (k + 1 < count || random() % 4 != 0) {
                std::string terminator = terminators[random() % 2];
                // A CR of the text before a lone LF would read as part of a CR LF.
                if (terminator == "\n" && !word.empty() && word.back() == '\r')
                    terminator = "\r\n";
                text += terminator;
            } else if (word.empty()) {
                lines.pop_back();
            }
        }
        return text;
    };
    auto checkModel = [&](const char* what) {
        CAPTURE(what);
        REQUIRE(buffer.rowCount == model.size());
        for (uint32_t row = 0; row < buffer.rowCount; ++row) {
            CAPTURE(row);
            CHECK(buffer.GetLineText(row) == model[row].text);
            CHECK(buffer.rows[row].lineNumber == model[row].lineNumber);
            CHECK((buffer.rows[row].flagsAndOffset & ~ROW_OFFSET_MASK) == model[row].flags);
        }
    };

    std::vector<Step> undo, redo;
    for (int iteration = 0; iteration < 3000; ++iteration) {
        CAPTURE(iteration);
        unsigned choice = random() % 10;
        if (choice < 2 && !undo.empty()) {
            Step step = std::move(undo.back());
            undo.pop_back();
            buffer.ApplyEdit(*step.record);
            REQUIRE(RowsOf(buffer) == step.before);
            model = step.modelBefore;
            redo.push_back(std::move(step));
        } else if (choice < 4 && !redo.empty()) {
            Step step = std::move(redo.back());
            redo.pop_back();
            buffer.ApplyEdit(*step.record);
            REQUIRE(RowsOf(buffer) == step.after);
            model = step.modelAfter;
            undo.push_back(std::move(step));
        } else {
            uint32_t first = uint32_t(random() % (buffer.rowCount + 1));
            uint32_t count = uint32_t(random() % (std::min<uint32_t>(buffer.rowCount - first, 4) + 1));
            std::vector<std::string> lines;
            std::string text = randomText(lines);
            Step step;
            step.before = RowsOf(buffer);
            step.modelBefore = model;
            step.record = buffer.ReplaceRows(first, count, text);
            model.erase(model.begin() + first, model.begin() + first + count);
            std::vector<ModelRow> added;
            for (const std::string& line : lines)
                added.push_back({line, NO_LINE, 0});
            model.insert(model.begin() + first, added.begin(), added.end());
            step.after = RowsOf(buffer);
            step.modelAfter = model;
            undo.push_back(std::move(step));
            redo.clear();
        }
        checkModel("after the step");
        REQUIRE(std::string(buffer.text, loaded.size()) == loaded);
    }
    // Unwinding everything gives back the rows of the loaded file.
    while (!undo.empty()) {
        buffer.ApplyEdit(*undo.back().record);
        REQUIRE(RowsOf(buffer) == undo.back().before);
        undo.pop_back();
    }
    CHECK(buffer.rowCount == buffer.lineCount);
    for (uint32_t row = 0; row < buffer.rowCount; ++row)
        CHECK(buffer.rows[row].lineNumber == row);
}
