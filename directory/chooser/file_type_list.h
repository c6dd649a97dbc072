// The list of named file type filters that the directory window owns: read
// from the registry, shown in its "Files of Type" combo, written back by the
// Preferences dialog.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "directory/core/file_types.h"

class CWinApp;

class FileTypeList {
public:
    // Position i of both arrays is filter i and item i of the combo.
    std::vector<std::string> descriptions;
    std::vector<std::string> patternLists;

    // What the window must apply after loading, read before anything is written.
    struct RememberedChoice {
        int selectedIndex = -1;  // the combo item now selected, -1 for none
        std::string patternText; // the last pattern text applied, empty for none
    };

    // Reads "FileTypes" (string 21 when missing or empty), rebuilds the arrays
    // and the combo, and selects the remembered filter. The caller then
    // applies the selected filter, and after it the remembered pattern text.
    RememberedChoice Load(CWinApp& app, HWND combo);
    // Replaces the arrays and the combo's items with the filters of the text.
    void Fill(const std::string& text, HWND combo);

    std::vector<FileTypeFilter> Filters() const;
    void SetFilters(const std::vector<FileTypeFilter>& filters);
    // The text form written as "FileTypes".
    std::string Format() const { return FormatFileTypes(Filters()); }
    size_t Count() const { return descriptions.size(); }
};
