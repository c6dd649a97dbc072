// How a side spells its current directory, the ancestor chain of the
// directory list and the parent a vanished directory falls back to.
#include <doctest/doctest.h>

#include "directory/chooser/directory_path.h"

TEST_CASE("a directory is held without a trailing backslash, a drive root as letter and colon")
{
    struct Row {
        const char* label;
        const char* path;
        const char* expected;
    };
    const Row rows[] = {
        { "a drive root loses its backslash", "d:\\", "d:" },
        { "a bare drive stays", "e:", "e:" },
        { "a deep path stays", "d:\\src\\lib", "d:\\src\\lib" },
        { "a trailing backslash goes", "d:\\src\\lib\\", "d:\\src\\lib" },
        { "several trailing backslashes go", "d:\\src\\\\", "d:\\src" },
        { "a rooted path gets the current drive", "\\src\\lib", "c:\\src\\lib" },
        { "the root of the current drive", "\\", "c:" },
        { "forward slashes are separators", "d:/src/lib/", "d:\\src\\lib" },
        { "a UNC path is kept, not put on the current drive", "\\\\server\\share\\dir", "\\\\server\\share\\dir" },
        { "a UNC share root keeps its name", "\\\\server\\share\\", "\\\\server\\share" },
        { "case is kept", "D:\\Src", "D:\\Src" },
        { "empty stays empty", "", "" },
    };
    for (const Row& row : rows) {
        CAPTURE(row.label);
        CHECK(NormalizeDirectoryPath(row.path, 'c') == row.expected);
    }
}

TEST_CASE("the ancestor chain runs from the root down to the directory itself")
{
    auto texts = [](const std::vector<ChainItem>& chain) {
        std::vector<std::string> out;
        for (const ChainItem& item : chain)
            out.push_back(item.text + "=" + item.path);
        return out;
    };
    CHECK(texts(AncestorChain("d:\\src\\lib", 'd')) ==
          std::vector<std::string>{ "d:\\=d:\\", "src=d:\\src", "lib=d:\\src\\lib" });
    CHECK(texts(AncestorChain("d:", 'd')) == std::vector<std::string>{ "d:\\=d:\\" });
    CHECK(texts(AncestorChain("d:\\x", 'd')) == std::vector<std::string>{ "d:\\=d:\\", "x=d:\\x" });
    CHECK(texts(AncestorChain("\\\\server\\share\\a\\b", 'c')) ==
          std::vector<std::string>{ "\\\\server\\share=\\\\server\\share", "a=\\\\server\\share\\a",
                                    "b=\\\\server\\share\\a\\b" });
    CHECK(texts(AncestorChain("\\\\server\\share", 'c')) ==
          std::vector<std::string>{ "\\\\server\\share=\\\\server\\share" });
}

TEST_CASE("the parent of a directory, up to the root and no further")
{
    CHECK(ParentDirectory("d:\\src\\lib") == "d:\\src");
    CHECK(ParentDirectory("d:\\src") == "d:");
    CHECK(ParentDirectory("d:") == "");
    CHECK(ParentDirectory("\\\\server\\share\\dir") == "\\\\server\\share");
    CHECK(ParentDirectory("\\\\server\\share") == "");
    CHECK(DriveIndexOf('a') == 0);
    CHECK(DriveIndexOf('Z') == 25);
    CHECK(DriveIndexOf('1') == -1);
}
