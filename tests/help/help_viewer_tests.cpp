// The built help file in the real viewer: WinHelp with each context number the
// program uses must show that number's topic, and HELP_FINDER the contents.
// Runs under Wine with winhlp32 allowed (tests/help/with-winhelp.sh); reads the
// topic's text from the viewer's text window.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

const char kViewerClass[] = "MS_WINHELP";

std::string HelpFile()
{
    char path[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string file(path, length);
    return file.substr(0, file.find_last_of('\\') + 1) + "ORVINTA.HLP";
}

struct WindowSearch {
    DWORD process = 0;
    HWND viewer = nullptr;
    DWORD viewerProcess = 0;
    std::vector<std::pair<HWND, DWORD>> dialogs;
    std::vector<HWND> messageBoxes;  // the viewer's own dialogs
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == search->process)
        return TRUE;
    char name[64] = "";
    ::GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, kViewerClass) == 0) {
        // The viewer may show a message before its own window.
        search->viewerProcess = process;
        if (::IsWindowVisible(window))
            search->viewer = window;
    } else if (lstrcmpA(name, "#32770") == 0 && ::IsWindowVisible(window)) {
        search->dialogs.emplace_back(window, process);
    }
    return TRUE;
}

WindowSearch FindViewerWindows()
{
    WindowSearch search;
    search.process = ::GetCurrentProcessId();
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    for (const auto& dialog : search.dialogs)
        if (search.viewerProcess && dialog.second == search.viewerProcess)
            search.messageBoxes.push_back(dialog.first);
    return search;
}

std::string WindowText(HWND window)
{
    std::vector<char> text(65536);
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                               SMTO_ABORTIFHUNG, 5000, &length))
        return std::string();
    return std::string(text.data(), length < text.size() ? length : 0);
}

BOOL CALLBACK FindTopicWindow(HWND window, LPARAM data)
{
    char name[64] = "";
    ::GetClassNameA(window, name, sizeof name);
    if (_strnicmp(name, "RichEdit", 8) == 0) {
        *reinterpret_cast<HWND*>(data) = window;
        return FALSE;
    }
    return TRUE;
}

// The text of the topic the viewer shows, or "" while it shows none.
std::string TopicText(HWND viewer)
{
    HWND text = nullptr;
    ::EnumChildWindows(viewer, FindTopicWindow, reinterpret_cast<LPARAM>(&text));
    return text ? WindowText(text) : std::string();
}

std::string FirstLine(const std::string& text)
{
    return text.substr(0, text.find_first_of("\r\n"));
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM data)
{
    char name[16] = "";
    ::GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Static") == 0)
        *reinterpret_cast<std::string*>(data) += WindowText(child) + " ";
    return TRUE;
}

