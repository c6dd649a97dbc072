// The application object: all of ORVINTA's work happens in its start-up step,
// which always returns false so the framework's own loop never runs.
#pragma once

#include "framework/win_app.h"
#include "run_mode.h"

class DirectoryWindow;

class OrvintaApp : public CWinApp {
public:
    BOOL InitInstance() override;

    // The two modes, public so that tests can run them on chosen paths.
    void RunDirectoryMode(DirectoryWindow& window);
    // Returns false when the window could not be created or the comparison was cancelled.
    bool RunFileMode(const RunModeChoice& choice);
};
