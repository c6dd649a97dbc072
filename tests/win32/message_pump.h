// Bounded pumping for tests and tools: dispatches this thread's messages and
// sleeps until input arrives, for a given time or until a condition holds.
#pragma once

#include <windows.h>

#include <functional>

inline void PumpFor(DWORD milliseconds)
{
    DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= milliseconds)
            return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

// True as soon as the condition holds; after the timeout, whatever it says then.
inline bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMilliseconds = 5000)
{
    DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start >= timeoutMilliseconds)
            return condition();
        PumpFor(10);
    }
    return true;
}
