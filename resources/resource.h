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
#define IDS_READ_ONLY_TARGET 5
#define IDS_READ_ONLY_UNCHANGED 6
#define IDS_OPEN_ERROR 9
#define IDS_MASTER_LINE 10
#define IDS_SOURCE_LINE 11
#define IDS_WRITE_ERROR 12
#define IDS_SAVE_CHANGES 13
#define IDS_DEFAULT_FILE_TYPES 21
// The comparison window's encoding indicators (the text sizes the pane)
#define IDS_SOURCE_ENCODING 900
#define IDS_MASTER_ENCODING 901

// Controls of the comparison progress dialog
#define IDC_PROGRESS_SOURCE 1019
#define IDC_PROGRESS_MASTER 1020
#define IDC_PROGRESS_GAUGE 1029

// Controls of the directory window
#define IDC_SOURCE_DIRECTORY 1004
#define IDC_MASTER_DIRECTORY 1006

// Copying files: the question box (111) and the progress dialog (106), which
// shows its paths and bar in 1019, 1020 and 1029 as the comparison progress does
#define IDD_COPY_PROGRESS 106
#define IDD_COPY_CONFIRM 111
#define IDS_NEWER_TARGET 4
#define IDS_COPY_ERROR 7
#define IDC_COPY_QUESTION 1024
#define IDC_COPY_YES 1025
#define IDC_COPY_NO 1026
#define IDC_COPY_YES_TO_ALL 1027

// The file lists' menus (108) and their commands; the rename messages
#define IDM_FILE_LIST 108
#define ID_FILE_LIST_COMPARE 105
#define ID_FILE_LIST_COPY 40006
#define ID_FILE_LIST_DELETE 40007
#define ID_FILE_LIST_RENAME 40008
#define ID_FILE_LIST_HELP 40009
#define ID_FILE_LIST_HELP_TOPICS 40010
#define IDS_RENAME_REFUSED 800
#define IDS_RENAME_FAILED 801
#define IDS_NAME_UNREADABLE 802

// Commands of the comparison window. The framework's own commands and
// indicators (59392, 59393, 59137, 59138, 59140, 57345) are numbers in the
// script, since the framework declares them as constants.
#define ID_HELP_TOPICS 40003
#define ID_FILE_EXIT 40004
#define ID_EDIT_DELETE 40010
#define ID_NEXT_DIFFERENCE 40013
#define ID_PREVIOUS_DIFFERENCE 40014
#define ID_PRINT_DIFFERENCES 40016
#define ID_SELECT_DIFFERENCE 40018
#define ID_SAVE_SOURCE 40019
#define ID_SAVE_MASTER 40021
#define ID_APP_ABOUT 40022
#define ID_COPY_SOURCE_DIFFERENCE 40023
#define ID_COPY_MASTER_DIFFERENCE 40024
#define ID_VIEW_CHANGED_CHARACTERS 40031
#define ID_FILE_PRINT 57607
#define ID_EDIT_COPY 57634
#define ID_EDIT_CUT 57635
#define ID_EDIT_PASTE 57637
#define ID_EDIT_UNDO 57643
#define ID_EDIT_REDO 57644

#include "directory_ids.h"
// The About box, help, the "File Type Filter" dialog and the directory chooser
#define IDD_ABOUT 101
#define IDD_FILE_TYPE 120
#define IDS_ABOUT_TEXT 14
#define IDC_HELP_BUTTON 1010
#define IDC_ABOUT_TEXT 1028
#define IDC_FILE_TYPE_DESCRIPTION 1039
#define IDC_FILE_TYPE_PATTERNS 1040

// Printing: the progress dialog, its controls and its strings
#define IDD_PRINT_PROGRESS 113
#define IDC_PRINT_FILE 1029
#define IDC_PRINT_BAR 1030
#define IDC_PRINT_PAGE 1031
#define IDS_PRINT_PAGE_FORMAT 24
#define IDS_PRINT_FILE_FORMAT 25
#define IDS_PRINT_NO_ROOM 700
#define IDS_PRINT_START_ERROR 701
#define IDS_PRINT_PAGE_ERROR 702
#define IDS_PRINT_END_ERROR 703

// The Preferences dialog
#include "preferences_ids.h"

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
