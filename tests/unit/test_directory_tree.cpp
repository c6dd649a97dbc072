// Whole trees: the tree order, the recursive scan and the pairing of
// relative paths, on generated trees against a simple model (the standard
// library's walk, relative paths folded to lower case and compared as lists
// of components with a folder's files before its subfolders).
#include <doctest/doctest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "directory/core/directory_reader.h"
#include "directory/window/follow_directory.h"
#include "directory/core/pair_entries.h"
#include "directory/core/scan_tree.h"
#include "directory/core/status_reading.h"
#include "directory/core/tree_order.h"
#include "directory_fixture.h"

using namespace directory_test;

namespace {

using Key = std::vector<std::string>;

std::string Folded(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// "1" before each folder and "0" before the name and the extension, so that
// a folder's files sort before its subfolders.
Key KeyOfPath(const fs::path& relative)
{
    Key key;
    std::vector<std::string> parts;
    for (const fs::path& part : relative)
        parts.push_back(part.string());
    for (size_t i = 0; i + 1 < parts.size(); ++i)
        key.push_back("1" + Folded(parts[i]));
    const std::string& leaf = parts.back();
    size_t dot = leaf.rfind('.');
    key.push_back("0" + Folded(leaf.substr(0, dot)));
    key.push_back("0" + Folded(dot == std::string::npos ? std::string() : leaf.substr(dot + 1)));
    return key;
}

std::string Text(const Key& key)
{
    std::string text;
    for (const std::string& part : key)
        text += "/" + part;
    return text;
}

// Every regular file below the directory, links not followed.
std::vector<Key> ModelSide(const ScratchDirectory& side)
{
    std::vector<Key> keys;
    for (auto it = fs::recursive_directory_iterator(side.path); it != fs::recursive_directory_iterator(); ++it)
        if (it->is_regular_file() && !it->is_symlink())
            keys.push_back(KeyOfPath(fs::relative(it->path(), side.path)));
    std::sort(keys.begin(), keys.end());
    return keys;
}

// The rows the model expects, each "source | master" by key.
std::vector<std::string> ModelRows(const ScratchDirectory& source, const ScratchDirectory& master)
{
    std::vector<Key> s = ModelSide(source);
    std::vector<Key> m = ModelSide(master);
    std::vector<std::string> rows;
    size_t i = 0, j = 0;
    while (i < s.size() || j < m.size()) {
        if (j == m.size() || (i < s.size() && s[i] < m[j]))
            rows.push_back(Text(s[i++]) + " | ");
        else if (i == s.size() || m[j] < s[i])
            rows.push_back(" | " + Text(m[j++]));
        else
            rows.push_back(Text(s[i++]) + " | " + Text(m[j++]));
    }
    return rows;
}

std::string KeyText(const FileEntry* entry)
{
    if (!entry)
        return "";
    std::string path = entry->fileName;
    std::replace(path.begin(), path.end(), '\\', '/');
    return Text(KeyOfPath(fs::path(path)));
}

std::vector<std::string> ScannedRows(const ScratchDirectory& source, const ScratchDirectory& master,
                                     const std::string& pattern = "*.*")
{
    FileEntryArray s, m;
    ScanTree(s, source.Name(), pattern);
    ScanTree(m, master.Name(), pattern);
    std::vector<std::string> rows;
    for (const PairedRow& row : PairEntries(s, m, [](const FileEntry&, const FileEntry&) { return 0; }))
        rows.push_back(KeyText(row.source) + " | " + KeyText(row.master));
    return rows;
}

void Make(const ScratchDirectory& side, const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        if (path.back() == '/') {
            fs::create_directories(side.path / path);
            continue;
        }
        fs::create_directories((side.path / path).parent_path());
        side.Write(path, path);
    }
}

} // namespace

