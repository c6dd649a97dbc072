// Copying difference blocks between the panes, and saving: what lands on disk
// in success and in failure.
#include <doctest/doctest.h>

#include <random>
#include <sstream>
#include <vector>

#include "common/process_values.h"
#include "compare_window_fixture.h"
#include "pane_driver.h"
#include "resources/resource.h"

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (char character : text) {
        if (character == '\n') {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line += character;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

// The caret of the giving pane into a block's first row, with the focus.
void PutCaretInBlock(TextPane& pane, const DiffBlock& block)
{
    ::SetFocus(pane.m_hWnd);
    pane.MoveCaret(0, static_cast<int>(block.firstRow), MOVE_BOTH);
}

// A pair that differs in every way the search knows, made from a seed.
void MakePair(unsigned seed, std::string& source, std::string& master)
{
    std::mt19937 random(seed);
    const char* words[] = { "alpha", "beta", "gamma", "delta", "", "{", "}", "epsilon" };
    for (int line = 0; line < 60; ++line) {
        std::string text = std::string(words[random() % 8]) + " " + std::to_string(random() % 7);
        int change = static_cast<int>(random() % 10);
        if (change == 0) {
            source += text + "\r\n"; // source only
        } else if (change == 1) {
            master += text + "\n"; // master only, LF alone
        } else if (change == 2) {
            source += text + " new\r\n";
            master += text + " old\r\n";
        } else {
            source += text + "\r\n";
            master += text + "\r\n";
        }
    }
}

struct WhiteSpaceSignificant {
    int saved = g_values.whiteSpaceMode;
    WhiteSpaceSignificant() { g_values.whiteSpaceMode = 2; }
    ~WhiteSpaceSignificant() { g_values.whiteSpaceMode = saved; }
};

} // namespace

TEST_CASE("copying every Source difference makes Master equal Source; undoing them all gives Master back")
{
    WhiteSpaceSignificant mode;
    for (unsigned seed = 1; seed <= 6; ++seed) {
        CAPTURE(seed);
        std::string source, master;
        MakePair(seed, source, master);
        CompareWindowFixture fixture(source, master);
        REQUIRE(fixture.created);
        CompareWindow& window = fixture.window;
        int merges = 0;
        for (const DiffBlock& block : window.blocks) {
            if (block.kind == BLOCK_EQUAL)
                continue;
            PutCaretInBlock(window.sourcePane, block);
            REQUIRE(window.IsCommandEnabled(ID_COPY_SOURCE_DIFFERENCE));
            CHECK_FALSE(window.IsCommandEnabled(ID_COPY_MASTER_DIFFERENCE));
            window.SendMessage(WM_COMMAND, ID_COPY_SOURCE_DIFFERENCE);
            ++merges;
            CHECK(window.sourcePane.caret.row == static_cast<int>(block.firstRow) + CompareWindow::BlockHeight(block));
        }
        CHECK(window.masterPane.undoList.size() == static_cast<size_t>(merges));
        CHECK(window.masterPane.buffer.rowCount == static_cast<uint32_t>(window.totalRows));
        window.SendMessage(WM_COMMAND, ID_SAVE_MASTER);
        CHECK(Lines(ReadWholeFile(window.masterPath)) == Lines(source));

        ::SetFocus(window.masterPane.m_hWnd);
        for (int undo = 0; undo < merges; ++undo)
            window.SendMessage(WM_COMMAND, ID_EDIT_UNDO);
        window.SendMessage(WM_COMMAND, ID_SAVE_MASTER);
        CHECK(Lines(ReadWholeFile(window.masterPath)) == Lines(master));
    }
}

TEST_CASE("a block on one side only: copied it inserts, copied the other way it deletes")
{
    CompareWindowFixture fixture("a\r\nnew 1\r\nnew 2\r\nb\r\n", "a\r\nb\r\n");
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    const DiffBlock* block = window.FindBlockAtRow(1);
    REQUIRE(block != nullptr);
    REQUIRE(block->kind == BLOCK_SOURCE_ONLY);

    SUBCASE("from the Source: the Master's fillers become the lines, on white")
    {
        PutCaretInBlock(window.sourcePane, *block);
        window.SendMessage(WM_COMMAND, ID_COPY_SOURCE_DIFFERENCE);
        CHECK(window.masterPane.buffer.GetLineText(1) == "new 1");
        CHECK_FALSE(window.masterPane.buffer.IsFiller(1));
        CHECK(window.sourcePane.buffer.IsChangedLine(1)); // the giving side keeps its highlight
        PaneImage image(window.masterPane.m_hWnd, PaneImage::RENDERED);
        CHECK(image.At(image.width - 3, window.rowHeight + 1) == RGB(255, 255, 255));
        window.SendMessage(WM_COMMAND, ID_SAVE_MASTER);
        CHECK(ReadWholeFile(window.masterPath) == "a\r\nnew 1\r\nnew 2\r\nb\r\n");
    }
    SUBCASE("from the Master: the Source's lines turn into fillers and leave the file")
    {
        PutCaretInBlock(window.masterPane, *block);
        CHECK_FALSE(window.IsCommandEnabled(ID_COPY_SOURCE_DIFFERENCE));
        window.SendMessage(WM_COMMAND, ID_COPY_MASTER_DIFFERENCE);
        CHECK(window.sourcePane.buffer.IsFiller(1));
        CHECK(window.sourcePane.buffer.IsFiller(2));
        PaneImage image(window.sourcePane.m_hWnd, PaneImage::RENDERED);
        CHECK(image.At(image.width - 3, window.rowHeight + 1) == RGB(192, 192, 192));
        window.SendMessage(WM_COMMAND, ID_SAVE_SOURCE);
        CHECK(ReadWholeFile(window.sourcePath) == "a\r\nb\r\n");

        SUBCASE("undo and redo of the merge write the same file as the merge itself")
        {
            ::SetFocus(window.sourcePane.m_hWnd);
            window.SendMessage(WM_COMMAND, ID_EDIT_UNDO);
            CHECK_FALSE(window.sourcePane.buffer.IsFiller(1));
            window.SendMessage(WM_COMMAND, ID_EDIT_REDO);
            CHECK(window.sourcePane.buffer.IsFiller(1));
            window.SendMessage(WM_COMMAND, ID_SAVE_SOURCE);
            CHECK(ReadWholeFile(window.sourcePath) == "a\r\nb\r\n");
        }
    }
}

TEST_CASE("merge commands need a difference under the caret of their own pane")
{
    CompareWindowFixture fixture("same\r\nleft\r\n", "same\r\nright\r\n");
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    ::SetFocus(window.sourcePane.m_hWnd);
    window.sourcePane.MoveCaret(0, 0, MOVE_BOTH);
    CHECK_FALSE(window.IsCommandEnabled(ID_COPY_SOURCE_DIFFERENCE));
    window.SendMessage(WM_COMMAND, ID_COPY_SOURCE_DIFFERENCE); // refused: nothing changes
    CHECK(window.masterPane.undoList.empty());
    window.sourcePane.MoveCaret(0, 1, MOVE_BOTH);
    CHECK(window.IsCommandEnabled(ID_COPY_SOURCE_DIFFERENCE));
    CHECK_FALSE(window.IsCommandEnabled(ID_COPY_MASTER_DIFFERENCE));
    // Merging twice gives the same rows and a second undo entry.
    window.SendMessage(WM_COMMAND, ID_COPY_SOURCE_DIFFERENCE);
    window.sourcePane.MoveCaret(0, 1, MOVE_BOTH);
    window.SendMessage(WM_COMMAND, ID_COPY_SOURCE_DIFFERENCE);
    CHECK(window.masterPane.undoList.size() == 2);
    CHECK(window.masterPane.buffer.GetLineText(1) == "left");
    CHECK(window.masterPane.buffer.rowCount == 2);
}

TEST_CASE("saving a target that refuses: nothing lost, nothing reported as saved")
{
    CompareWindowFixture fixture("new\r\n", "old\r\n");
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    const std::string target = window.masterPath;
    ::SetFocus(window.sourcePane.m_hWnd);
    window.sourcePane.MoveCaret(0, 0, MOVE_BOTH);
    window.SendMessage(WM_COMMAND, ID_COPY_SOURCE_DIFFERENCE);
    REQUIRE(window.masterPane.IsModified());

    SUBCASE("read-only, answered No: no write, no message")
    {
        ::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
        DialogAnswerer answers({ IDNO });
        window.SendMessage(WM_COMMAND, ID_SAVE_MASTER);
        REQUIRE(answers.Count() == 1);
        CHECK(answers.At(0).text == "The target file (" + target + ") is read-only. Do you want to replace it anyway?");
        CHECK(ReadWholeFile(target) == "old\r\n");
        CHECK(window.masterPane.IsModified());
        CHECK((::GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_READONLY) != 0);
    }
    SUBCASE("read-only, answered Yes: written and left writable")
    {
        ::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
        DialogAnswerer answers({ IDYES });
        window.SendMessage(WM_COMMAND, ID_SAVE_MASTER);
        CHECK(answers.Count() == 1);
        CHECK(ReadWholeFile(target) == "new\r\n");
        CHECK_FALSE(window.masterPane.IsModified());
        CHECK((::GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_READONLY) == 0);
    }
    SUBCASE("held open by another handle: an error, the file and the edits kept")
    {
        HANDLE lock = ::CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        REQUIRE(lock != INVALID_HANDLE_VALUE);
        DialogAnswerer answers({ IDOK });
        window.SendMessage(WM_COMMAND, ID_SAVE_MASTER);
        ::CloseHandle(lock);
        REQUIRE(answers.Count() == 1);
        CHECK(answers.At(0).caption == "Zelvane Error");
        CHECK(answers.At(0).text == "Error writing file " + target);
        CHECK(ReadWholeFile(target) == "old\r\n");
        CHECK(window.masterPane.IsModified());
        std::string temporary = target.substr(0, target.rfind('\\') + 1) + "orvinta.tmp";
        CHECK(::GetFileAttributesA(temporary.c_str()) == INVALID_FILE_ATTRIBUTES);
    }
    SUBCASE("a hidden system file named orvinta.tmp beside it: saved, and that file kept")
    {
        std::string theirs = target.substr(0, target.rfind('\\') + 1) + "orvinta.tmp";
        HANDLE file = ::CreateFileA(theirs.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, nullptr);
        REQUIRE(file != INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ::WriteFile(file, "theirs", 6, &written, nullptr);
        ::CloseHandle(file);
        DialogAnswerer answers;
        window.SendMessage(WM_COMMAND, ID_SAVE_MASTER);
        CHECK(answers.Count() == 0);
        CHECK(ReadWholeFile(target) == "new\r\n");
        CHECK_FALSE(window.masterPane.IsModified());
        CHECK(ReadWholeFile(theirs) == "theirs");
        CHECK((::GetFileAttributesA(theirs.c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0);
        ::SetFileAttributesA(theirs.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(theirs.c_str());
    }
    SUBCASE("its directory cannot be written (it is gone): an error, the edits kept")
    {
        TempDirectory directory;
        std::string gone = directory.Path() + "\\sub\\old.txt";
        window.masterPane.filePath = gone;
        DialogAnswerer answers({ IDOK });
        window.SendMessage(WM_COMMAND, ID_SAVE_MASTER);
        REQUIRE(answers.Count() == 1);
        CHECK(answers.At(0).text == "Error writing file " + gone);
        CHECK(window.masterPane.IsModified());
        window.masterPane.filePath = target;
    }
    ::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}
