#include "window_watch.h"

#include <algorithm>

namespace {

std::vector<WindowWatch*>& Watches()
{
    static std::vector<WindowWatch*> watches;
    return watches;
}

UINT_PTR g_timer = 0;

std::string ClassOf(HWND window)
{
    char name[64] = "";
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

} // namespace

WindowWatch::WindowWatch(Match match, Action action) : m_match(std::move(match)), m_action(std::move(action))
{
    ::EnumThreadWindows(::GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(&m_before));
    Watches().push_back(this);
    if (!g_timer)
        g_timer = ::SetTimer(nullptr, 0, 30, OnTimer);
}

WindowWatch::~WindowWatch()
{
    auto& watches = Watches();
    watches.erase(std::remove(watches.begin(), watches.end(), this), watches.end());
    if (watches.empty() && g_timer) {
        ::KillTimer(nullptr, g_timer);
        g_timer = 0;
    }
}

BOOL CALLBACK WindowWatch::Collect(HWND window, LPARAM data)
{
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

bool WindowWatch::Check()
{
    std::vector<HWND> now;
    ::EnumThreadWindows(::GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(&now));
    for (HWND window : now) {
        if (std::find(m_before.begin(), m_before.end(), window) != m_before.end())
            continue;
        if (!::IsWindowVisible(window) || !m_match(window))
            continue;
        m_ran = true; // before the action, which pumps messages itself
        m_action(window);
        return true;
    }
    return false;
}

void CALLBACK WindowWatch::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    // A copy: an action may arm or end watches, and timers fire again in the
    // loops it starts.
    std::vector<WindowWatch*> watches = Watches();
    for (WindowWatch* watch : watches) {
        auto& live = Watches();
        if (std::find(live.begin(), live.end(), watch) == live.end() || watch->m_ran)
            continue;
        watch->Check();
    }
}

WindowWatch::Match WindowWatch::Dialog(const std::string& caption)
{
    return [caption](HWND window) {
        char text[256] = "";
        ::GetWindowTextA(window, text, sizeof text);
        return ClassOf(window) == "#32770" && caption == text;
    };
}

WindowWatch::Match WindowWatch::ClassNamed(const std::string& className)
{
    return [className](HWND window) { return ClassOf(window) == className; };
}

void PressButton(HWND dialog, int id)
{
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}
