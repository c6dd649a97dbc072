// STAND-IN for the comparison window: a frame that names the two files and
// closes. It loads both files, so an unreadable file already fails its
// creation with the user's message; panes, painting and the comparison
// itself replace it later.
#pragma once

#include "framework/frame_wnd.h"

class CompareWindow : public CFrameWnd {
public:
    // Creates the window from resource 109; false when creation failed.
    bool Create();

    CString titleText;
    CString sourcePath;
    CString masterPath;
    COLORREF sourceColour = RGB(255, 0, 255);
    COLORREF masterColour = RGB(255, 255, 0);
    int comparisonResult = 0;

protected:
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    void OnFileExit();

    DECLARE_MESSAGE_MAP()
};
