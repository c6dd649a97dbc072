// CompareWindow: the frame that shows one Source file and one Master file side
// by side. It owns the toolbar, status bar, the two panes with their captions
// and the shared vertical scroll bar; it runs the comparison once, while it is
// created, and routes commands to the pane that has the focus.
#pragma once

#include <vector>

#include "compare_window/change_marks.h"
#include "compare_window/text_pane.h"
#include "engine/diff_block.h"
#include "framework/frame_wnd.h"
#include "framework/scroll_bar.h"
#include "framework/status_bar.h"
#include "framework/tool_bar.h"

class CompareWindow : public CFrameWnd {
public:
    CompareWindow();
    // Destroys the window before its panes go, so no message reaches a dead pane.
    ~CompareWindow() override;

    // Creates the window from resource 109 with WS_OVERLAPPEDWINDOW; false when
    // creation failed (a file could not be loaded, a child could not be made).
    // The directory window passes itself as the owner.
    bool Create(CWnd* owner = nullptr);

    // Brings a row to the top of both panes (SB_* code, thumb position).
    void ScrollToRow(int code, int position);
    // The first block with firstRow <= row < firstRow + height, or nullptr.
    const DiffBlock* FindBlockAtRow(int row) const;
    static int BlockHeight(const DiffBlock& block);
    // Message boxes owned by this window, texts from the string table.
    void ShowErrorMessage(UINT stringId, ...);
    int AskQuestion(UINT stringId, UINT style, ...);
    // Asks whether to save a modified pane; false means "stop" (Cancel).
    bool QuerySavePane(TextPane& pane, bool systemModal);
    // The encoding indicators: "S " and "M " with each file's encoding name.
    void ShowEncodings();
    // Sets the text of a status-bar indicator and redraws it at once.
    void SetIndicatorText(int index, const CString& text);
    void RecalcLayout() override;
    // Whole rows that both panes show: the page of the shared scroll bar.
    int PageRows() const;
    // The rows the shared scroll bar reaches: the comparison's, or more where
    // an edit made a pane longer.
    int ScrollRows() const;
    void UpdateScrollRange();

    // Set by the creator before Create.
    CString titleText;
    CString sourcePath;
    CString masterPath;
    COLORREF sourceColour = RGB(255, 0, 255);
    COLORREF masterColour = RGB(255, 255, 0);

    TextPane sourcePane;
    TextPane masterPane;
    PaneCaption sourceCaption;
    PaneCaption masterCaption;
    CScrollBar scrollBar;
    CToolBar toolBar;
    CStatusBar statusBar;
    std::vector<DiffBlock> blocks;
    // What the panes and the printed pages mark inside changed rows.
    ChangeMarks changeMarks{ sourcePane.buffer, masterPane.buffer, blocks };
    int topRow = 0;
    int totalRows = 0;
    int scrollRangeRows = -1;
    int rowHeight = 0;
    TextPane* activePane = nullptr;
    int comparisonResult = 0;
    int insertMode = 1;

    // Navigation (compare_navigation.cpp).
    void NextDifference();
    void PreviousDifference();
    void SelectDifference();
    const DiffBlock* NextDifferenceBlock() const;
    const DiffBlock* PreviousDifferenceBlock() const;

protected:
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnSetFocus(WPARAM, LPARAM);
    LRESULT OnClose(WPARAM, LPARAM);
    LRESULT OnQueryEndSession(WPARAM, LPARAM);
    LRESULT OnVScroll(WPARAM, LPARAM);

    // Runs the difference algorithm under its progress dialog; false when cancelled.
    bool Compare();
    // Writes a pane's file, asking first about a read-only file; reports failures.
    bool SavePane(TextPane& pane);
    void SaveIfModified(TextPane& pane);
    // Copies a difference block from the pane with the focus into the other pane,
    // as one undoable edit of the receiving pane (compare_editing.cpp).
    void MergeBlock(const DiffBlock& block);
    // The difference block under the giving pane's caret, when that pane has the focus.
    const DiffBlock* MergeableBlock(const TextPane& giving) const;

    void OnSaveSource();
    void OnSaveMaster();
    void OnUpdateSaveSource(CCmdUI* state);
    void OnUpdateSaveMaster(CCmdUI* state);
    void OnPrint();
    void OnPrintDifferences();
    void OnUpdatePrintDifferences(CCmdUI* state);
    void OnExit();
    void OnNextDifference();
    void OnUpdateNextDifference(CCmdUI* state);
    void OnPreviousDifference();
    void OnUpdatePreviousDifference(CCmdUI* state);
    void OnSelectDifference();
    void OnUpdateSelectDifference(CCmdUI* state);
    void OnUndo();
    void OnUpdateUndo(CCmdUI* state);
    void OnRedo();
    void OnUpdateRedo(CCmdUI* state);
    void OnCut();
    void OnCopy();
    void OnPaste();
    void OnDelete();
    void OnUpdateNeedsSelection(CCmdUI* state);
    void OnUpdatePaste(CCmdUI* state);
    void OnCopySourceDifference();
    void OnUpdateCopySourceDifference(CCmdUI* state);
    void OnCopyMasterDifference();
    void OnUpdateCopyMasterDifference(CCmdUI* state);
    void OnHelpTopics();
    void OnAbout();
    void OnUpdateOverwrite(CCmdUI* state);
    // View commands (compare_view.cpp).
    void OnShowChangedCharacters();
    void OnUpdateShowChangedCharacters(CCmdUI* state);

private:
    // Held while the window is created, so the children are placed once.
    bool m_holdLayout = false;
    // What the last layout was made for: the client area and the bars shown.
    RECT m_laidOutClient = { 0, 0, -1, -1 };
    int m_laidOutBars = -1;

    DECLARE_MESSAGE_MAP()
};
