// Runs an action once on a window of this thread that appears after the watch
// is armed: the dialogs and menus the program opens run their own modal loops,
// so the picture is taken from a timer inside that loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class WindowWatch {
public:
    using Match = std::function<bool(HWND)>;
    using Action = std::function<void(HWND)>;

    WindowWatch(Match match, Action action);
    ~WindowWatch();
    WindowWatch(const WindowWatch&) = delete;
    WindowWatch& operator=(const WindowWatch&) = delete;

    bool Ran() const { return m_ran; }

    // A visible dialog box (#32770) with this caption.
    static Match Dialog(const std::string& caption);
    // A visible window of this window class.
    static Match ClassNamed(const std::string& className);

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    static BOOL CALLBACK Collect(HWND window, LPARAM data);
    bool Check();

    Match m_match;
    Action m_action;
    std::vector<HWND> m_before; // windows already there: never this watch's window
    bool m_ran = false;
};

// Presses a dialog's button as a click would.
void PressButton(HWND dialog, int id);
