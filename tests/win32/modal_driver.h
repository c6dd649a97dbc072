// Drives one modal dialog of ours from a timer: when a visible dialog with the
// caption appears on this thread, the action runs once with its window (to
// check it, type into it, press its buttons). No test waits for a person.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

class ModalDriver {
public:
    ModalDriver(std::string caption, std::function<void(HWND)> action)
        : m_caption(std::move(caption)), m_action(std::move(action))
    {
        Current() = this;
        m_timer = ::SetTimer(nullptr, 0, 20, OnTimer);
    }
    ~ModalDriver()
    {
        ::KillTimer(nullptr, m_timer);
        Current() = nullptr;
    }
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    bool Ran() const { return m_ran; }

private:
    static ModalDriver*& Current()
    {
        static ModalDriver* current = nullptr;
        return current;
    }
    struct Search {
        const std::string* caption;
        HWND found;
    };
    static BOOL CALLBACK FindByCaption(HWND hwnd, LPARAM data)
    {
        auto* search = reinterpret_cast<Search*>(data);
        char text[256] = "";
        ::GetWindowTextA(hwnd, text, sizeof text);
        if (::IsWindowVisible(hwnd) && *search->caption == text) {
            search->found = hwnd;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        ModalDriver* driver = Current();
        if (!driver || driver->m_ran)
            return;
        Search search = { &driver->m_caption, nullptr };
        ::EnumThreadWindows(::GetCurrentThreadId(), FindByCaption, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            return;
        driver->m_ran = true; // before the action, which may pump messages itself
        driver->m_action(search.found);
    }

    std::string m_caption;
    std::function<void(HWND)> m_action;
    UINT_PTR m_timer = 0;
    bool m_ran = false;
};

inline std::string ItemText(HWND dialog, int id)
{
    char text[1024] = "";
    ::GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

inline void ClickButton(HWND dialog, int id)
{
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}
