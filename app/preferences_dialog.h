// PreferencesDialog (121): edits copies of every user preference. It changes
// nothing itself; RunPreferences applies what changed after OK.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/color_swatch.h"
#include "directory/core/file_types.h"
#include "framework/dialog.h"
#include "framework/list_box.h"

// The values the dialog edits, named as the registry values they become.
struct PreferenceValues {
    int whiteSpace = 0;         // WhiteSpace: index of the white-space button
    int howCompare = 0;         // HowCompare: index of the how-to-compare button
    int monitorChanges = 0;     // MonitorChanges: 1 ticked, 0 cleared
    int preserveHowCompare = 0; // PreserveHowCompare: 1 ticked, 0 cleared
    // The file type filters, parallel arrays in list order.
    std::vector<std::string> descriptions;
    std::vector<std::string> patternLists;
    COLORREF sourceColour = 0; // SourceColor
    COLORREF masterColour = 0; // MasterColor

    std::vector<FileTypeFilter> Filters() const;
    void SetFilters(const std::vector<FileTypeFilter>& filters);
};

class PreferencesDialog : public CDialog {
public:
    explicit PreferencesDialog(CWnd* owner);

    // Filled by the caller before DoModal; after OK, what the user chose.
    PreferenceValues values;

    // Whether "Monitor Directory Changes" can be switched (Windows NT only).
    bool monitoringAvailable = false;

    ColorSwatch sourceSwatch;
    ColorSwatch masterSwatch;
    CListBox fileTypeList;

    // One line of the file type list: pattern list, tab, description.
    static std::string FileTypeLine(const std::string& patternList, const std::string& description);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void OnNewFileType();
    void OnEditFileType();
    void OnDeleteFileType();
    void OnSourceSwatchDoubleClick();
    void OnMasterSwatchDoubleClick();
    void OnHelp();

    void CheckGroup(const int* ids, int count, int selected);
    // The index of the ticked button of the group, or -1 when none is.
    int CheckedIndex(const int* ids, int count) const;
    bool IsChecked(int id) const;

    DECLARE_MESSAGE_MAP()
};
