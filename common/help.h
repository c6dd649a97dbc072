// Opening the help file: ORVINTA.HLP beside the program, through WinHelp,
// always owned by the main window of the moment.
#pragma once

#include <windows.h>

#include <string>

// Help topics of the dialogs and windows.
enum HelpTopic : unsigned {
    HELP_TOPIC_ABOUT = 3,
    HELP_TOPIC_COMPARE_FILES = 4,
    HELP_TOPIC_PREFERENCES = 5,
    HELP_TOPIC_FILE_TYPE = 6,
    HELP_TOPIC_DIRECTORY_WINDOW = 7,
    HELP_TOPIC_FILE_LIST = 8,
};

// The program path with its extension replaced by ".HLP" (added when it has none).
std::string HelpFilePathFor(const std::string& programPath);
// The help file of the running program.
std::string HelpFilePath();

void ShowHelpTopic(unsigned topic);
void ShowHelpContents();
// Closes the help window opened for the main window of the moment; the main
// window calls it when it closes.
void CloseHelp();

// Every help request goes through this call, WinHelpA unless a test puts a
// recorder in its place; returns the call it replaced.
using WinHelpCall = BOOL(WINAPI*)(HWND owner, LPCSTR helpFile, UINT command, ULONG_PTR data);
WinHelpCall SetWinHelpCall(WinHelpCall call);
