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

TEST_CASE("a path reaches ORVINTA whole where it runs in UTF-8, else in a form its code page holds")
{
    struct Version {
        const char* label;
        DWORD major, build;
        bool utf8;
    };
    const Version versions[] = {
        { "Windows 7", 6, 7601, false },
        { "Windows 10 1809", 10, 17763, false },
        { "Windows 10 1903", 10, 18362, true },
        { "Windows 11", 10, 22631, true },
    };
    for (const Version& version : versions) {
        INFO(version.label);
        CHECK(RunsAnsiProgramsInUtf8(version.major, version.build) == version.utf8);
    }

    wchar_t temp[MAX_PATH];
    REQUIRE(::GetTempPathW(MAX_PATH, temp) > 0);
    std::wstring folder = std::wstring(temp) + L"zel \u041e\u0442\u0447\u0451\u0442 " +
                          std::to_wstring(::GetCurrentProcessId());
    REQUIRE(::CreateDirectoryW(folder.c_str(), nullptr));
    std::wstring plain = temp;
    // Western code page 1252 holds neither Cyrillic nor Japanese: the short form.
    std::wstring shortForm = PathForProgram(folder, false, 1252);
    CHECK(shortForm != folder);
    CHECK(shortForm.find(L'\u041e') == std::wstring::npos);
    wchar_t longForm[MAX_PATH] = L"";
    CHECK(::GetLongPathNameW(shortForm.c_str(), longForm, MAX_PATH) > 0);
    CHECK(longForm == folder);
    // A UTF-8 program gets it as it is; so does a path the code page holds.
    CHECK(PathForProgram(folder, true, 1252) == folder);
    CHECK(PathForProgram(folder, false, 1251) == folder);
    CHECK(PathForProgram(plain, false, 1252) == plain);
    ::RemoveDirectoryW(folder.c_str());

    // Wide quoting follows the same rules as the ANSI one.
    int count = 0;
    std::wstring line = L"ORVINTA.EXE " + QuoteArgument(folder + L"\\") + L" " + QuoteArgument(std::wstring(L"C:\\"));
    LPWSTR* words = ::CommandLineToArgvW(line.c_str(), &count);
    REQUIRE(count == 3);
    CHECK(std::wstring(words[1]) == folder + L"\\");
    CHECK(std::wstring(words[2]) == L"C:\\");
    ::LocalFree(words);
}
