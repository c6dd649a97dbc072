#include "preferences.h"

#include "common/settings_names.h"
#include "common/shared_resources.h"
#include "framework/win_app.h"

PreferenceValues CurrentPreferences(const ProcessValues& inForce, const PreferencesTarget& target)
{
    PreferenceValues values;
    values.whiteSpace = inForce.whiteSpaceMode;
    values.SetFilters(target.FileTypeFilters());
    values.howCompare = inForce.howCompare;
    values.monitorChanges = inForce.monitorChanges ? 1 : 0;
    values.preserveHowCompare = inForce.preserveHowCompare ? 1 : 0;
    values.sourceColour = inForce.sourceColor;
    values.masterColour = inForce.masterColor;
    return values;
}

void ApplyPreferences(const PreferenceValues& chosen, ProcessValues& inForce, PreferencesTarget& target,
                      CWinApp& app)
{
    // The new mode applies to the next comparison of two files; nothing is compared again.
    if (chosen.whiteSpace != inForce.whiteSpaceMode) {
        inForce.whiteSpaceMode = chosen.whiteSpace;
        app.WriteProfileInt(SECTION_PREFERENCES, "WhiteSpace", chosen.whiteSpace);
    }

    // Compared exactly, case and order included. The window reads the list
    // back from the registry, so it shows what the next run will show.
    std::vector<FileTypeFilter> filters = chosen.Filters();
    std::vector<FileTypeFilter> filtersInForce = target.FileTypeFilters();
    bool filtersChanged = filters.size() != filtersInForce.size();
    for (size_t i = 0; !filtersChanged && i < filters.size(); ++i)
        filtersChanged = filters[i].patternList != filtersInForce[i].patternList ||
                         filters[i].description != filtersInForce[i].description;
    if (filtersChanged) {
        app.WriteProfileString(SECTION_PREFERENCES, "FileTypes", FormatFileTypes(filters).c_str());
        target.LoadFileTypes();
    }

    if (chosen.howCompare != inForce.howCompare) {
        inForce.howCompare = chosen.howCompare;
        app.WriteProfileInt(SECTION_PREFERENCES, "HowCompare", chosen.howCompare);
        target.PairEntries();
    }

    const bool preserve = chosen.preserveHowCompare != 0;
    if (preserve != inForce.preserveHowCompare) {
        inForce.preserveHowCompare = preserve;
        app.WriteProfileInt(SECTION_PREFERENCES, "PreserveHowCompare", preserve ? 1 : 0);
        // "HowCompare" may still hold a method from a run that did not
        // preserve it; the next start must find the method in force now.
        if (preserve)
            app.WriteProfileInt(SECTION_PREFERENCES, "HowCompare", inForce.howCompare);
    }

    if (chosen.sourceColour != inForce.sourceColor) {
        inForce.sourceColor = chosen.sourceColour;
        app.WriteProfileInt(SECTION_PREFERENCES, "SourceColor", static_cast<int>(chosen.sourceColour));
        target.SetSourceHighlightColour(chosen.sourceColour);
    }
    if (chosen.masterColour != inForce.masterColor) {
        inForce.masterColor = chosen.masterColour;
        app.WriteProfileInt(SECTION_PREFERENCES, "MasterColor", static_cast<int>(chosen.masterColour));
        target.SetMasterHighlightColour(chosen.masterColour);
    }

    const bool monitor = chosen.monitorChanges != 0;
    if (monitor != inForce.monitorChanges) {
        inForce.monitorChanges = monitor;
        app.WriteProfileInt(SECTION_PREFERENCES, "MonitorChanges", monitor ? 1 : 0);
        target.WatchSource(monitor);
        target.WatchMaster(monitor);
    }
}

INT_PTR RunPreferences(CWnd* owner, PreferencesTarget& target)
{
    PreferencesDialog dialog(owner);
    dialog.values = CurrentPreferences(g_values, target);
    dialog.monitoringAvailable = g_shared.version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    INT_PTR result = dialog.DoModal();
    if (result == IDOK)
        ApplyPreferences(dialog.values, g_values, target, *AfxGetApp());
    return result;
}
