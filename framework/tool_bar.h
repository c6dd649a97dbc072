// CToolBar: a row of buttons from one bitmap strip. Tooltips and fly-by
// prompts come from the string table entry of each command ("prompt\ntip").
// During idle the owner's update handlers enable the buttons, touching a
// button only when its state changed.
#pragma once

#include <vector>

#include "wnd.h"

constexpr UINT AFX_IDW_TOOLBAR = 0xE800;

class CToolBar : public CWnd {
public:
    bool Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE, UINT id = AFX_IDW_TOOLBAR);
    bool LoadBitmap(UINT bitmapId);
    // Command ids in order; 0 is a separator. Images go to the other buttons in turn.
    bool SetButtons(const UINT* ids, int count);
    void SetSizes(SIZE button, SIZE image);
    // The height the toolbar wants at the top of its frame.
    int GetHeight() const;
    bool IsButtonEnabled(UINT id) const;
    void UpdateButtons(CCmdTarget* target);

protected:
    LRESULT OnIdleUpdate(WPARAM, LPARAM);

private:
    UINT m_bitmapId = 0;
    int m_imageCount = 0;
    std::vector<UINT> m_ids;
    std::vector<int> m_enabled; // -1 unknown, 0, 1: the last state applied

    DECLARE_MESSAGE_MAP()
};
