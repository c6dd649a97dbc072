// The common dialogs, loaded on first use: importing comdlg32 costs every
// start of the program about 20 ms under Wine, and most runs never open one.
// Each call behaves as the system's; when the library cannot be loaded it
// returns FALSE as a cancelled dialog would.
#pragma once

#include <windows.h>

#include <commdlg.h>

BOOL CommonChooseColor(CHOOSECOLORA* choice);
BOOL CommonGetOpenFileName(OPENFILENAMEA* request);
BOOL CommonPrintDlg(PRINTDLGA* dialog);
