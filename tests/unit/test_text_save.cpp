// Saving: what lands on disk, and that a failed save leaves the file alone.
#include <doctest/doctest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <set>
#include <string>

#include "engine/text_buffer.h"
#include "framework/file.h"
#include "utf16_bytes.h"

using namespace std::string_literals;

namespace {

namespace fs = std::filesystem;

// A fresh directory under the temporary directory, removed at the end.
struct ScratchDirectory {
    ScratchDirectory()
    {
        static int counter = 0;
        path = fs::temp_directory_path() / ("zelsave_" + std::to_string(++counter) + "_" +
                                            std::to_string(reinterpret_cast<uintptr_t>(this)));
        fs::create_directories(path);
    }
    ~ScratchDirectory()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    std::string File(const std::string& name) const { return (path / name).string(); }
    fs::path path;
};

std::string Read(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void Write(const std::string& name, const std::string& bytes)
{
    std::ofstream out(name, std::ios::binary);
    out << bytes;
}

std::set<std::string> NamesIn(const fs::path& directory)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory))
        names.insert(entry.path().filename().string());
    return names;
}

// Replace takes the way it must take where the system cannot replace a file in one step.
struct ReplacingByMovingAside {
    ReplacingByMovingAside() { CFile::replaceByMovingAside = true; }
    ~ReplacingByMovingAside() { CFile::replaceByMovingAside = false; }
};

// Loads bytes and gives every line its own equal row, as a comparison would.
void LoadWithRows(TextBuffer& buffer, const std::string& bytes)
{
    REQUIRE(buffer.LoadFromMemory(bytes.data(), bytes.size()));
    REQUIRE(buffer.AllocateRows(buffer.lineCount));
    for (uint32_t line = 0; line < buffer.lineCount; ++line)
        buffer.SetRow(line, line, ROW_FILE_LINE);
}

} // namespace

TEST_CASE("the temporary file goes beside the file, to a bare drive's root, or to the current directory")
{
    CHECK(TemporaryFileNameFor("C:\\work\\main.c") == "C:\\work\\orvinta.tmp");
    CHECK(TemporaryFileNameFor("C:\\main.c") == "C:\\orvinta.tmp");
    CHECK(TemporaryFileNameFor("D:main.c") == "D:\\orvinta.tmp");
    CHECK(TemporaryFileNameFor("main.c") == "orvinta.tmp");
    CHECK(TemporaryFileNameFor("work/main.c") == "work/orvinta.tmp");
}

TEST_CASE("saving writes every non-filler row with its own terminator")
{
    ScratchDirectory directory;
    std::string target = directory.File("out.txt");

    SUBCASE("a loaded file comes back byte for byte, with a terminator added at the end and Ctrl+Z gone")
    {
        TextBuffer buffer;
        LoadWithRows(buffer, "unix\nwindows\r\nlone\rcr\nlast\x1A");
        REQUIRE(buffer.Save(target));
        CHECK(Read(target) == "unix\nwindows\r\nlone\rcr\nlast\r\n");
    }
    SUBCASE("fillers are left out; an all-filler buffer saves as an empty file")
    {
        TextBuffer buffer;
        LoadWithRows(buffer, "a\r\nb\r\nc\r\n");
        buffer.MarkFiller(1);
        REQUIRE(buffer.Save(target));
        CHECK(Read(target) == "a\r\nc\r\n");
        buffer.MarkFiller(0);
        buffer.MarkFiller(2);
        REQUIRE(buffer.Save(target));
        CHECK(Read(target) == "");
    }
    SUBCASE("loaded and inserted lines in display order, each with its terminator")
    {
        TextBuffer buffer;
        LoadWithRows(buffer, "one\ntwo\nthree\n");
        buffer.ReplaceRows(1, 1, "new two\r\nextra\r\n");
        buffer.ReplaceRows(0, 0, "zero\n");
        REQUIRE(buffer.Save(target));
        CHECK(Read(target) == "zero\none\nnew two\r\nextra\r\nthree\n");
    }
    CHECK_FALSE(fs::exists(directory.path / "orvinta.tmp"));
}

TEST_CASE("a save that cannot write leaves the target as it was")
{
    ScratchDirectory directory;
    TextBuffer buffer;
    LoadWithRows(buffer, "changed\r\n");

    SUBCASE("the directory does not exist")
    {
        std::string target = directory.File("missing/out.txt");
        CHECK_FALSE(buffer.Save(target));
        CHECK_FALSE(fs::exists(target));
    }
    SUBCASE("the target is a directory: the temporary file is written but cannot take its place")
    {
        std::string target = directory.File("folder");
        fs::create_directories(fs::path(target) / "inside");
        CHECK_FALSE(buffer.Save(target));
        CHECK(fs::is_directory(target));
        CHECK_FALSE(fs::exists(directory.path / "orvinta.tmp"));
    }
}

