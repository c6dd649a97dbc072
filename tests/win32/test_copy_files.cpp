// Copying files under Wine: the questions and their standing answers through
// the real question box, what lands on disk (content, times, attributes),
// failed copies that leave the target alone and say so, and the progress
// dialog's bar and Cancel.
#include <doctest/doctest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "directory/copy/copy_dialogs.h"
#include "directory/copy/copy_one_file.h"
#include "directory/copy/copy_progress_dialog.h"
#include "directory/copy/copy_selected.h"
#include "resources/resource.h"
#include "test_support.h"

namespace {

// How a test answers one copy question.
enum QuestionAction { PRESS_YES, PRESS_NO, PRESS_YES_TO_ALL, PRESS_ESCAPE, CLOSE_BOX };

// Answers the copy question box (dialog 111) from a timer, as a user would,
// and records each question's text; error boxes are recorded and closed with
// OK. (The progress dialog's labels look like a message box's text to the
// general DialogAnswerer, so these tests use their own.)
class QuestionAnswerer {
public:
    explicit QuestionAnswerer(std::vector<QuestionAction> script) : m_script(std::move(script))
    {
        s_current = this;
        m_timer = ::SetTimer(nullptr, 0, 20, OnTimer);
    }
    ~QuestionAnswerer()
    {
        ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    std::vector<std::string> questions;
    std::vector<std::string> errors; // caption, a line feed, the text
    HWND owner = nullptr;             // when set: whether it was enabled at each question
    std::vector<bool> ownerEnabled;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        if (s_current)
            s_current->Check();
    }
    struct Found {
        HWND question = nullptr;
        HWND error = nullptr;
    };
    static BOOL CALLBACK FindBoxes(HWND hwnd, LPARAM data)
    {
        auto* found = reinterpret_cast<Found*>(data);
        char caption[64] = "";
        ::GetWindowTextA(hwnd, caption, sizeof caption);
        if (!::IsWindowVisible(hwnd) || !::IsWindowEnabled(hwnd))
            return TRUE;
        if (::GetDlgItem(hwnd, IDC_COPY_QUESTION))
            found->question = hwnd;
        else if (lstrcmpA(caption, "Zelvane Error") == 0)
            found->error = hwnd;
        return TRUE;
    }
    void Check()
    {
        Found found;
        ::EnumThreadWindows(::GetCurrentThreadId(), FindBoxes, reinterpret_cast<LPARAM>(&found));
        if (found.error && found.error != m_lastError) {
            m_lastError = found.error;
            char text[1024] = "";
            ::GetDlgItemTextA(found.error, 0xFFFF, text, sizeof text);
            errors.push_back(std::string("Zelvane Error\n") + text);
            Press(found.error, IDOK);
        }
        HWND box = found.question;
        if (!box || box == m_lastBox)
            return;
        m_lastBox = box;
        if (owner) {
            ownerEnabled.push_back(::IsWindowEnabled(owner) != FALSE);
            CHECK(::GetWindow(box, GW_OWNER) == owner);
        }
        char text[1024] = "";
        ::GetDlgItemTextA(box, IDC_COPY_QUESTION, text, sizeof text);
        questions.push_back(text);
        QuestionAction action = m_next < m_script.size() ? m_script[m_next++] : PRESS_ESCAPE;
        switch (action) {
        case PRESS_YES: Press(box, IDC_COPY_YES); break;
        case PRESS_NO: Press(box, IDC_COPY_NO); break;
        case PRESS_YES_TO_ALL: Press(box, IDC_COPY_YES_TO_ALL); break;
        case PRESS_ESCAPE:
            // The key goes to the control with the focus, as typing does.
            ::PostMessageA(::GetDlgItem(box, IDC_COPY_YES), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            break;
        case CLOSE_BOX: ::PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); break;
        }
    }
    static void Press(HWND box, int id)
    {
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(box, id)));
    }

    static QuestionAnswerer* s_current;
    std::vector<QuestionAction> m_script;
    size_t m_next = 0;
    HWND m_lastBox = nullptr;
    HWND m_lastError = nullptr;
    UINT_PTR m_timer = 0;
};
QuestionAnswerer* QuestionAnswerer::s_current = nullptr;

