// Fixed resource, control and command ids. Shared by the .rc script and the code,
// so it holds nothing but #defines.
#pragma once

// Dialogs
#define IDD_COMPARE_PROGRESS 116
#define IDD_DIRECTORY_WINDOW 119

// Frame resources (menu, accelerators, icon)
#define IDR_COMPARE_WINDOW 109

// Pictures
#define IDB_MARK 105
#define IDI_PROGRAM 107
#define IDB_TOOLBAR 110
#define IDB_STATUS 576
#define IDC_DRAG_ONE 2
#define IDC_DRAG_MANY 3
#define IDC_NO_DROP 1026

// Strings
#define IDS_ZELVANE 1
#define IDS_ERROR_CAPTION 3
#define IDS_OPEN_ERROR 9
#define IDS_DEFAULT_FILE_TYPES 21

// Controls of the comparison progress dialog
#define IDC_PROGRESS_SOURCE 1019
#define IDC_PROGRESS_MASTER 1020
#define IDC_PROGRESS_GAUGE 1029

// Controls of the directory window
#define IDC_SOURCE_DIRECTORY 1004
#define IDC_MASTER_DIRECTORY 1006

// Commands of the comparison window
#define ID_FILE_EXIT 40004

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