TEST_CASE("a save never overwrites or removes a file that it did not make")
{
    ScratchDirectory directory;
    Write(directory.File("orvinta.tmp"), "mine");
    Write(directory.File("orvin001.tmp"), "mine too");
    TextBuffer buffer;
    LoadWithRows(buffer, "new\r\n");

    SUBCASE("a save that succeeds writes through the next free name")
    {
        Write(directory.File("out.txt"), "old\r\n");
        REQUIRE(buffer.Save(directory.File("out.txt")));
        CHECK(Read(directory.File("out.txt")) == "new\r\n");
        CHECK(NamesIn(directory.path) == std::set<std::string>{"orvin001.tmp", "orvinta.tmp", "out.txt"});
    }
    SUBCASE("a save that fails removes only its own temporary file")
    {
        fs::create_directories(directory.path / "folder" / "inside");
        CHECK_FALSE(buffer.Save(directory.File("folder")));
        CHECK(NamesIn(directory.path) == std::set<std::string>{"folder", "orvin001.tmp", "orvinta.tmp"});
    }
    CHECK(Read(directory.File("orvinta.tmp")) == "mine");
    CHECK(Read(directory.File("orvin001.tmp")) == "mine too");
}

TEST_CASE("numbered names for new files keep the directory and the extension, in 8.3 form")
{
    CHECK(CFile::NumberedName("C:\\work\\orvinta.tmp", 0) == "C:\\work\\orvinta.tmp");
    CHECK(CFile::NumberedName("C:\\work\\orvinta.tmp", 1) == "C:\\work\\orvin001.tmp");
    CHECK(CFile::NumberedName("D:orvinta.tmp", 42) == "D:orvin042.tmp");
    CHECK(CFile::NumberedName("a/b.old", 999) == "a/b999.old");
}

TEST_CASE("replacing without a one-step move: the target goes aside, and comes back on any failure")
{
    ScratchDirectory directory;
    ReplacingByMovingAside force;
    const std::string target = directory.File("target.txt");
    Write(directory.File("new.tmp"), "new");

    SUBCASE("the new file takes the target's place, and a file of the aside name is kept")
    {
        Write(target, "old");
        Write(directory.File("orvinta.old"), "mine");
        CFile::Replace(directory.File("new.tmp"), target);
        CHECK(Read(target) == "new");
        CHECK(Read(directory.File("orvinta.old")) == "mine");
        CHECK(NamesIn(directory.path) == std::set<std::string>{"orvinta.old", "target.txt"});
    }
    SUBCASE("without a target the new file only moves in")
    {
        CFile::Replace(directory.File("new.tmp"), target);
        CHECK(Read(target) == "new");
        CHECK(NamesIn(directory.path) == std::set<std::string>{"target.txt"});
    }
    SUBCASE("the new file cannot move in: the target is put back")
    {
        Write(target, "old");
        CHECK_THROWS_AS(CFile::Replace(directory.File("missing.tmp"), target), CFileException);
        CHECK(Read(target) == "old");
        CHECK(NamesIn(directory.path) == std::set<std::string>{"new.tmp", "target.txt"});
    }
    SUBCASE("a whole save goes that way too")
    {
        Write(target, "old");
        TextBuffer buffer;
        LoadWithRows(buffer, "saved\n");
        REQUIRE(buffer.Save(target));
        CHECK(Read(target) == "saved\n");
        CHECK(NamesIn(directory.path) == std::set<std::string>{"new.tmp", "target.txt"});
    }
}

namespace {

std::string AllByteValues()
{
    std::string bytes;
    for (int value = 0; value < 256; ++value)
        bytes.push_back(char(value));
    return bytes;
}

std::string Le(std::u16string_view units) { return Utf16Bytes(units, false); }
std::string Be(std::u16string_view units) { return Utf16Bytes(units, true); }

const std::string LE_MARK = "\xFF\xFE", BE_MARK = "\xFE\xFF", UTF8_MARK = "\xEF\xBB\xBF";

// Lines of many multi-byte characters: their store bytes cross every
// boundary where saving cuts the store into pieces.
std::u16string LongMultiByteLines()
{
    std::u16string text;
    for (int line = 0; line < 200; ++line) {
        for (int k = 0; k < 1000 + line; ++k)
            text += k % 4 == 0 ? u"\u00E9" : k % 4 == 1 ? u"\u65E5" : k % 4 == 2 ? u"\U0001F600" : u"a";
        text += u"\r\n";
    }
    return text;
}

} // namespace