TEST_CASE("the tree order puts a folder's files before its subfolders, each level by name")
{
    struct Row {
        const char* label;
        const char* a;
        const char* b;
        int order;
    };
    const Row rows[] = {
        { "file before a folder that sorts earlier", "zeta", "alpha\\x", -1 },
        { "\\ is no character of the order", "lib\\z", "lib.old\\a", -1 },
        { "underscore folder after the plain one", "lib\\z", "lib_x\\a", -1 },
        { "folders in another case: alike when folded, then by bytes", "Lib\\a", "lib\\a", -1 },
        { "deeper after the folder's own files", "a\\b\\c", "a\\z", 1 },
        { "a file and a folder of one name", "lib", "lib\\a", -1 },
        { "names at one level as before", "b", "a", 1 },
    };
    for (const Row& row : rows) {
        CAPTURE(row.label);
        int order = CompareTreeNames(row.a, "", row.b, "");
        CHECK((order < 0 ? -1 : order > 0 ? 1 : 0) == row.order);
        int reverse = CompareTreeNames(row.b, "", row.a, "");
        CHECK((reverse < 0 ? -1 : reverse > 0 ? 1 : 0) == -row.order);
    }
}

TEST_CASE("a tree's files are named by their relative path, the extension from the last part")
{
    ScratchDirectory side("tree");
    Make(side, { "lib.old/notes", "lib/vtls/open.c", "top.h" });
    FileEntryArray files;
    ScanTree(files, side.Name(), "*.*");
    REQUIRE(files.size() == 3);
    struct Row {
        const char* name;
        const char* extension;
    };
    const Row expected[] = { { "top", "h" }, { "lib\\vtls\\open", "c" }, { "lib.old\\notes", "" } };
    for (size_t i = 0; i < 3; ++i) {
        CAPTURE(i);
        CHECK(files[i]->name == expected[i].name);
        CHECK(files[i]->extension == expected[i].extension);
    }
    CHECK(fs::exists(fs::path(JoinPath(side.Name(), files[1]->fileName))));
}

TEST_CASE("scanning and pairing whole trees match the model")
{
    struct Row {
        const char* label;
        std::vector<std::string> source;
        std::vector<std::string> master;
    };
    const Row rows[] = {
        { "a folder on one side only", { "a.c", "only/x.c", "only/deep/y.c" }, { "a.c" } },
        { "empty folders list nothing", { "empty/", "e/f/", "b.c" }, { "empty/", "b.c" } },
        { "the same relative path in another case", { "Lib/a.c", "lib/a.c" }, { "lib/A.c" } },
        { "deep paths", { "1/2/3/4/5/6/7/8/9/10/11/12/deep.c" }, { "1/2/3/4/5/6/7/8/9/10/11/12/deep.c", "1/x" } },
        { "a file and a folder of one name", { "name", "z" }, { "name/inner.c", "z" } },
        { "order around dots and underscores", { "lib/a", "lib.old/a", "lib_x/a", "lib0/a" },
          { "lib_x/a", "lib/a", "libz/b" } },
    };
    for (const Row& row : rows) {
        CAPTURE(row.label);
        ScratchDirectory source("src"), master("mst");
        Make(source, row.source);
        Make(master, row.master);
        CHECK(ScannedRows(source, master) == ModelRows(source, master));
    }
}

TEST_CASE("generated trees scan and pair as the model says")
{
    std::mt19937 random(19);
    const char* folders[] = { "a", "B", "lib", "Lib", "lib.old", "x_y", "0" };
    const char* files[] = { "f.c", "F.C", "g", "h.txt", "a", ".profile", "lib" };
    for (int round = 0; round < 12; ++round) {
        CAPTURE(round);
        ScratchDirectory sides[2] = { ScratchDirectory("gs"), ScratchDirectory("gm") };
        for (ScratchDirectory& side : sides) {
            for (int n = 0; n < 25; ++n) {
                fs::path path;
                int depth = static_cast<int>(random() % 4);
                for (int d = 0; d < depth; ++d)
                    path /= folders[random() % 7];
                path /= files[random() % 7];
                std::error_code error;
                fs::create_directories(path.parent_path().empty() ? side.path : side.path / path.parent_path(),
                                       error);
                if (!error && !fs::is_directory(side.path / path))
                    side.Write(path.string(), "x");
            }
        }
        CHECK(ScannedRows(sides[0], sides[1]) == ModelRows(sides[0], sides[1]));
    }
}

