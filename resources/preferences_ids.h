// Ids of the Preferences dialog (121). Included from resource.h.
#pragma once

#define IDD_PREFERENCES 121

// White-space group, in mode order (0, 1, 2)
#define IDC_PREFS_WHITE_SPACE_ENDS 1034
#define IDC_PREFS_WHITE_SPACE_EVERYWHERE 1035
#define IDC_PREFS_WHITE_SPACE_ALL 1036
// How-to-compare group, in method order (0, 1), and its preserve box
#define IDC_PREFS_COMPARE_TIMESTAMPS 1041
#define IDC_PREFS_COMPARE_CONTENTS 1042
#define IDC_PREFS_PRESERVE_HOW_COMPARE 1032
// The file type filters
#define IDC_PREFS_FILE_TYPES 1037
#define IDC_PREFS_FILE_TYPE_NEW 1027
#define IDC_PREFS_FILE_TYPE_DELETE 1009
#define IDC_PREFS_FILE_TYPE_EDIT 1038
// Other options
#define IDC_PREFS_MONITOR_CHANGES 1022
#define IDC_PREFS_SOURCE_SWATCH 1023
#define IDC_PREFS_MASTER_SWATCH 1024