TEST_CASE("loaded and saved again, every encoding comes back byte for byte")
{
    struct Case {
        const char* label;
        std::string file;
        const char* encoding;
        std::string saved; // what every save changes: a last line end added, a final Ctrl+Z dropped
    };
    const Case cases[] = {
        {"legacy, every byte value", AllByteValues(), "ANSI", AllByteValues() + "\r\n"},
        {"legacy CR LF, LF, lone CR", "a\r\nb\nc\rd\n", "ANSI", "a\r\nb\nc\rd\n"},
        {"UTF-8 with a stray invalid byte loads as legacy", "Gr\xC3\xBC\xC3\x9F" "e\xFF\n", "ANSI",
         "Gr\xC3\xBC\xC3\x9F" "e\xFF\n"},
        {"UTF-8", "K\xC3\xB6ln\r\n\xE2\x82\xAC\n", "UTF-8", "K\xC3\xB6ln\r\n\xE2\x82\xAC\n"},
        {"UTF-8 with mark, no last line end", UTF8_MARK + "K\xC3\xB6ln", "UTF-8 BOM", UTF8_MARK + "K\xC3\xB6ln\r\n"},
        {"UTF-8 mark only", UTF8_MARK, "UTF-8 BOM", UTF8_MARK + "\r\n"},
        {"UTF-16 LE with mark", LE_MARK + Le(u"Gr\u00FC\u00DFe\r\n\u65E5\U0001F600\n"), "UTF-16 LE",
         LE_MARK + Le(u"Gr\u00FC\u00DFe\r\n\u65E5\U0001F600\n")},
        {"UTF-16 BE with mark", BE_MARK + Be(u"Gr\u00FC\u00DFe\r\nx\n"), "UTF-16 BE",
         BE_MARK + Be(u"Gr\u00FC\u00DFe\r\nx\n")},
        {"UTF-16 LE without mark, CR LF, LF, lone CR", Le(u"a\r\nb\nc\rd\n"), "UTF-16 LE", Le(u"a\r\nb\nc\rd\n")},
        {"UTF-16 BE without mark, no last line end", Be(u"ab\ncd"), "UTF-16 BE", Be(u"ab\ncd\r\n")},
        {"UTF-16 unpaired surrogates", LE_MARK + Le(u"a\xD800" u"b\n\xDC00\n\xDBFF"), "UTF-16 LE",
         LE_MARK + Le(u"a\xD800" u"b\n\xDC00\n\xDBFF\r\n")},
        {"UTF-16 final U+001A dropped", LE_MARK + Le(u"ab\n\x1A"), "UTF-16 LE", LE_MARK + Le(u"ab\n")},
        {"UTF-16 final U+011A kept", BE_MARK + Be(u"ab\x011A"), "UTF-16 BE", BE_MARK + Be(u"ab\x011A\r\n")},
        {"UTF-16 U+010A is no line end", LE_MARK + Le(u"a\x010A" u"b\n"), "UTF-16 LE", LE_MARK + Le(u"a\x010A" u"b\n")},
        {"UTF-16 LE mark only", LE_MARK, "UTF-16 LE", LE_MARK + Le(u"\r\n")},
        {"UTF-16 BE mark only", BE_MARK, "UTF-16 BE", BE_MARK + Be(u"\r\n")},
        {"UTF-16 long lines of multi-byte characters", LE_MARK + Le(LongMultiByteLines()), "UTF-16 LE",
         LE_MARK + Le(LongMultiByteLines())},
        {"UTF-16 mark, odd length: legacy bytes", LE_MARK + "a\0\n"s, "ANSI", LE_MARK + "a\0\n"s},
    };
    ScratchDirectory directory;
    const std::string target = directory.File("file.txt");
    for (const Case& c : cases) {
        const std::string label = c.label;
        CAPTURE(label);
        Write(target, c.file);
        TextBuffer buffer;
        REQUIRE(buffer.Load(target));
        CHECK(std::string(EncodingName(buffer.encoding)) == c.encoding);
        REQUIRE(buffer.AllocateRows(buffer.lineCount));
        for (uint32_t line = 0; line < buffer.lineCount; ++line)
            buffer.SetRow(line, line, ROW_FILE_LINE);
        REQUIRE(buffer.Save(target));
        CHECK(Read(target) == c.saved);
    }
}

TEST_CASE("an edited UTF-16 file is saved as UTF-16, every other line as it was")
{
    struct Case {
        const char* label;
        bool bigEndian;
        std::string mark;
    };
    const Case cases[] = {
        {"LE with mark", false, LE_MARK},
        {"BE without mark", true, ""},
    };
    ScratchDirectory directory;
    const std::string target = directory.File("file.txt");
    for (const Case& c : cases) {
        const std::string label = c.label;
        CAPTURE(label);
        const std::u16string rest = u"\U0001F600 two\xD800\r\nthree, in enough ASCII to pass for UTF-16\n";
        Write(target, c.mark + Utf16Bytes(u"one\r\n" + rest, c.bigEndian));
        TextBuffer buffer;
        REQUIRE(buffer.Load(target));
        REQUIRE(buffer.AllocateRows(buffer.lineCount));
        for (uint32_t line = 0; line < buffer.lineCount; ++line)
            buffer.SetRow(line, line, ROW_FILE_LINE);
        // What a pane inserts: the store's own form, UTF-8.
        buffer.ReplaceRows(0, 1, "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC\r\n");
        REQUIRE(buffer.Save(target));
        CHECK(Read(target) == c.mark + Utf16Bytes(u"\u00E9t\u00E9 \u20AC\r\n" + rest, c.bigEndian));
    }
}
