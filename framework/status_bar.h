// CStatusBar: the status line with a message pane and indicators. Indicator
// texts come from the string table (the id names the string); a disabled
// indicator shows blank. Idle processing asks the frame's update handlers
// whether each indicator is enabled.
#pragma once

#include <vector>

#include "wnd.h"

constexpr UINT ID_INDICATOR_CAPS = 59137;
constexpr UINT ID_INDICATOR_NUM = 59138;
constexpr UINT ID_INDICATOR_OVR = 59140;
constexpr UINT ID_SEPARATOR = 0; // the message pane
constexpr UINT SBPS_DISABLED = 0x04000000;
constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;

class CStatusBar : public CWnd {
public:
    bool Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE, UINT id = AFX_IDW_STATUS_BAR);
    bool SetIndicators(const UINT* ids, int count);
    int CommandToIndex(UINT id) const;
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    bool SetPaneText(int index, const CString& text, bool update = true);
    CString GetPaneText(int index) const;
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    // Refreshes the indicators from the owner's update handlers (during idle).
    void UpdateIndicators(CCmdTarget* target);

protected:
    LRESULT OnIdleUpdate(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);

private:
    struct Pane {
        UINT id;
        UINT style;
        int width;
        CString text;
    };
    void ApplyParts();
    void ShowPane(int index);

    std::vector<Pane> m_panes;

    DECLARE_MESSAGE_MAP()
};
