// Values that start-up reads once and every room may read afterwards.
// Portable on purpose: the engine reads the white-space mode from here without
// depending on the application or on windows.h.
#pragma once

#include <cstdint>

struct ProcessValues {
    int whiteSpaceMode = 0;          // 0 trim ends, 1 ignore runs, 2 all significant
    bool preserveHowCompare = false;
    int howCompare = 0;              // 0 timestamps and sizes, 1 contents and sizes
    uint32_t masterColor = 0x00FFFF; // COLORREF, yellow
    uint32_t sourceColor = 0xFF00FF; // COLORREF, magenta
    bool monitorChanges = false;
    bool showChangedCharacters = true; // mark the differing characters of changed rows
    unsigned driveTypes[26] = {};    // GetDriveType of A:\ .. Z:\ (index 0 = A)
};

// The single instance, filled by start-up (and later only by Preferences).
extern ProcessValues g_values;
