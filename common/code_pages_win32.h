// The code pages of the platform: the process's own (UTF-8 where the manifest
// took effect, else the ANSI code page) and the user's legacy 8-bit one,
// which 8-bit files are read in even when the process runs in UTF-8.
#pragma once

#include <string>
#include <string_view>

// Fills g_codePages from the system, once at start-up (and in test mains).
void LoadPlatformCodePages();

// The code page 8-bit files are read in: the user's locale's ANSI code page.
unsigned LegacyCodePage();

// A name or other text in the process's code page as UTF-16, for the wide
// drawing calls: the narrow ones read their bytes in the legacy code page
// even in a UTF-8 process.
std::wstring ProcessTextToWide(std::string_view text);
