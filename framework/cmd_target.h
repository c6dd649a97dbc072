// The root of everything that receives commands: it owns the table lookup and
// the command and update routing that windows build on.
#pragma once

#include "message_map.h"

// Carries one command's state from its update handler to a menu item or a
// toolbar button.
class CCmdUI {
public:
    explicit CCmdUI(UINT id) : m_nID(id) {}
    virtual ~CCmdUI() = default;
    virtual void Enable(bool on = true) { m_enabled = on; }
    virtual void SetCheck(int check = 1) { m_checked = check; }

    UINT m_nID;
    bool m_enabled = true;
    int m_checked = -1; // -1: the handler did not say
};

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;
    virtual const MessageMap* GetMessageMap() const { return GetThisMessageMap(); }

    // Runs the handler for a command (code 0 or 1) or a control notification;
    // false when the table has none.
    virtual bool OnCmdMsg(UINT id, UINT code);
    // Asks the command's update handler; false when the table has none.
    virtual bool OnUpdateCmdMsg(CCmdUI* state);
    // The state menus and toolbars show: the update handler's answer, or,
    // without one, enabled exactly when something handles the command.
    void GetCommandState(CCmdUI* state);

protected:
    static const MessageMap* GetThisMessageMap();
    bool DispatchCommand(UINT id, UINT code);
};
