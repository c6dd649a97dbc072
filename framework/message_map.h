// Message, command, notification and update tables. Each window class has one
// static table chained to its base class's; dispatch scans the tables, idle
// processing walks their update entries, and tests may inspect them.
#pragma once

#include <windows.h>

#include <cstring>

class CCmdTarget;
class CCmdUI;

enum class HandlerKind : unsigned char {
    message,      // LRESULT (WPARAM, LPARAM)
    command,      // void ()
    commandRange, // void (UINT id)
    notify,       // void (NMHDR*, LRESULT*)
    update,       // void (CCmdUI*)
};

using GenericHandler = void (CCmdTarget::*)();

// Converts between handler types of one size; tables store every handler as
// GenericHandler and dispatch converts it back to the type its entry names.
template <typename To, typename From>
To HandlerCast(From from)
{
    static_assert(sizeof(To) == sizeof(From), "handlers share one representation");
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
}

struct MessageEntry {
    UINT message; // WM_xxx; WM_COMMAND for commands and updates; WM_NOTIFY; 0 ends the table
    UINT code;    // notification code for WM_NOTIFY and control notifications
    UINT id;      // command or control id (first of a range)
    UINT lastId;  // last id of a range
    HandlerKind kind;
    GenericHandler handler;
};

struct MessageMap {
    const MessageMap* (*base)();
    const MessageEntry* entries;
};

// Finds the first entry along the chain that matches; nullptr when none does.
const MessageEntry* FindMessageEntry(const MessageMap* map, UINT message, UINT code, UINT id, HandlerKind kind);

#define DECLARE_MESSAGE_MAP()                                                                                      \
protected:                                                                                                         \
    static const MessageMap* GetThisMessageMap();                                                                  \
                                                                                                                   \
public:                                                                                                            \
    const MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                                     \
    const MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); }                              \
    const MessageMap* theClass::GetThisMessageMap()                                                                \
    {                                                                                                              \
        using ThisClass [[maybe_unused]] = theClass;                                                                              \
        using TheBaseClass = baseClass;                                                                            \
        static const MessageEntry entries[] = {

#define END_MESSAGE_MAP()                                                                                          \
    { 0, 0, 0, 0, HandlerKind::message, nullptr }                                                                  \
    };                                                                                                             \
    static const MessageMap map = { &TheBaseClass::GetThisMessageMap, entries };                                   \
    return &map;                                                                                                   \
    }

// Each macro converts through the exact member-function type, so a handler with
// the wrong signature fails to compile.
#define ZEL_HANDLER(type, fn) HandlerCast<GenericHandler>(static_cast<type>(fn))

#define ON_MESSAGE(msg, fn)                                                                                        \
    { msg, 0, 0, 0, HandlerKind::message, ZEL_HANDLER(LRESULT (CCmdTarget::*)(WPARAM, LPARAM), &ThisClass::fn) },
#define ON_COMMAND(id, fn)                                                                                         \
    { WM_COMMAND, 0, id, id, HandlerKind::command, ZEL_HANDLER(void (CCmdTarget::*)(), &ThisClass::fn) },
#define ON_COMMAND_RANGE(firstId, lastId, fn)                                                                      \
    { WM_COMMAND, 0, firstId, lastId, HandlerKind::commandRange,                                                   \
      ZEL_HANDLER(void (CCmdTarget::*)(UINT), &ThisClass::fn) },
// A control notification that arrives through WM_COMMAND (BN_CLICKED, EN_KILLFOCUS ...).
#define ON_CONTROL(code, id, fn)                                                                                   \
    { WM_COMMAND, code, id, id, HandlerKind::command, ZEL_HANDLER(void (CCmdTarget::*)(), &ThisClass::fn) },
#define ON_NOTIFY(code, id, fn)                                                                                    \
    { WM_NOTIFY, static_cast<UINT>(code), id, id, HandlerKind::notify,                                            \
      ZEL_HANDLER(void (CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::fn) },
#define ON_UPDATE_COMMAND_UI(id, fn)                                                                               \
    { WM_COMMAND, 0, id, id, HandlerKind::update, ZEL_HANDLER(void (CCmdTarget::*)(CCmdUI*), &ThisClass::fn) },
