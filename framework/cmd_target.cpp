#include "cmd_target.h"

const MessageEntry* FindMessageEntry(const MessageMap* map, UINT message, UINT code, UINT id, HandlerKind kind)
{
    for (; map; map = map->base ? map->base() : nullptr) {
        for (const MessageEntry* entry = map->entries; entry->handler; ++entry) {
            if (entry->message != message)
                continue;
            bool kindMatches = entry->kind == kind ||
                               (kind == HandlerKind::command && entry->kind == HandlerKind::commandRange);
            if (!kindMatches)
                continue;
            if (message == WM_COMMAND || message == WM_NOTIFY) {
                if (entry->code != code || id < entry->id || id > entry->lastId)
                    continue;
            }
            return entry;
        }
    }
    return nullptr;
}

const MessageMap* CCmdTarget::GetThisMessageMap()
{
    static const MessageEntry entries[] = { { 0, 0, 0, 0, HandlerKind::message, nullptr } };
    static const MessageMap map = { nullptr, entries };
    return &map;
}

bool CCmdTarget::OnCmdMsg(UINT id, UINT code)
{
    return DispatchCommand(id, code);
}

bool CCmdTarget::DispatchCommand(UINT id, UINT code)
{
    const MessageEntry* entry = FindMessageEntry(GetMessageMap(), WM_COMMAND, code, id, HandlerKind::command);
    if (!entry)
        return false;
    if (entry->kind == HandlerKind::commandRange)
        (this->*HandlerCast<void (CCmdTarget::*)(UINT)>(entry->handler))(id);
    else
        (this->*entry->handler)();
    return true;
}

bool CCmdTarget::OnUpdateCmdMsg(CCmdUI* state)
{
    const MessageEntry* entry = FindMessageEntry(GetMessageMap(), WM_COMMAND, 0, state->m_nID, HandlerKind::update);
    if (!entry)
        return false;
    (this->*HandlerCast<void (CCmdTarget::*)(CCmdUI*)>(entry->handler))(state);
    return true;
}

void CCmdTarget::GetCommandState(CCmdUI* state)
{
    if (!OnUpdateCmdMsg(state))
        state->m_enabled = FindMessageEntry(GetMessageMap(), WM_COMMAND, 0, state->m_nID, HandlerKind::command) != nullptr;
}