void Pump()
{
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// Polls (bounded) until the viewer shows a topic whose text satisfies done;
// fails with what the viewer showed instead, closing any message box it opened.
template <typename Done>
std::string WaitForTopic(Done done)
{
    std::string last;
    for (int i = 0; i < 600; ++i) {  // up to 60 s: the first start of winhlp32 is slow
        Pump();
        WindowSearch found = FindViewerWindows();
        for (HWND box : found.messageBoxes) {
            std::string boxText;
            ::EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&boxText));
            ::PostMessageA(box, WM_CLOSE, 0, 0);
            FAIL("the help viewer showed a message: " << boxText);
        }
        if (found.viewer) {
            last = TopicText(found.viewer);
            if (done(last))
                return last;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
    FAIL("the help viewer did not show the topic; it showed: [" << last << "]");
    return last;
}

void QuitViewer(HWND owner, const std::string& file)
{
    ::WinHelpA(owner, file.c_str(), HELP_QUIT, 0);
    for (int i = 0; i < 300 && FindViewerWindows().viewer; ++i) {
        Pump();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
    CHECK_MESSAGE(!FindViewerWindows().viewer, "the help viewer stayed open after HELP_QUIT");
}

struct Owner {
    HWND window = ::CreateWindowA("STATIC", "help owner", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                  nullptr, nullptr, nullptr);
    ~Owner() { ::DestroyWindow(window); }
};

} // namespace

TEST_CASE("every context number the program uses opens its own topic in the viewer")
{
    const std::string file = HelpFile();
    REQUIRE_MESSAGE(::GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES, file);
    Owner owner;
    // The numbers of common/help.h and the titles of their topics in help/orvinta.but.
    const struct { unsigned number; const char* title; } topics[] = {
        {3, "The About box"},
        {4, "The Compare Files dialog"},
        {5, "Preferences"},
        {6, "The File Type Filter dialog"},
        {7, "The directory window"},
        {8, "The file list menu"},
    };
    // In an order unlike the file's, so that each request must move the viewer.
    for (unsigned index : {4u, 0u, 2u, 5u, 1u, 3u}) {
        CAPTURE(topics[index].number);
        REQUIRE(::WinHelpA(owner.window, file.c_str(), HELP_CONTEXT, topics[index].number));
        const std::string title = std::string(": ") + topics[index].title;
        std::string text = WaitForTopic([&](const std::string& shown) {
            return EndsWith(FirstLine(shown), title);
        });
        CHECK(text.size() > FirstLine(text).size() + 40);  // the topic's body came with its title
    }
    QuitViewer(owner.window, file);
}

TEST_CASE("HELP_FINDER opens the contents, which list the topics")
{
    const std::string file = HelpFile();
    Owner owner;
    REQUIRE(::WinHelpA(owner.window, file.c_str(), HELP_FINDER, 0));
    std::string text = WaitForTopic([](const std::string& shown) {
        return FirstLine(shown) == "Zelvane Help";
    });
    for (const char* title : {"The directory window", "The comparison window", "Preferences",
                              "The About box", "Troubleshooting"})
        CHECK_MESSAGE(text.find(title) != std::string::npos, title);
    QuitViewer(owner.window, file);
}

namespace {

struct ProgramWindowSearch {
    DWORD process;
    const char* captionStart;
    HWND found = nullptr;
};

BOOL CALLBACK FindProgramWindow(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<ProgramWindowSearch*>(data);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    char caption[512] = "";
    ::GetWindowTextA(window, caption, sizeof caption);
    if (process == search->process && ::IsWindowVisible(window) &&
        strncmp(caption, search->captionStart, strlen(search->captionStart)) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForProgramWindow(DWORD process, const char* captionStart)
{
    for (int i = 0; i < 600; ++i) {
        Pump();
        ProgramWindowSearch search{process, captionStart};
        ::EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
    return nullptr;
}

std::string WriteTempFile(const char* name, const char* text)
{
    char directory[MAX_PATH];
    ::GetTempPathA(sizeof directory, directory);
    std::string path = std::string(directory) + name;
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    ::CloseHandle(file);
    return path;
}

} // namespace

TEST_CASE("ORVINTA's own help commands reach the help file beside it")
{
    // The WinHelp way: a copy of the program with ORVINTA.HLP and no ORVINTA.CHM,
    // as on Windows 95 and NT 4 (beside a CHM it would take HTML Help).
    const std::string built = HelpFile().substr(0, HelpFile().size() - 4);
    char temp[MAX_PATH] = "";
    ::GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "zelvane_winhelp";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string copy = folder + "\\ORVINTA";
    for (const char* extension : { ".EXE", ".HLP", ".CNT" })
        REQUIRE(::CopyFileA((built + extension).c_str(), (copy + extension).c_str(), FALSE));
    const std::string file = copy + ".HLP";
    const std::string program = copy + ".EXE";
    const std::string source = WriteTempFile("help_source.txt", "one\ntwo\n");
    const std::string master = WriteTempFile("help_master.txt", "one\nthree\n");
    std::string commandLine = "\"" + program + "\" \"" + source + "\" \"" + master + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    REQUIRE(::CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &started));
    HWND window = WaitForProgramWindow(started.dwProcessId, "Zelvane - ");
    REQUIRE_MESSAGE(window, "the comparison window did not open");

    // Help Topics of the comparison window: the contents.
    ::PostMessageA(window, WM_COMMAND, 40003, 0);
    WaitForTopic([](const std::string& shown) { return FirstLine(shown) == "Zelvane Help"; });

    // The About box's Help button: topic 3.
    ::PostMessageA(window, WM_COMMAND, 40022, 0);
    HWND about = WaitForProgramWindow(started.dwProcessId, "About Zelvane");
    REQUIRE_MESSAGE(about, "the About box did not open");
    ::PostMessageA(about, WM_COMMAND, MAKEWPARAM(1010, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(about, 1010)));
    WaitForTopic([](const std::string& shown) { return EndsWith(FirstLine(shown), ": The About box"); });

    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    CHECK(::WaitForSingleObject(started.hProcess, 60000) == WAIT_OBJECT_0);
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    Owner owner;
    QuitViewer(owner.window, file);
    ::DeleteFileA(source.c_str());
    ::DeleteFileA(master.c_str());
    for (const char* extension : { ".EXE", ".HLP", ".CNT", ".GID" })
        ::DeleteFileA((copy + extension).c_str());
    ::RemoveDirectoryA(folder.c_str());
}
