// CFrameWnd: a top-level window made from one resource id that names its menu,
// accelerator table and icon together.
#pragma once

#include "wnd.h"

class CFrameWnd : public CWnd {
public:
    ~CFrameWnd() override;

    // Loads menu, accelerators and icon <resourceId> and creates the window with
    // m_title as its caption. False when creation fails (for example, when the
    // creation handler returned -1).
    bool LoadFrame(UINT resourceId, DWORD style, CWnd* parent = nullptr);
    bool PreTranslateMessage(MSG* msg) override;

    CString m_title;

protected:
    LRESULT OnClose(WPARAM, LPARAM);

    HACCEL m_accelerators = nullptr;

    DECLARE_MESSAGE_MAP()
};
