// STAND-IN for the comparison window: a frame that loads and compares the
// two files and shows their names and the size of the result. Panes, painting,
// navigation and editing replace it later; start-up already drives it through
// the same fields and Create.
#pragma once

#include <vector>

#include "engine/diff_block.h"
#include "engine/text_buffer.h"
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

    TextBuffer sourceBuffer;
    TextBuffer masterBuffer;
    std::vector<DiffBlock> blocks;
    uint32_t totalRows = 0;

protected:
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    void OnFileExit();
    // Runs the difference algorithm under its progress dialog; false when cancelled.
    bool Compare();

    DECLARE_MESSAGE_MAP()
};
