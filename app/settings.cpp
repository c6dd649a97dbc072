#include "settings.h"

#include <windows.h>

#include "framework/win_app.h"

void ReadPreferences(CWinApp& app, ProcessValues& values)
{
    values.whiteSpaceMode = static_cast<int>(app.GetProfileInt(SECTION_PREFERENCES, "WhiteSpace", 0));
    values.preserveHowCompare = app.GetProfileInt(SECTION_PREFERENCES, "PreserveHowCompare", 0) != 0;
    values.howCompare =
        values.preserveHowCompare ? static_cast<int>(app.GetProfileInt(SECTION_PREFERENCES, "HowCompare", 0)) : 0;
    values.masterColor = app.GetProfileInt(SECTION_PREFERENCES, "MasterColor", DEFAULT_MASTER_COLOR);
    values.sourceColor = app.GetProfileInt(SECTION_PREFERENCES, "SourceColor", DEFAULT_SOURCE_COLOR);
    values.showChangedCharacters = app.GetProfileInt(SECTION_PREFERENCES, SETTING_SHOW_CHANGED_CHARACTERS, 1) != 0;
}

void ReadMonitorChanges(CWinApp& app, ProcessValues& values, unsigned long platformId)
{
    if (platformId == VER_PLATFORM_WIN32_NT)
        values.monitorChanges = app.GetProfileInt(SECTION_PREFERENCES, "MonitorChanges", 1) != 0;
    else
        values.monitorChanges = false;
}
