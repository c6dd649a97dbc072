// Where ORVINTA keeps its settings: HKCU\Software\Brindlecote Software\ORVINTA,
// sections Preferences, Directories and Position.
#pragma once

#include "common/process_values.h"
#include "common/settings_names.h"

class CWinApp;

constexpr unsigned DEFAULT_MASTER_COLOR = 0x00FFFF; // yellow
constexpr unsigned DEFAULT_SOURCE_COLOR = 0xFF00FF; // magenta

// Reads WhiteSpace, PreserveHowCompare, HowCompare (only when preserved),
// MasterColor, SourceColor and ShowChangedCharacters.
void ReadPreferences(CWinApp& app, ProcessValues& values);
// MonitorChanges is read only on Windows NT; elsewhere monitoring stays off.
void ReadMonitorChanges(CWinApp& app, ProcessValues& values, unsigned long platformId);
