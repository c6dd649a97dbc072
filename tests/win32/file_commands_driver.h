// Driving the file lists' right-button gesture with synthetic mouse messages,
// and a menu tracker that records the menu it is given and answers with a
// scripted command instead of waiting for a person.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "directory/window/file_commands.h"
#include "directory/window/file_list_view.h"
#include "resources/resource.h"

struct SeenMenu {
    bool opened = false;
    int items = 0; // 10 for "Context", 4 for "Drop"
    bool compare = false;
    bool copy = false;
    bool remove = false;
    bool rename = false;
    UINT defaultItem = 0;
    HWND owner = nullptr;
};

// While it lives, every menu a file list opens is recorded and answered with
// the command (0: the menu is dismissed); during() runs while the menu is open.
class MenuScript {
public:
    explicit MenuScript(UINT command = 0, std::function<void()> during = {})
    {
        Current() = this;
        m_command = command;
        m_during = std::move(during);
        m_previous = FileCommands::SetMenuTracker(Track);
    }
    ~MenuScript()
    {
        FileCommands::SetMenuTracker(m_previous);
        Current() = nullptr;
    }
    MenuScript(const MenuScript&) = delete;
    MenuScript& operator=(const MenuScript&) = delete;

    const SeenMenu& Seen() const { return m_seen; }
    int Count() const { return m_count; }
    void Reset()
    {
        m_seen = SeenMenu();
        m_count = 0;
    }

    static bool Enabled(HMENU menu, UINT id)
    {
        UINT state = ::GetMenuState(menu, id, MF_BYCOMMAND);
        return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
    }

private:
    static MenuScript*& Current()
    {
        static MenuScript* current = nullptr;
        return current;
    }
    static UINT Track(HMENU menu, HWND owner, POINT)
    {
        MenuScript* script = Current();
        if (!script)
            return 0;
        ++script->m_count;
        SeenMenu& seen = script->m_seen;
        seen.opened = true;
        seen.items = ::GetMenuItemCount(menu);
        seen.compare = Enabled(menu, ID_FILE_LIST_COMPARE);
        seen.copy = Enabled(menu, ID_FILE_LIST_COPY);
        seen.remove = Enabled(menu, ID_FILE_LIST_DELETE);
        seen.rename = Enabled(menu, ID_FILE_LIST_RENAME);
        seen.defaultItem = ::GetMenuDefaultItem(menu, FALSE, 0);
        seen.owner = owner;
        if (script->m_during)
            script->m_during();
        // As the real menu does: a greyed item cannot be chosen.
        UINT command = script->m_command;
        return command && !Enabled(menu, command) ? 0 : command;
    }

    SeenMenu m_seen;
    int m_count = 0;
    UINT m_command = 0;
    std::function<void()> m_during;
    FileCommands::MenuTracker m_previous = nullptr;
};

// A point in the middle of the row's name, in the list's client co-ordinates.
inline POINT RowPoint(const FileListView& list, int row)
{
    RECT rect = {};
    rect.left = LVIR_BOUNDS;
    list.SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    return { rect.left + 24, (rect.top + rect.bottom) / 2 };
}

// The same place on the screen, seen from another window.
inline POINT PointIn(const FileListView& from, POINT point, HWND to)
{
    ::MapWindowPoints(from.m_hWnd, to, &point, 1);
    return point;
}

inline LPARAM AsLParam(POINT point)
{
    return MAKELPARAM(static_cast<short>(point.x), static_cast<short>(point.y));
}

// Right button down at the start, moves to each point (in the list's client
// co-ordinates) with the button held, and up at the last.
inline void RightDrag(FileListView& list, POINT start, std::initializer_list<POINT> moves)
{
    list.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, AsLParam(start));
    POINT last = start;
    for (POINT move : moves) {
        list.SendMessage(WM_MOUSEMOVE, MK_RBUTTON, AsLParam(move));
        last = move;
    }
    list.SendMessage(WM_RBUTTONUP, 0, AsLParam(last));
}

inline void RightClick(FileListView& list, int row)
{
    RightDrag(list, RowPoint(list, row), {});
}

// Selects exactly these rows of the list.
inline void SelectRows(FileListView& list, std::initializer_list<int> rows)
{
    LVITEMA none = {};
    none.stateMask = LVIS_SELECTED;
    list.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    for (int row : rows) {
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        list.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
}

// Answers the shell's confirmation boxes from a timer: records each one's
// texts and presses the button.
class ShellConfirmAnswerer {
public:
    explicit ShellConfirmAnswerer(int button) : m_button(button)
    {
        Current() = this;
        m_timer = ::SetTimer(nullptr, 0, 30, Tick);
    }
    ~ShellConfirmAnswerer()
    {
        ::KillTimer(nullptr, m_timer);
        Current() = nullptr;
    }
    std::vector<std::string> texts; // caption and control texts of each box, joined
    std::vector<HWND> answered;

private:
    static ShellConfirmAnswerer*& Current()
    {
        static ShellConfirmAnswerer* current = nullptr;
        return current;
    }
    static BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM data)
    {
        char name[16] = "";
        ::GetClassNameA(hwnd, name, sizeof name);
        if (lstrcmpA(name, "#32770") == 0 && ::IsWindowVisible(hwnd))
            reinterpret_cast<std::vector<HWND>*>(data)->push_back(hwnd);
        return TRUE;
    }
    static BOOL CALLBACK AppendText(HWND child, LPARAM data)
    {
        char part[1024] = "";
        ::GetWindowTextA(child, part, sizeof part);
        *reinterpret_cast<std::string*>(data) += std::string(part) + "|";
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        ShellConfirmAnswerer* self = Current();
        if (!self)
            return;
        std::vector<HWND> boxes;
        ::EnumThreadWindows(::GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&boxes));
        for (HWND box : boxes) {
            bool done = false;
            for (HWND seen : self->answered)
                done = done || seen == box;
            if (done)
                continue;
            char caption[256] = "";
            ::GetWindowTextA(box, caption, sizeof caption);
            if (std::string(caption).rfind("Confirm", 0) != 0)
                continue; // the directory window is a dialog too
            std::string text;
            ::EnumChildWindows(box, AppendText, reinterpret_cast<LPARAM>(&text));
            self->texts.push_back(std::string(caption) + "|" + text);
            self->answered.push_back(box);
            ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(self->m_button, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(box, self->m_button)));
        }
    }

    int m_button;
    UINT_PTR m_timer = 0;
};
