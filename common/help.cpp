#include "help.h"

#include "framework/win_app.h"
#include "framework/wnd.h"

namespace {

WinHelpCall g_winHelp = ::WinHelpA;

HWND HelpOwner()
{
    CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
}

} // namespace

WinHelpCall SetWinHelpCall(WinHelpCall call)
{
    WinHelpCall previous = g_winHelp;
    g_winHelp = call ? call : ::WinHelpA;
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
    char path[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return "ORVINTA.HLP";
    return HelpFilePathFor(std::string(path, length));
}

void ShowHelpTopic(unsigned topic)
{
    g_winHelp(HelpOwner(), HelpFilePath().c_str(), HELP_CONTEXT, topic);
}

void ShowHelpContents()
{
    g_winHelp(HelpOwner(), HelpFilePath().c_str(), HELP_FINDER, 0);
}

void CloseHelp()
{
    g_winHelp(HelpOwner(), HelpFilePath().c_str(), HELP_QUIT, 0);
}