class CopiedNames : public CopyListener {
public:
    void FileCopied(const std::string& fileName) override { names.push_back(fileName); }
    std::vector<std::string> names;
};

// Two directories side by side: the Source and the Master.
struct CopyFixture {
    TempDirectory from;
    TempDirectory to;
    CopiedNames copied;
    std::string Source(const std::string& name) const { return from.Path() + "\\" + name; }
    std::string Target(const std::string& name) const { return to.Path() + "\\" + name; }
    CopyRunResult Copy(const std::vector<std::string>& names)
    {
        return CopySelected(nullptr, from.Path(), to.Path(), names, &copied);
    }
};

ULONGLONG WriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return (ULONGLONG(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

void SetWriteTime(const std::string& path, ULONGLONG time)
{
    HANDLE file = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    FILETIME value = { DWORD(time), DWORD(time >> 32) };
    ::SetFileTime(file, nullptr, nullptr, &value);
    ::CloseHandle(file);
}

constexpr ULONGLONG ONE_DAY = 24ull * 3600 * 10000000;

// Writes the target one day newer than its source.
void MakeNewerTarget(CopyFixture& fixture, const std::string& name)
{
    fixture.to.Write(name, "newer " + name);
    SetWriteTime(fixture.Target(name), WriteTime(fixture.Source(name)) + ONE_DAY);
}

bool IsReadOnly(const std::string& path)
{
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

int FilesIn(const std::string& directory)
{
    WIN32_FIND_DATAA data;
    HANDLE search = ::FindFirstFileA((directory + "\\*").c_str(), &data);
    int count = 0;
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do
        count += !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    while (::FindNextFileA(search, &data));
    ::FindClose(search);
    return count;
}

class CountingProgress : public CopyProgress {
public:
    void Start(uint64_t total) override { this->total = total; }
    void BytesDone(uint64_t done) override
    {
        this->done = done;
        ++chunks;
    }
    bool IsCancelled() override { return cancelAfterChunks && chunks >= cancelAfterChunks; }
    uint64_t total = 0, done = 0;
    int chunks = 0;
    int cancelAfterChunks = 0;
};

} // namespace

TEST_CASE("copy: a newer target answered No is skipped and the next file is still copied")
{
    CopyFixture fixture;
    fixture.from.Write("a.txt", "source a");
    fixture.from.Write("b.txt", "source b");
    MakeNewerTarget(fixture, "a.txt");
    QuestionAnswerer answers({ PRESS_NO });
    CopyRunResult result = fixture.Copy({ "a.txt", "b.txt" });

    REQUIRE(answers.questions.size() == 1);
    CHECK(answers.questions[0] == "The target file (" + fixture.Target("a.txt") +
                                      ") is more recent than the source file (" + fixture.Source("a.txt") +
                                      "). Do you want to replace it anyway?");
    CHECK(ReadWholeFile(fixture.Target("a.txt")) == "newer a.txt");
    CHECK(ReadWholeFile(fixture.Target("b.txt")) == "source b");
    CHECK(fixture.copied.names == std::vector<std::string>{ "b.txt" });
    CHECK(result.copied == 1);
    CHECK(result.skipped == 1);
}

TEST_CASE("copy: the window takes no input while its files are copied, and gets it back")
{
    CopyFixture fixture;
    fixture.from.Write("a.txt", "source a");
    MakeNewerTarget(fixture, "a.txt");
    CWnd window;
    REQUIRE(window.CreateEx(0, nullptr, "directory window", WS_OVERLAPPEDWINDOW, RECT{ 0, 0, 300, 200 }, nullptr, 0));
    QuestionAnswerer answers({ PRESS_YES });
    answers.owner = window.m_hWnd;
    CopyRunResult result = CopySelected(&window, fixture.from.Path(), fixture.to.Path(), { "a.txt" }, nullptr);
    CHECK(result.copied == 1);
    CHECK(answers.ownerEnabled == std::vector<bool>{ false });
    CHECK(::IsWindowEnabled(window.m_hWnd));
    window.DestroyWindow();
}

TEST_CASE("copy: Escape and closing the question box skip that file, as No does")
{
    for (QuestionAction action : { PRESS_ESCAPE, CLOSE_BOX }) {
        CAPTURE(action);
        CopyFixture fixture;
        fixture.from.Write("a.txt", "source a");
        fixture.from.Write("b.txt", "source b");
        MakeNewerTarget(fixture, "a.txt");
        fixture.to.Write("b.txt", "old b");
        ::SetFileAttributesA(fixture.Target("b.txt").c_str(), FILE_ATTRIBUTE_READONLY);
        QuestionAnswerer answers({ action, action });
        fixture.Copy({ "a.txt", "b.txt" });

        CHECK(answers.questions.size() == 2);
        CHECK(ReadWholeFile(fixture.Target("a.txt")) == "newer a.txt");
        CHECK(ReadWholeFile(fixture.Target("b.txt")) == "old b");
        CHECK(IsReadOnly(fixture.Target("b.txt")));
        CHECK(fixture.copied.names.empty());
    }
}

TEST_CASE("copy: Yes to All stands for its own question only, for the rest of the run")
{
    CopyFixture fixture;
    for (const char* name : { "1.txt", "2.txt", "3.txt" }) {
        fixture.from.Write(name, std::string("source ") + name);
        MakeNewerTarget(fixture, name);
    }
    // 2 and 3 are read-only as well: the read-only question has its own answer.
    ::SetFileAttributesA(fixture.Target("2.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesA(fixture.Target("3.txt").c_str(), FILE_ATTRIBUTE_READONLY);

    SUBCASE("newer answered for all, read-only asked each time")
    {
        QuestionAnswerer answers({ PRESS_YES_TO_ALL, PRESS_YES, PRESS_NO });
        fixture.Copy({ "1.txt", "2.txt", "3.txt" });
        REQUIRE(answers.questions.size() == 3);
        CHECK(answers.questions[0].find("more recent") != std::string::npos);
        CHECK(answers.questions[1] == "The target file (" + fixture.Target("2.txt") +
                                          ") is read-only. Do you want to replace it anyway?");
        CHECK(answers.questions[2].find("read-only") != std::string::npos);
        CHECK(ReadWholeFile(fixture.Target("1.txt")) == "source 1.txt");
        CHECK(ReadWholeFile(fixture.Target("2.txt")) == "source 2.txt");
        CHECK(ReadWholeFile(fixture.Target("3.txt")) == "newer 3.txt");
    }
    SUBCASE("read-only answered for all, newer asked each time")
    {
        QuestionAnswerer answers({ PRESS_YES, PRESS_YES, PRESS_YES_TO_ALL, PRESS_YES });
        fixture.Copy({ "1.txt", "2.txt", "3.txt" });
        REQUIRE(answers.questions.size() == 4);
        CHECK(answers.questions[3].find("more recent") != std::string::npos);
        for (const char* name : { "1.txt", "2.txt", "3.txt" })
            CHECK(ReadWholeFile(fixture.Target(name)) == std::string("source ") + name);
    }
    CHECK(IsReadOnly(fixture.Target("2.txt")));
    CHECK(IsReadOnly(fixture.Target("3.txt")));
}

TEST_CASE("copy: the newer question reads the target's time from the disk, not from the last scan")
{
    CopyFixture fixture;
    fixture.from.Write("a.txt", "source a");
    fixture.to.Write("a.txt", "older a");
    SetWriteTime(fixture.Target("a.txt"), WriteTime(fixture.Source("a.txt")) - ONE_DAY);
    // Older when the lists were made; someone saves it now.
    MakeNewerTarget(fixture, "a.txt");
    QuestionAnswerer answers({ PRESS_NO });
    fixture.Copy({ "a.txt" });
    CHECK(answers.questions.size() == 1);
    CHECK(ReadWholeFile(fixture.Target("a.txt")) == "newer a.txt");

    // The same second on both sides is not newer.
    fixture.to.Write("a.txt", "same time");
    SetWriteTime(fixture.Target("a.txt"), WriteTime(fixture.Source("a.txt")));
    QuestionAnswerer none({});
    fixture.Copy({ "a.txt" });
    CHECK(none.questions.empty());
    CHECK(ReadWholeFile(fixture.Target("a.txt")) == "source a");
}

TEST_CASE("copy: content, the three times and a replaced read-only attribute land on disk")
{
    CopyFixture fixture;
    std::string big(3 * COPY_CHUNK + 777, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 31 + i / 4099);
    fixture.from.Write("big.bin", big);
    fixture.from.Write("empty.txt", "");
    fixture.from.Write("README", "no extension");
    fixture.from.Write("MixedCase.Txt", "case kept");
    fixture.to.Write("big.bin", "old");
    ::SetFileAttributesA(fixture.Target("big.bin").c_str(), FILE_ATTRIBUTE_READONLY);
    SetWriteTime(fixture.Source("empty.txt"), WriteTime(fixture.Source("empty.txt")) - 3 * ONE_DAY);
    // A user's own file with the temporary name is never touched.
    fixture.to.Write("orvinta.tmp", "user's file");

    QuestionAnswerer answers({ PRESS_YES });
    CopyRunResult result = fixture.Copy({ "big.bin", "empty.txt", "README", "MixedCase.Txt" });
    CHECK(answers.questions.size() == 1); // the read-only one
    CHECK(result.copied == 4);
    // Times first: reading a file moves its access time.
    for (const char* name : { "big.bin", "empty.txt", "README" }) {
        CAPTURE(name);
        WIN32_FILE_ATTRIBUTE_DATA source = {}, target = {};
        ::GetFileAttributesExA(fixture.Source(name).c_str(), GetFileExInfoStandard, &source);
        ::GetFileAttributesExA(fixture.Target(name).c_str(), GetFileExInfoStandard, &target);
        CHECK(CompareFileTime(&source.ftLastWriteTime, &target.ftLastWriteTime) == 0);
        CHECK(CompareFileTime(&source.ftCreationTime, &target.ftCreationTime) == 0);
        CHECK(CompareFileTime(&source.ftLastAccessTime, &target.ftLastAccessTime) == 0);
    }
    CHECK(ReadWholeFile(fixture.Target("big.bin")) == big);
    CHECK(IsReadOnly(fixture.Target("big.bin")));
    CHECK(ReadWholeFile(fixture.Target("empty.txt")).empty());
    CHECK(ReadWholeFile(fixture.Target("README")) == "no extension");
    CHECK(::GetFileAttributesA(fixture.Target("README.").c_str()) != INVALID_FILE_ATTRIBUTES);
    CHECK(ReadWholeFile(fixture.Target("orvinta.tmp")) == "user's file");
    CHECK(FilesIn(fixture.to.Path()) == 5);
    CHECK(fixture.copied.names == std::vector<std::string>{ "big.bin", "empty.txt", "README", "MixedCase.Txt" });

    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(fixture.Target("mixedcase.txt").c_str(), &found);
    CHECK(std::string(found.cFileName) == "MixedCase.Txt");
    ::FindClose(search);

    ::SetFileAttributesA(fixture.Target("big.bin").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_CASE("copy: a failed copy leaves the target as it was, reports message 7 and the run goes on")
{
    CopyFixture fixture;
    fixture.from.Write("locked.txt", "new content");
    fixture.from.Write("next.txt", "next");
    fixture.to.Write("locked.txt", "old content");
    ::SetFileAttributesA(fixture.Target("locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE lock = ::CreateFileA(fixture.Target("locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                0, nullptr);
    REQUIRE(lock != INVALID_HANDLE_VALUE);
    QuestionAnswerer answers({ PRESS_YES });
    CopyRunResult result = fixture.Copy({ "locked.txt", "next.txt" });
    ::CloseHandle(lock);

    CHECK(result.failed == 1);
    CHECK(result.copied == 1);
    REQUIRE(answers.errors.size() == 1);
    const std::string expected = "Zelvane Error\nError copying " + fixture.Source("locked.txt") + " to " +
                                 fixture.Target("locked.txt") + ": ";
    CHECK(answers.errors[0].substr(0, expected.size()) == expected);
    CHECK(answers.errors[0].size() > expected.size() + 5); // with the system's reason
    CHECK(ReadWholeFile(fixture.Target("locked.txt")) == "old content");
    CHECK(IsReadOnly(fixture.Target("locked.txt")));
    CHECK(FilesIn(fixture.to.Path()) == 2); // no temporary file left
    CHECK(fixture.copied.names == std::vector<std::string>{ "next.txt" });
    ::SetFileAttributesA(fixture.Target("locked.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_CASE("copy: a target directory that is gone, or a source that is gone, is reported")
{
    CopyFixture fixture;
    fixture.from.Write("a.txt", "a");
    QuestionAnswerer answers({});
    const std::string gone = fixture.to.Path() + "\\gone";
    CopiedNames copied;
    CopyRunResult result = CopySelected(nullptr, fixture.from.Path(), gone, { "a.txt" }, &copied);
    CHECK(result.failed == 1);
    CHECK(copied.names.empty());
    REQUIRE(answers.errors.size() == 1);
    CHECK(answers.errors[0].find("Error copying " + fixture.Source("a.txt") + " to " + gone + "\\a.txt: ") !=
          std::string::npos);

    result = fixture.Copy({ "missing.txt" });
    CHECK(result.failed == 1);
    CHECK(answers.errors.size() == 2);
    CHECK(FilesIn(fixture.to.Path()) == 0);
}

TEST_CASE("copy one file: cancelled between chunks, the target stays and the temporary file goes")
{
    CopyFixture fixture;
    fixture.from.Write("big.bin", std::string(3 * COPY_CHUNK, 'x'));
    fixture.to.Write("big.bin", "old");
    CountingProgress progress;
    progress.cancelAfterChunks = 1;
    CopyOutcome outcome = CopyOneFile(fixture.Source("big.bin"), fixture.Target("big.bin"), progress);
    CHECK(outcome.result == CopyResult::Cancelled);
    CHECK(progress.total == 3 * COPY_CHUNK);
    CHECK(ReadWholeFile(fixture.Target("big.bin")) == "old");
    CHECK(FilesIn(fixture.to.Path()) == 1);

    progress.cancelAfterChunks = 0;
    outcome = CopyOneFile(fixture.Source("big.bin"), fixture.Target("big.bin"), progress);
    CHECK(outcome.result == CopyResult::Copied);
    CHECK(progress.done == 3 * COPY_CHUNK);
}

TEST_CASE("copy progress dialog: the bar follows sizes past 4 GB, Cancel raises the flag and closes it")
{
    CopyProgressDialog dialog(nullptr);
    REQUIRE(dialog.m_hWnd);
    CHECK(::IsWindowVisible(dialog.m_hWnd));
    char caption[64] = "";
    ::GetWindowTextA(dialog.m_hWnd, caption, sizeof caption);
    CHECK(std::string(caption) == "Zelvane Utility");

    dialog.ShowPaths("c:\\from\\a.txt", "d:\\to\\a.txt");
    CHECK(dialog.GetDlgItemText(IDC_PROGRESS_SOURCE) == "c:\\from\\a.txt");
    const uint64_t total = 6ull << 30;
    dialog.Start(total);
    dialog.BytesDone(total / 4);
    CHECK(::SendMessageA(dialog.progressBar, PBM_GETPOS, 0, 0) == 250);
    dialog.BytesDone(total);
    CHECK(::SendMessageA(dialog.progressBar, PBM_GETPOS, 0, 0) == 1000);

    CHECK_FALSE(dialog.IsCancelled());
    HWND cancel = dialog.GetDlgItem(IDCANCEL);
    ::PostMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
    dialog.PumpMessages();
    CHECK(dialog.IsCancelled());
    CHECK(dialog.m_hWnd == nullptr);
    dialog.BytesDone(total); // after Cancel: harmless
}

TEST_CASE("copy question box: Yes to All ends it with 100")
{
    QuestionAnswerer answers({ PRESS_YES_TO_ALL });
    int answer = AskYesNoAll(nullptr, IDS_READ_ONLY_TARGET, "c:\\x.txt");
    CHECK(answer == 100);
    CHECK(answers.questions == std::vector<std::string>{
                                   "The target file (c:\\x.txt) is read-only. Do you want to replace it anyway?" });
}
