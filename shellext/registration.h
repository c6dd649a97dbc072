// The registry entries through which the shell finds the drop handler.
#pragma once

#include <windows.h>

#include <string>

// {df3e5ac7-fc2c-4f62-99b4-5234bae93eab}
extern const CLSID CLSID_ShellExtension;

extern const char* const HANDLER_NAME;        // "ORVINTA Shell Extension"
extern const char* const DRAG_DROP_HANDLER_KEY; // under HKEY_CLASSES_ROOT
extern const char* const APPROVED_KEY;        // under HKEY_LOCAL_MACHINE

// The class identifier in braces, lower case, 38 characters.
std::string ClassIdText();

// Writes the five entries for the library at modulePath (stored lower case).
// E_FAIL when the class key cannot be made (nothing written); SELFREG_E_CLASS
// when any later write fails.
HRESULT RegisterShellExtension(const char* modulePath);
// Removes the five entries; absent ones are no error.
HRESULT UnregisterShellExtension();
