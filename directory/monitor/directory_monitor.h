// DirectoryMonitor: one side's watch on its directory. A worker thread waits
// on the system's change notifications and posts WM_DIR_TREE_CHANGED
// (directory names changed below the top-level directory) and
// WM_DIR_FILES_CHANGED (files of the directory itself changed) to the side's
// window, which merges bursts with its 500 ms timers. Every change is
// reported.
//
// Ownership: the worker alone creates, waits on and closes the notification
// handles. The user-interface thread only hands it a path under a lock and
// sets the wake event; stopping raises a flag, wakes the worker and waits for
// it to end before the event and the thread handle are closed.
#pragma once

#include <windows.h>

#include <string>

class DirectoryMonitor {
public:
    DirectoryMonitor();
    ~DirectoryMonitor();
    DirectoryMonitor(const DirectoryMonitor&) = delete;
    // The messages posted to the target window, both parameters 0 (the side's
    // list box knows them as WM_DIR_TREE_CHANGED and WM_DIR_FILES_CHANGED).
    static constexpr UINT TREE_CHANGED = WM_USER + 0x100;
    static constexpr UINT FILES_CHANGED = WM_USER + 0x101;

    DirectoryMonitor& operator=(const DirectoryMonitor&) = delete;

    // The window the messages go to; may be set before or after watching.
    void SetTargetWindow(HWND window);
    // Watches the directory (a drive root as "d:"), starting the worker the
    // first time; an empty path stops watching but keeps the worker. With
    // wholeTree, FILES_CHANGED covers files and folders anywhere below it.
    void Watch(const std::string& directory, bool wholeTree = false);
    // Ends the worker and closes every handle; Watch starts a new one.
    void Stop();

    bool IsRunning() const { return m_thread != nullptr; }
    // True once the worker has set up the watches for the last Watch call
    // (whether or not the system granted them).
    bool IsArmed() const;
    // True when the last Watch got both watches from the system.
    bool IsWatching() const;

private:
    static DWORD WINAPI ThreadProc(LPVOID parameter);
    void Work();
    void Post(UINT message);

    // Shared with the worker, under m_lock.
    mutable CRITICAL_SECTION m_lock;
    HWND m_target = nullptr;
    std::string m_path;
    bool m_wholeTree = false;
    unsigned m_requested = 0; // Watch calls so far
    unsigned m_armed = 0;     // the last one the worker has acted on
    bool m_watching = false;
    bool m_stop = false;

    // The user-interface thread's alone.
    HANDLE m_thread = nullptr;
    HANDLE m_wake = nullptr;
};
