// Message boxes whose text is a string-table format, filled with wvsprintf
// into 1024 bytes, and whose caption is another string-table entry.
#pragma once

#include <cstdarg>
#include <windows.h>

#include "cstring.h"

CString AfxLoadString(UINT id);
int ResourceMessageBoxV(HWND owner, UINT textId, UINT captionId, UINT style, va_list args);
int ResourceMessageBox(HWND owner, UINT textId, UINT captionId, UINT style, ...);