TEST_CASE("a pattern applies to files at every level; folders are walked whatever it is")
{
    ScratchDirectory source("ps"), master("pm");
    Make(source, { "a.c", "a.h", "sub/b.c", "sub/b.txt", "sub.txt/c.c" });
    Make(master, { "sub/b.c" });
    std::vector<std::string> rows = ScannedRows(source, master, "*.c");
    REQUIRE(rows.size() == 3);
    CHECK(rows[0] == "/0a/0c | ");
    CHECK(rows[1] == "/1sub/0b/0c | /1sub/0b/0c");
    CHECK(rows[2] == "/1sub.txt/0c/0c | ");
}

TEST_CASE("a linked folder is listed as a reparse point and never walked")
{
    ScratchDirectory side("link");
    Make(side, { "real/a.c" });
    std::error_code error;
    fs::create_directory_symlink(side.path / "real", side.path / "alias", error);
    fs::create_directory_symlink(side.path, side.path / "real" / "loop", error);
    if (error)
        return; // a system without links
    FileEntryArray files;
    ScanTree(files, side.Name(), "*.*");
    REQUIRE(files.size() == 1);
    CHECK(files[0]->name == "real\\a");
}

TEST_CASE("following the other side: the matching place from where both sides started")
{
    struct Row {
        const char* label;
        const char* from;
        const char* to;
        const char* start;
        const char* otherCurrent;
        const char* otherStart;
        const char* expected;
    };
    const Row rows[] = {
        { "one folder down", "c:\\s", "c:\\s\\lib", "c:\\s", "d:\\m", "d:\\m", "d:\\m\\lib" },
        { "up", "c:\\s\\lib", "c:\\s", "c:\\s", "d:\\m\\LIB", "d:\\m", "d:\\m" },
        { "above the start", "c:\\s", "c:", "c:\\s", "d:\\m", "d:\\m", "d:" },
        { "sideways above the start", "c:\\s", "c:\\t", "c:\\s", "d:\\x\\m", "d:\\x\\m", "d:\\x\\t" },
        { "other side elsewhere", "c:\\s", "c:\\s\\lib", "c:\\s", "d:\\m\\other", "d:\\m", "" },
        { "back in step again", "c:\\s\\a", "c:\\s\\a\\b", "c:\\s", "d:\\m\\A", "d:\\m", "d:\\m\\A\\b" },
        { "never above the root", "c:\\a\\b", "c:\\a", "c:\\a\\b", "d:", "d:", "" },
        { "a share", "c:\\s", "c:\\s\\x", "c:\\s", "\\\\srv\\share\\m", "\\\\srv\\share\\m",
          "\\\\srv\\share\\m\\x" },
    };
    for (const Row& row : rows) {
        CAPTURE(row.label);
        CHECK(FollowingDirectory(row.from, row.to, row.start, row.otherCurrent, row.otherStart) == row.expected);
    }
}

TEST_CASE("tree mode: a subfolder's state follows from the rows below it")
{
    auto entry = [](const char* path, int status) {
        FileEntry file;
        file.fileName = path;
        file.status = status;
        return file;
    };
    FileEntry top = entry("top.c", 1), same = entry("Lib\\a.c", 0), sameOther = entry("lib\\a.c", 0);
    FileEntry waiting = entry("lib\\sub\\b.c", STATUS_NOT_KNOWN), waitingOther = entry("lib\\sub\\b.c", STATUS_NOT_KNOWN);
    FileEntry lonely = entry("old\\c.c", 1), differs = entry("src\\d.c", 1), differsOther = entry("src\\d.c", 1);
    FileEntry quiet = entry("src\\e.c", 0), quietOther = entry("src\\e.c", 0);
    std::vector<PairedRow> rows = { { &top, nullptr },         { &same, &sameOther },   { &waiting, &waitingOther },
                                    { nullptr, &lonely },      { &differs, &differsOther }, { &quiet, &quietOther } };
    std::vector<FolderState> states = FolderStatesFromRows(rows);
    struct Expected {
        const char* folder;
        int state;
    } expected[] = { { "LIB", STATUS_NOT_KNOWN }, { "old", 1 }, { "Src", 1 }, { "top.c", -1 }, { "none", -1 } };
    for (const Expected& folder : expected) {
        CAPTURE(folder.folder);
        CHECK(FolderStateOf(states, folder.folder) == folder.state);
    }
}
