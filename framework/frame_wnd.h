// CFrameWnd: a top-level window made from one resource id that names its menu,
// accelerator table and icon together. It lays out its toolbar and status bar,
// shows and hides them (commands 59392 and 59393), shows command prompts in the
// status bar while a menu item or toolbar button is pointed at, and supplies
// toolbar tooltips from the string table.
#pragma once

#include "wnd.h"

constexpr UINT ID_VIEW_TOOLBAR = 59392;
constexpr UINT ID_VIEW_STATUS_BAR = 59393;
constexpr UINT AFX_IDS_IDLEMESSAGE = 57345;

class CFrameWnd : public CWnd {
public:
    ~CFrameWnd() override;

    // Loads menu, accelerators and icon <resourceId> and creates the window with
    // m_title as its caption. False when creation fails (for example, when the
    // creation handler returned -1).
    bool LoadFrame(UINT resourceId, DWORD style, CWnd* parent = nullptr);
    bool PreTranslateMessage(MSG* msg) override;
    // Places the toolbar and status bar; frames with more children extend it.
    virtual void RecalcLayout();
    // The client area left between the toolbar and the status bar.
    RECT GetInnerRect() const;
    void SetMessageText(const CString& text);
    // The prompt part ("prompt\ntip") of a command's string.
    static CString CommandPrompt(UINT id);

    CString m_title;

protected:
    LRESULT OnClose(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnMenuSelect(WPARAM, LPARAM);
    LRESULT OnExitMenuLoop(WPARAM, LPARAM);
    bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnBarCheck(UINT id);
    void OnUpdateControlBarMenu(CCmdUI* state);
    void OnUpdateKeyIndicator(CCmdUI* state);
    HWND Bar(UINT id) const { return ::GetDlgItem(m_hWnd, static_cast<int>(id)); }

    HACCEL m_accelerators = nullptr;

    DECLARE_MESSAGE_MAP()
};
