// What the Preferences dialog needs from the window whose preferences it
// changes (the directory window): the filters in force, and the ways each
// changed value is put into effect at once.
#pragma once

#include <windows.h>

#include <vector>

#include "directory/core/file_types.h"

class PreferencesTarget {
public:
    virtual ~PreferencesTarget() = default;

    // The filters in force, in the order of the "Files of Type" combo.
    virtual std::vector<FileTypeFilter> FileTypeFilters() const = 0;
    // "FileTypes" has just been written: read the list again from the
    // registry, refill the combo, re-select the remembered filter and rescan.
    virtual void LoadFileTypes() = 0;
    // The comparison method changed: pair both sides again, so every status
    // is recomputed with the new method and the lists are redrawn.
    virtual void PairEntries() = 0;
    // A highlight colour changed: that side's file list takes it and repaints.
    virtual void SetSourceHighlightColour(COLORREF colour) = 0;
    virtual void SetMasterHighlightColour(COLORREF colour) = 0;
    // Monitoring switched: the side watches its current directory, or stops
    // watching (its monitor is given an empty path).
    virtual void WatchSource(bool on) = 0;
    virtual void WatchMaster(bool on) = 0;
};
