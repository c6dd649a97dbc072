// The Win32 half of the process-wide values: the objects that start-up loads once: bitmaps, icons,
// cursors, the platform version and the main dialog.
#pragma once

#include <windows.h>

#include "framework/gdi_object.h"

class CDialog;

struct SharedResources {
    OSVERSIONINFOA version = {};
    HICON programIcon = nullptr;      // 32 x 32
    HICON programIconSmall = nullptr; // 16 x 16
    HCURSOR dragOneCursor = nullptr;
    HCURSOR dragManyCursor = nullptr;
    HCURSOR noDropCursor = nullptr;
    HCURSOR arrowCursor = nullptr;
    CDialog* mainDialog = nullptr;
};

extern SharedResources g_shared;
extern CBitmap g_statusBitmap;
extern CBitmap g_markBitmap;

// Loads the two bitmaps, the two icons and the four cursors.
void LoadSharedResources();
