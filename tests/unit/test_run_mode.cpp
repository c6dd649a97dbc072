// The run-mode choice and the command line, on a pretend file system.
#include <doctest/doctest.h>

#include <set>

#include "app/command_line.h"
#include "app/run_mode.h"

namespace {

class FakeProbe : public PathProbe {
public:
    FakeProbe(std::set<std::string> directories, std::set<std::string> files)
        : m_directories(std::move(directories)), m_files(std::move(files)) {}
    bool IsDirectory(const std::string& path) const override { return m_directories.count(path) != 0; }
    bool IsFile(const std::string& path) const override { return m_files.count(path) != 0; }

private:
    std::set<std::string> m_directories;
    std::set<std::string> m_files;
};

const std::string CWD = "C:\\work";

} // namespace

TEST_CASE("the run mode follows what the two paths name")
{
    FakeProbe probe({ "C:\\work", "C:\\src", "C:\\old", "D:\\" }, { "C:\\src\\a.c", "C:\\old\\a.c", "b.c" });
    struct Row {
        std::string label;
        const char* source;
        const char* master;
        RunMode mode;
        const char* sourceDirectory;
        const char* masterDirectory;
    } rows[] = {
        { "nothing stored, no parameters", "", "", RunMode::directory, "C:\\work", "C:\\work" },
        { "two directories", "C:\\src", "C:\\old", RunMode::directory, "C:\\src", "C:\\old" },
        { "two files", "C:\\src\\a.c", "C:\\old\\a.c", RunMode::file, "C:\\src\\", "C:\\old\\" },
        { "one file, last master directory", "C:\\src\\a.c", "C:\\old", RunMode::directory, "C:\\src\\", "C:\\old" },
        { "a directory and a file", "C:\\src", "C:\\old\\a.c", RunMode::directory, "C:\\src", "C:\\old\\" },
        { "missing source, existing master file", "C:\\gone", "C:\\old\\a.c", RunMode::directory, "C:\\work",
          "C:\\old\\" },
        { "missing master, existing source file", "C:\\src\\a.c", "C:\\gone", RunMode::directory, "C:\\src\\",
          "C:\\work" },
        { "both missing", "x", "y", RunMode::directory, "C:\\work", "C:\\work" },
        { "bare file names have no directory", "b.c", "b.c", RunMode::file, "", "" },
        { "a drive root", "D:\\", "C:\\old", RunMode::directory, "D:\\", "C:\\old" },
    };
    for (const Row& row : rows) {
        CAPTURE(row.label);
        RunModeChoice choice = ChooseRunMode(row.source, row.master, CWD, probe);
        CHECK(choice.mode == row.mode);
        CHECK(choice.sourceDirectory == row.sourceDirectory);
        CHECK(choice.masterDirectory == row.masterDirectory);
    }
}

TEST_CASE("file mode keeps the paths as given for the window title")
{
    FakeProbe probe({ CWD }, { "C:\\src\\a.c", "C:\\old\\a.c" });
    RunModeChoice choice = ChooseRunMode("C:\\src\\a.c", "C:\\old\\a.c", CWD, probe);
    CHECK(choice.sourcePath == "C:\\src\\a.c");
    CHECK(choice.masterPath == "C:\\old\\a.c");
}

TEST_CASE("DirectoryOf keeps drive and directory with the trailing separator")
{
    CHECK(DirectoryOf("C:\\dir\\sub\\file.txt") == "C:\\dir\\sub\\");
    CHECK(DirectoryOf("C:\\file.txt") == "C:\\");
    CHECK(DirectoryOf("C:file.txt") == "C:");
    CHECK(DirectoryOf("file.txt") == "");
    CHECK(DirectoryOf("dir/file") == "dir/");
    CHECK(DirectoryOf("C:\\dir\\") == "C:\\dir\\");
}

TEST_CASE("the command line takes the first two plain parameters and ignores flags")
{
    CommandLine line;
    line.sourcePath = "stored source";
    line.masterPath = "stored master";
    line.ParseParam("x", true, false);
    CHECK(line.sourcePath == "stored source");
    line.ParseParam("first", false, false);
    line.ParseParam("second", false, false);
    line.ParseParam("third", false, true);
    CHECK(line.sourcePath == "first");
    CHECK(line.masterPath == "second");
    CHECK(line.plainCount == 3);

    CommandLine one;
    one.masterPath = "stored master";
    one.ParseParam("only", false, true);
    CHECK(one.sourcePath == "only");
    CHECK(one.masterPath == "stored master");
}
