// Opening help, always owned by the main window of the moment: ORVINTA.CHM
// beside the program through HTML Help where both are there (Windows 98 and
// later, where Vista and later have no WinHelp viewer), otherwise ORVINTA.HLP
// through WinHelp (Windows 95 and NT 4).
#pragma once

#include <windows.h>

#include <string>

#include "common/help_pages.h"

// The program path with its extension replaced by ".HLP" (added when it has none).
std::string HelpFilePathFor(const std::string& programPath);
// The help files of the running program: ORVINTA.HLP and ORVINTA.CHM.
std::string HelpFilePath();
std::string HtmlHelpFilePath();

void ShowHelpTopic(unsigned topic);
void ShowHelpContents();
// Closes the help window opened for the main window of the moment; the main
// window calls it when it closes.
void CloseHelp();

// Every WinHelp request goes through this call, WinHelpA unless a test puts a
// recorder in its place; returns the call it replaced.
using WinHelpCall = BOOL(WINAPI*)(HWND owner, LPCSTR helpFile, UINT command, ULONG_PTR data);
WinHelpCall SetWinHelpCall(WinHelpCall call);

// Likewise every HTML Help request: HtmlHelpA of hhctrl.ocx, loaded when first
// needed, unless a test puts a recorder in its place (null restores it).
using HtmlHelpCall = HWND(WINAPI*)(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);
HtmlHelpCall SetHtmlHelpCall(HtmlHelpCall call);
