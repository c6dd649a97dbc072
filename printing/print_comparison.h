// The Print and Print Differences commands: the system's Print dialog,
// proposing landscape pages, then the job on the chosen printer.
#pragma once

#include <windows.h>

#include "printing/print_job.h"

class CWnd;

// Shows the Print dialog owned by the window with the default printer's own
// device mode turned to landscape; returns the chosen printer's device
// context, or null when the user cancelled.
HDC AskForPrinter(HWND owner);

// Prints the content in full or its differences only; a failure that is not
// the user's Cancel is reported in a message box owned by the window.
void PrintComparison(CWnd* owner, const PrintContent& content, bool differencesOnly);

// Tells the user why a job did not print; silent for a printed or cancelled one.
void ReportPrintResult(HWND owner, const PrintResult& result, const CString& titleText);
