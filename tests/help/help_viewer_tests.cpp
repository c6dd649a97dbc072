// The built help file in the real viewer: WinHelp with each context number the
// program uses must show that number's topic, and HELP_FINDER the contents.
// Runs under Wine with winhlp32 allowed (tests/help/with-winhelp.sh); reads the
// topic's text from the viewer's text window.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include <windows.h>

#include <string>
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
    std::vector<HWND> messageBoxes;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == search->process || !::IsWindowVisible(window))
        return TRUE;
    char name[64] = "";
    ::GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, kViewerClass) == 0)
        search->viewer = window;
    else if (lstrcmpA(name, "#32770") == 0)
        search->messageBoxes.push_back(window);
    return TRUE;
}

WindowSearch FindViewerWindows()
{
    WindowSearch search;
    search.process = ::GetCurrentProcessId();
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
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
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
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
