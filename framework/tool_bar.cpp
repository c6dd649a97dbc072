#include "tool_bar.h"

#include <commctrl.h>

#include "win_app.h"

BEGIN_MESSAGE_MAP(CToolBar, CWnd)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

bool CToolBar::Create(CWnd* parent, DWORD style, UINT id)
{
    RECT rect = { 0, 0, 0, 0 };
    style |= TBSTYLE_TOOLTIPS | CCS_TOP;
    if (!CreateEx(0, TOOLBARCLASSNAMEA, "", style, rect, parent, id))
        return false;
    // The control is subclassed so that idle updates reach this object.
    return true;
}

bool CToolBar::LoadBitmap(UINT bitmapId)
{
    m_bitmapId = bitmapId;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return m_hWnd != nullptr;
}

void CToolBar::SetSizes(SIZE button, SIZE image)
{
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(image.cx, image.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(button.cx, button.cy));
    SendMessage(TB_AUTOSIZE, 0, 0);
}

bool CToolBar::SetButtons(const UINT* ids, int count)
{
    m_ids.assign(ids, ids + count);
    m_enabled.assign(static_cast<size_t>(count), -1);
    int images = 0;
    for (int index = 0; index < count; ++index)
        images += ids[index] != 0;
    if (m_bitmapId && images > m_imageCount) {
        // The control maps the bitmap's greys, black and white to the system colours.
        TBADDBITMAP bitmap = { AfxGetInstanceHandle(), m_bitmapId };
        SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(images), reinterpret_cast<LPARAM>(&bitmap));
        m_imageCount = images;
    }
    std::vector<TBBUTTON> buttons(static_cast<size_t>(count));
    int image = 0;
    for (int index = 0; index < count; ++index) {
        TBBUTTON& button = buttons[static_cast<size_t>(index)];
        button = TBBUTTON();
        if (ids[index] == 0) {
            button.fsStyle = TBSTYLE_SEP;
            button.iBitmap = 6; // separator width
        } else {
            button.iBitmap = image++;
            button.idCommand = static_cast<int>(ids[index]);
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = TBSTYLE_BUTTON;
        }
    }
    bool added = SendMessage(TB_ADDBUTTONS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(buttons.data())) != 0;
    SendMessage(TB_AUTOSIZE, 0, 0);
    return added;
}

int CToolBar::GetHeight() const
{
    if (!m_hWnd || !::IsWindowVisible(m_hWnd))
        return 0;
    RECT rect;
    ::GetWindowRect(m_hWnd, &rect);
    return rect.bottom - rect.top;
}

bool CToolBar::IsButtonEnabled(UINT id) const
{
    return SendMessage(TB_ISBUTTONENABLED, id, 0) != 0;
}

void CToolBar::UpdateButtons(CCmdTarget* target)
{
    for (size_t index = 0; index < m_ids.size(); ++index) {
        UINT id = m_ids[index];
        if (id == 0)
            continue;
        CCmdUI state(id);
        target->GetCommandState(&state);
        int enabled = state.m_enabled ? 1 : 0;
        if (enabled != m_enabled[index]) {
            SendMessage(TB_ENABLEBUTTON, id, MAKELPARAM(enabled, 0));
            m_enabled[index] = enabled;
        }
    }
}

LRESULT CToolBar::OnIdleUpdate(WPARAM, LPARAM)
{
    if (CWnd* owner = CWnd::FromHandle(::GetParent(m_hWnd)); owner && ::IsWindowVisible(m_hWnd))
        UpdateButtons(owner);
    return 0;
}
