// The Preferences command: the dialog on copies of the values in force, and
// after OK each changed value stored, written and put into effect at once.
#pragma once

#include "app/preferences_dialog.h"
#include "directory/window/preferences_target.h"
#include "common/process_values.h"

class CWinApp;
class CWnd;

// The dialog's starting values: the process-wide values and the target's filters.
PreferenceValues CurrentPreferences(const ProcessValues& inForce, const PreferencesTarget& target);

// Applies, in order, each value that differs from the one in force: white
// space, file types, how-to-compare, its preserve flag, Source colour, Master
// colour, monitoring (Source first). Nothing changed, nothing written.
void ApplyPreferences(const PreferenceValues& chosen, ProcessValues& inForce, PreferencesTarget& target,
                      CWinApp& app);

// Runs the dialog owned by the window; Cancel changes nothing. Returns the
// dialog's result.
INT_PTR RunPreferences(CWnd* owner, PreferencesTarget& target);
