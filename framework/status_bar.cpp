#include "status_bar.h"

#include <commctrl.h>

#include "message_box.h"

BEGIN_MESSAGE_MAP(CStatusBar, CWnd)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
ON_MESSAGE(WM_SIZE, OnSize)
END_MESSAGE_MAP()

bool CStatusBar::Create(CWnd* parent, DWORD style, UINT id)
{
    RECT rect = { 0, 0, 0, 0 };
    return CreateEx(0, STATUSCLASSNAMEA, "", style | CCS_BOTTOM | SBARS_SIZEGRIP, rect, parent, id);
}

bool CStatusBar::SetIndicators(const UINT* ids, int count)
{
    m_panes.clear();
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
    for (int index = 0; index < count; ++index) {
        Pane pane = { ids[index], 0, 0, CString() };
        if (pane.id != ID_SEPARATOR) {
            pane.text = AfxLoadString(pane.id);
            SIZE extent = { 0, 0 };
            ::GetTextExtentPoint32A(dc, pane.text.c_str(), static_cast<int>(pane.text.size()), &extent);
            pane.width = extent.cx;
            pane.style = SBPS_DISABLED; // until idle processing says otherwise
        }
        m_panes.push_back(pane);
    }
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(m_hWnd, dc);
    ApplyParts();
    for (int index = 0; index < count; ++index)
        ShowPane(index);
    return true;
}

int CStatusBar::CommandToIndex(UINT id) const
{
    for (size_t index = 0; index < m_panes.size(); ++index)
        if (m_panes[index].id == id)
            return static_cast<int>(index);
    return -1;
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const
{
    const Pane& pane = m_panes.at(static_cast<size_t>(index));
    id = pane.id;
    style = pane.style;
    width = pane.width;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width)
{
    Pane& pane = m_panes.at(static_cast<size_t>(index));
    bool resized = pane.width != width;
    pane.id = id;
    pane.style = style;
    pane.width = width;
    if (resized)
        ApplyParts();
    ShowPane(index);
}

bool CStatusBar::SetPaneText(int index, const CString& text, bool update)
{
    if (index < 0 || index >= GetCount())
        return false;
    m_panes[static_cast<size_t>(index)].text = text;
    ShowPane(index);
    if (update)
        ::UpdateWindow(m_hWnd);
    return true;
}

CString CStatusBar::GetPaneText(int index) const
{
    if (index < 0 || index >= GetCount())
        return CString();
    return m_panes[static_cast<size_t>(index)].text;
}

void CStatusBar::ShowPane(int index)
{
    const Pane& pane = m_panes[static_cast<size_t>(index)];
    // A disabled indicator keeps its text but shows none.
    const char* shown = (pane.style & SBPS_DISABLED) ? "" : pane.text.c_str();
    SendMessage(SB_SETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(shown));
}

void CStatusBar::ApplyParts()
{
    if (m_panes.empty())
        return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int margin = 12; // the sunken border and a little air around each indicator
    const int grip = ::GetSystemMetrics(SM_CXVSCROLL);
    std::vector<int> edges(m_panes.size());
    int right = client.right - grip;
    for (size_t index = m_panes.size(); index-- > 1;) {
        edges[index] = right;
        right -= m_panes[index].width + margin;
    }
    edges[0] = right;
    edges.back() = -1;
    SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

LRESULT CStatusBar::OnSize(WPARAM, LPARAM)
{
    LRESULT result = Default();
    ApplyParts();
    return result;
}

void CStatusBar::UpdateIndicators(CCmdTarget* target)
{
    for (size_t index = 0; index < m_panes.size(); ++index) {
        Pane& pane = m_panes[index];
        if (pane.id == ID_SEPARATOR)
            continue;
        CCmdUI state(pane.id);
        if (!target->OnUpdateCmdMsg(&state))
            continue;
        UINT style = state.m_enabled ? (pane.style & ~SBPS_DISABLED) : (pane.style | SBPS_DISABLED);
        if (style != pane.style) {
            pane.style = style;
            ShowPane(static_cast<int>(index));
        }
    }
}

LRESULT CStatusBar::OnIdleUpdate(WPARAM, LPARAM)
{
    if (CWnd* owner = CWnd::FromHandle(::GetParent(m_hWnd)); owner && ::IsWindowVisible(m_hWnd))
        UpdateIndicators(owner);
    return 0;
}
