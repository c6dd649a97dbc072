// File names the process's code page cannot hold: listed with "?" without a
// UTF-8 code page. Commands reach such a file by its short name or not at
// all, and never hand the shell a "?" it would read as a wildcard.
#include <doctest/doctest.h>

#include <string>

#include "directory_window_fixture.h"
#include "file_commands_driver.h"
#include "engine/text_encoding.h"

namespace {

const wchar_t JAPANESE[] = L"\u65e5\u672c.txt"; // 日本.txt

std::wstring Wide(const std::string& ansi)
{
    return std::wstring(ansi.begin(), ansi.end()); // temporary paths are ASCII
}

bool ExistsWide(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteWide(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    REQUIRE(file != INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, "x", 1, &written, nullptr);
    ::CloseHandle(file);
}

// The Japanese file in each directory, removed at the end whatever the test did.
struct JapaneseFiles {
    JapaneseFiles(const std::string& source, const std::string& master)
        : sourcePath(Wide(source) + L"\\" + JAPANESE), masterPath(Wide(master) + L"\\" + JAPANESE)
    {
        WriteWide(sourcePath);
        WriteWide(masterPath);
    }
    ~JapaneseFiles()
    {
        ::DeleteFileW(sourcePath.c_str());
        ::DeleteFileW(masterPath.c_str());
    }
    std::wstring sourcePath;
    std::wstring masterPath;
};

// The row whose file is the Japanese one: its name, or "??.txt" where the
// code page cannot hold it.
int JapaneseRow(const FileListView& list)
{
    for (int row = 0; row < list.RowCount(); ++row) {
        const FileEntry* entry = list.GetEntry(row);
        if (entry && (entry->nameUnreadable || entry->DisplayName() == "\xE6\x97\xA5\xE6\x9C\xAC.txt"))
            return row;
    }
    return -1;
}

} // namespace

TEST_CASE("file names: deleting a file whose name the code page cannot hold deletes that file only")
{
    TempDirectory source, master;
    for (const char* name : { "ab.txt", "qq.txt", "xy.txt" })
        source.Write(name, "x");
    JapaneseFiles japanese(source.Path(), master.Path());
    DirectoryWindowFixture fixture;
    bool utf8 = ::GetACP() == CP_UTF8;
    g_codePages.processUtf8 = utf8;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    FileListView& list = fixture.window.sourceFiles;
    int row = JapaneseRow(list);
    REQUIRE(row >= 0);
    FileEntry* entry = list.GetEntry(row);
    CAPTURE(entry->DisplayName());
    CHECK(entry->nameUnreadable == !utf8);
    // The same name on both sides pairs only where it can be read.
    CHECK((fixture.window.masterFiles.GetEntry(row) != nullptr) == utf8);

    SUBCASE("by its own name or its short name: the chosen file goes, the others stay")
    {
        CHECK(entry->fileName.find_first_of("?*") == std::string::npos);
        ShellConfirmAnswerer answerer(IDYES);
        SelectRows(list, { row });
        MenuScript menu(ID_FILE_LIST_DELETE);
        RightClick(list, row);
        CHECK(PumpUntil([&] { return !ExistsWide(japanese.sourcePath); }));
        for (const char* name : { "ab.txt", "qq.txt", "xy.txt" })
            CHECK(ExistsWide(Wide(source.Path() + "\\" + name)));
        CHECK(ExistsWide(japanese.masterPath));
    }
    SUBCASE("without any name on disk every command is refused with a message, and nothing goes")
    {
        if (utf8)
            return; // every name can be read: there is no such file
        entry->fileName.clear(); // as on a file system without short names
        for (UINT command : { ID_FILE_LIST_DELETE, ID_FILE_LIST_RENAME, ID_FILE_LIST_COPY }) {
            CAPTURE(command);
            DialogAnswerer errors;
            SelectRows(list, { row });
            MenuScript menu(command);
            RightClick(list, row);
            CHECK(PumpUntil([&] { return errors.Count() >= 1; }));
            REQUIRE(errors.Count() == 1);
            CHECK(errors.At(0).text.find("??.txt cannot be read") != std::string::npos);
            CHECK(ExistsWide(japanese.sourcePath));
            CHECK_FALSE(ExistsWide(Wide(master.Path() + "\\??.txt")));
        }
        for (const char* name : { "ab.txt", "qq.txt", "xy.txt" })
            CHECK(ExistsWide(Wide(source.Path() + "\\" + name)));
    }
    CHECK_FALSE(fixture.window.busy.IsBusy());
}
