// What the handler reads from the shell's structures and what it hands on.
#include <doctest/doctest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "shellext/shell_text.h"

namespace {
// The words the system's splitter makes of a program name and a parameter text.
std::vector<std::string> SplitAsSystem(const std::string& parameters)
{
    std::string line = "ORVINTA.EXE " + parameters;
    std::wstring wide(line.begin(), line.end());
    int count = 0;
    LPWSTR* words = ::CommandLineToArgvW(wide.c_str(), &count);
    std::vector<std::string> result;
    for (int index = 1; words && index < count; ++index) {
        std::wstring word = words[index];
        result.emplace_back(word.begin(), word.end());
    }
    ::LocalFree(words);
    return result;
}
} // namespace

TEST_CASE("each quoted path comes back from the command line exactly")
{
    struct Row {
        const char* label;
        const char* source;
        const char* master;
    };
    const Row rows[] = {
        { "plain", "C:\\work\\new", "C:\\work\\old" },
        { "blanks", "C:\\Users\\First Last\\new dir", "C:\\Users\\First Last\\old  dir" },
        { "drive root as source", "C:\\", "D:\\data" },
        { "drive root as master", "D:\\data", "C:\\" },
        { "both roots", "C:\\", "D:\\" },
        { "trailing backslashes", "C:\\a b\\\\", "\\\\server\\share\\" },
        { "inner backslashes before a blank", "C:\\a\\ b", "C:\\x" },
        { "a quote in the text", "C:\\odd\"name\\", "C:\\x" },
        { "empty", "", "C:\\x" },
    };
    for (const Row& row : rows) {
        INFO(std::string(row.label));
        std::string parameters = QuoteArgument(row.source) + " " + QuoteArgument(row.master);
        std::vector<std::string> words = SplitAsSystem(parameters);
        REQUIRE(words.size() == 2);
        CHECK(words[0] == row.source);
        CHECK(words[1] == row.master);
    }
}

TEST_CASE("the text of a Filename block stops at its zero, its size or the path limit")
{
    const char terminated[] = "C:\\dir\0garbage";
    CHECK(TextOfGlobalBlock(terminated, sizeof terminated) == "C:\\dir");
    const char unterminated[] = { 'C', ':', '\\', 'a', 'b' };
    CHECK(TextOfGlobalBlock(unterminated, sizeof unterminated) == "C:\\ab");
    CHECK(TextOfGlobalBlock(unterminated, 0).empty());
    CHECK(TextOfGlobalBlock(nullptr, 10).empty());
    std::vector<char> huge(MAX_SHELL_PATH + 100, 'x');
    CHECK(TextOfGlobalBlock(huge.data(), huge.size()).size() == MAX_SHELL_PATH);
}

TEST_CASE("a display name is read by the kind of STRRET the shell returned")
{
    // An item list of one item whose bytes hold an ANSI name, then the terminator.
    std::vector<BYTE> list(64, 0);
    USHORT itemSize = 40;
    std::memcpy(list.data(), &itemSize, sizeof itemSize);
    std::memcpy(list.data() + 10, "C:\\offset dir", 14);
    LPCITEMIDLIST items = reinterpret_cast<LPCITEMIDLIST>(list.data());
    CHECK(ItemListSize(items) == 42);

    SUBCASE("offset into the item list")
    {
        STRRET name = {};
        name.uType = STRRET_OFFSET;
        name.uOffset = 10;
        std::string text = "before";
        REQUIRE(TextOfStrRet(name, items, nullptr, text));
        CHECK(text == "C:\\offset dir");
    }
    SUBCASE("an offset at or past the list's end reads nothing of what follows")
    {
        STRRET name = {};
        name.uType = STRRET_OFFSET;
        name.uOffset = 42;
        std::string text = "before";
        REQUIRE(TextOfStrRet(name, items, nullptr, text));
        CHECK(text.empty());
    }
    SUBCASE("buffer, also when it is full without a zero")
    {
        STRRET name = {};
        name.uType = STRRET_CSTR;
        std::strcpy(name.cStr, "C:\\in buffer");
        std::string text;
        REQUIRE(TextOfStrRet(name, items, nullptr, text));
        CHECK(text == "C:\\in buffer");
        std::memset(name.cStr, 'z', sizeof name.cStr);
        REQUIRE(TextOfStrRet(name, items, nullptr, text));
        CHECK(text == std::string(sizeof name.cStr, 'z'));
    }
    SUBCASE("wide string, freed after conversion")
    {
        const wchar_t wide[] = L"C:\\wide dir";
        STRRET name = {};
        name.uType = STRRET_WSTR;
        name.pOleStr = static_cast<LPWSTR>(::CoTaskMemAlloc(sizeof wide));
        std::memcpy(name.pOleStr, wide, sizeof wide);
        std::string text;
        REQUIRE(TextOfStrRet(name, items, nullptr, text));
        CHECK(text == "C:\\wide dir");
        CHECK(name.pOleStr == nullptr);
    }
    SUBCASE("an unknown kind leaves the text as it was")
    {
        STRRET name = {};
        name.uType = 7;
        std::string text = "kept";
        CHECK_FALSE(TextOfStrRet(name, items, nullptr, text));
        CHECK(text == "kept");
    }
}
