#include "help.h"

// Only for its constants: HtmlHelpA is looked up at run time, so the program
// still starts where the control is missing.
#include <htmlhelp.h>

#include "framework/win_app.h"
#include "framework/wnd.h"

namespace {

WinHelpCall g_winHelp = ::WinHelpA;
HtmlHelpCall g_htmlHelp = nullptr;
// Set once an HTML Help window has been asked for, so that closing a main
// window that never showed help does not load the control.
bool g_htmlHelpShown = false;

HWND HelpOwner()
{
    CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
}

std::string ProgramPath()
{
    char path[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return "ORVINTA.EXE";
    return std::string(path, length);
}

bool FileExists(const std::string& path)
{
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The control stays loaded for the life of the process: its windows outlive any call.
HtmlHelpCall LoadedHtmlHelp()
{
    static HtmlHelpCall loaded = [] {
        HMODULE control = ::LoadLibraryA("hhctrl.ocx");
        return control ? reinterpret_cast<HtmlHelpCall>(
                             reinterpret_cast<void*>(::GetProcAddress(control, "HtmlHelpA")))
                       : nullptr;
    }();
    return loaded;
}

// HTML Help when ORVINTA.CHM and the control are both there; null for WinHelp.
HtmlHelpCall HtmlHelpToUse()
{
    if (!FileExists(HtmlHelpFilePath()))
        return nullptr;
    return g_htmlHelp ? g_htmlHelp : LoadedHtmlHelp();
}

} // namespace

WinHelpCall SetWinHelpCall(WinHelpCall call)
{
    WinHelpCall previous = g_winHelp;
    g_winHelp = call ? call : ::WinHelpA;
    return previous;
}

HtmlHelpCall SetHtmlHelpCall(HtmlHelpCall call)
{
    HtmlHelpCall previous = g_htmlHelp;
    g_htmlHelp = call;
    return previous;
}

std::string HelpFilePathFor(const std::string& programPath)
{
    // Only a dot inside the file name starts its extension, not one in a directory name.
    size_t nameStart = programPath.find_last_of("\\/:");
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    size_t dot = programPath.rfind('.');
    std::string path = programPath;
    if (dot != std::string::npos && dot >= nameStart)
        path.erase(dot);
    return path + ".HLP";
}

std::string HelpFilePath()
{
    return HelpFilePathFor(ProgramPath());
}

std::string HtmlHelpFilePath()
{
    std::string path = HelpFilePath();
    return path.replace(path.size() - 3, 3, "CHM");
}

void ShowHelpTopic(unsigned topic)
{
    const char* page = HelpPageFor(topic);
    HtmlHelpCall htmlHelp = page ? HtmlHelpToUse() : nullptr;
    if (htmlHelp) {
        g_htmlHelpShown = true;
        htmlHelp(HelpOwner(), (HtmlHelpFilePath() + "::/" + page).c_str(), HH_DISPLAY_TOPIC, 0);
        return;
    }
    g_winHelp(HelpOwner(), HelpFilePath().c_str(), HELP_CONTEXT, topic);
}

void ShowHelpContents()
{
    if (HtmlHelpCall htmlHelp = HtmlHelpToUse()) {
        g_htmlHelpShown = true;
        htmlHelp(HelpOwner(), HtmlHelpFilePath().c_str(), HH_DISPLAY_TOC, 0);
        return;
    }
    g_winHelp(HelpOwner(), HelpFilePath().c_str(), HELP_FINDER, 0);
}

void CloseHelp()
{
    if (g_htmlHelpShown) {
        g_htmlHelpShown = false;
        if (HtmlHelpCall htmlHelp = g_htmlHelp ? g_htmlHelp : LoadedHtmlHelp())
            htmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
        return;
    }
    g_winHelp(HelpOwner(), HelpFilePath().c_str(), HELP_QUIT, 0);
}
