// CDialog: modal and modeless dialogs from resource templates. After
// WM_INITDIALOG the dialog window is subclassed, so its messages go through the
// same message tables as every other window.
#pragma once

#include "wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr) : m_templateId(templateId), m_parent(parent) {}

    // Runs the dialog in its own loop (which still calls idle processing) and
    // returns the EndDialog result, or -1 when the dialog cannot be created.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless; false on failure.
    bool Create(UINT templateId, CWnd* parent = nullptr);
    void EndDialog(INT_PTR result);
    bool IsModalRunning() const { return m_modalRunning; }

    bool PreTranslateMessage(MSG* msg) override;

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    void CenterWindow(HWND over = nullptr);

    UINT m_templateId;
    CWnd* m_parent;

private:
    void OnOKCommand() { OnOK(); }
    void OnCancelCommand() { OnCancel(); }
    void RunModalLoop();
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    bool m_modalRunning = false;
    INT_PTR m_modalResult = -1;

    DECLARE_MESSAGE_MAP()
};

// True for messages that should restart idle processing: real input and
// state changes, not paints, caret blinks or mouse moves that did not move.
bool IsIdleMessage(const MSG& msg);
