#include "orvinta_app.h"

#include <windows.h>

#include <commctrl.h>

#include "app/command_line.h"
#include "app/preferences.h"
#include "app/settings.h"
#include "common/code_pages_win32.h"
#include "common/path_tests.h"
#include "common/phase_timing.h"
#include "common/shared_resources.h"
#include "compare_window/compare_window.h"
#include "directory/window/directory_window.h"
#include "engine/gauge.h"

namespace {

// The run-mode choice asks the real file system.
class FileSystemProbe : public PathProbe {
public:
    bool IsDirectory(const std::string& path) const override { return ::IsDirectory(path); }
    bool IsFile(const std::string& path) const override { return ::IsFile(path); }
};

// Sized by asking: in UTF-8 a path of 260 characters may take three times
// as many bytes.
std::string CurrentDirectory()
{
    DWORD size = ::GetCurrentDirectoryA(0, nullptr);
    std::string directory(size, '\0');
    DWORD length = size ? ::GetCurrentDirectoryA(size, &directory[0]) : 0;
    directory.resize(length < size ? length : 0);
    return directory;
}

} // namespace

BOOL OrvintaApp::InitInstance()
{
    phase_timing::Start();
    // Before anything reads or draws text: 8-bit files are read in the
    // user's legacy code page even when the process runs in UTF-8.
    LoadPlatformCodePages();
    // The toolbar and status bar classes live in the common controls library,
    // which registers them only once it is loaded.
    ::InitCommonControls();
    SetRegistryKey(COMPANY_KEY);
    ReadPreferences(*this, g_values);
    PHASE_MARK("preferences");

    DirectoryWindow directoryWindow;
    directoryWindow.runPreferences = RunPreferences;
    if (!Gauge::Register())
        return FALSE;

    g_shared.version.dwOSVersionInfoSize = sizeof g_shared.version;
    ::GetVersionExA(&g_shared.version);
    ReadMonitorChanges(*this, g_values, g_shared.version.dwPlatformId);

    // A letter the system does not map answers DRIVE_NO_ROOT_DIR without
    // being asked; under Wine each question is a trip to the server.
    DWORD mapped = ::GetLogicalDrives();
    if (!mapped)
        mapped = ~DWORD(0);
    for (int drive = 0; drive < 26; ++drive) {
        char root[8];
        ::wsprintfA(root, "%c:\\", 'A' + drive);
        g_values.driveTypes[drive] = (mapped >> drive & 1) ? ::GetDriveTypeA(root) : DRIVE_NO_ROOT_DIR;
    }

    LoadSharedResources();
    PHASE_MARK("resources");
    g_shared.mainDialog = &directoryWindow;

    CommandLine commandLine;
    commandLine.masterPath = GetProfileString(SECTION_DIRECTORIES, "Master", "");
    commandLine.sourcePath = GetProfileString(SECTION_DIRECTORIES, "Source", "");
    ParseCommandLine(commandLine);

    RunModeChoice choice =
        ChooseRunMode(commandLine.sourcePath, commandLine.masterPath, CurrentDirectory(), FileSystemProbe());
    directoryWindow.sourceDirectory = choice.sourceDirectory;
    directoryWindow.masterDirectory = choice.masterDirectory;

    if (choice.mode == RunMode::directory)
        RunDirectoryMode(directoryWindow);
    else
        RunFileMode(choice);
    g_shared.mainDialog = nullptr;
    return FALSE;
}

void OrvintaApp::RunDirectoryMode(DirectoryWindow& window)
{
    m_pMainWnd = &window;
    window.DoModal();
    m_pMainWnd = nullptr;
    WriteProfileString(SECTION_DIRECTORIES, "Master", window.masterDirectory.c_str());
    WriteProfileString(SECTION_DIRECTORIES, "Source", window.sourceDirectory.c_str());
}

bool OrvintaApp::RunFileMode(const RunModeChoice& choice)
{
    CompareWindow window;
    window.titleText = choice.sourcePath + " :: " + choice.masterPath;
    window.sourcePath = choice.sourcePath;
    window.masterPath = choice.masterPath;
    window.sourceColour = g_values.sourceColor;
    window.masterColour = g_values.masterColor;
    m_pMainWnd = &window;
    PHASE_MARK("file mode");
    bool created = window.Create();
    if (!created || !window.comparisonResult) {
        m_pMainWnd = nullptr;
        return false;
    }
    ::SetWindowLongPtrA(window.m_hWnd, GWL_EXSTYLE,
                        ::GetWindowLongPtrA(window.m_hWnd, GWL_EXSTYLE) | WS_EX_APPWINDOW);
    if (::IsIconic(window.m_hWnd))
        ::ShowWindow(window.m_hWnd, SW_RESTORE);
    else if (!::IsWindowVisible(window.m_hWnd))
        ::ShowWindow(window.m_hWnd, SW_SHOWNORMAL);
    ::SetForegroundWindow(window.m_hWnd);
    PHASE_MARK("window shown");
    RunWindowLoop(*this, window.m_hWnd);
    m_pMainWnd = nullptr;
    return true;
}
