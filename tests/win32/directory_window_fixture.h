// A DirectoryWindow on two temporary directories, created modeless and shown,
// with helpers to wait for its rows and to close the comparison windows it opens.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

#include "directory/window/directory_window.h"
#include "directory/window/compare_files_dialog.h"
#include "framework/win_app.h"
#include "resources/resource.h"
#include "test_support.h"

class DirectoryWindowFixture {
public:
    DirectoryWindowFixture() = default;
    ~DirectoryWindowFixture()
    {
        if (window.m_hWnd)
            ::DestroyWindow(window.m_hWnd);
        AfxGetApp()->m_pMainWnd = nullptr;
    }
    // Opens the window on the two directories with the pattern text (written as
    // the remembered one) and waits until both sides have been scanned.
    bool Open(const std::string& sourcePath, const std::string& masterPath, const std::string& pattern = "*.*")
    {
        if (!pattern.empty())
            WriteRawSetting("Position", "FileExtensions", REG_SZ, pattern.c_str(),
                            static_cast<DWORD>(pattern.size() + 1));
        window.sourceDirectory = sourcePath;
        window.masterDirectory = masterPath;
        if (!window.Create(IDD_DIRECTORY_WINDOW))
            return false;
        ::ShowWindow(window.m_hWnd, SW_SHOW);
        ::UpdateWindow(window.m_hWnd);
        return WaitForScans();
    }
    // Both sides hold the files of their current directories.
    bool WaitForScans()
    {
        bool scanned = PumpUntil(
            [&] {
                return window.busy.Pending() == 0 && !window.CurrentDirectory(SOURCE_SIDE).empty() &&
                       !window.CurrentDirectory(MASTER_SIDE).empty() &&
                       window.ScannedDirectory(SOURCE_SIDE) == window.CurrentDirectory(SOURCE_SIDE) &&
                       window.ScannedDirectory(MASTER_SIDE) == window.CurrentDirectory(MASTER_SIDE);
            },
            5000);
        PumpFor(30);
        return scanned && WaitForReading();
    }
    // The background reading of contents and folders has given every answer.
    bool WaitForReading()
    {
        return PumpUntil([&] { return !window.ReadingPending(); }, 10000);
    }
    // Selects exactly this row of the list (and focuses it).
    void SelectRow(FileListView& list, int row)
    {
        LVITEMA none = {};
        none.stateMask = LVIS_SELECTED;
        list.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        list.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    std::string RowName(FileListView& list, int row)
    {
        const FileEntry* entry = list.GetEntry(row);
        return entry ? entry->DisplayName() : std::string();
    }
    HWND Item(int id) const { return ::GetDlgItem(window.m_hWnd, id); }
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != 0; }

    CleanSettings clean;
    DirectoryWindow window;
};

// Finds this thread's visible comparison window, runs a step on it on each
// timer tick until the step says so, and then closes it. Drives the local
// loop of RunCompareWindow from inside.
class CompareWindowDriver {
public:
    // step returns true when the window may be closed.
    explicit CompareWindowDriver(std::function<bool(HWND)> step = {})
    {
        s_step = std::move(step);
        s_seen = nullptr;
        s_title.clear();
        m_timer = ::SetTimer(nullptr, 0, 30, Tick);
    }
    ~CompareWindowDriver()
    {
        ::KillTimer(nullptr, m_timer);
        s_step = nullptr;
    }
    static HWND FindFrame()
    {
        HWND found = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), FindFrameWindow, reinterpret_cast<LPARAM>(&found));
        return found;
    }
    inline static HWND s_seen = nullptr;
    inline static std::string s_title;

private:
    static BOOL CALLBACK FindFrameWindow(HWND hwnd, LPARAM data)
    {
        char name[32] = "";
        ::GetClassNameA(hwnd, name, sizeof name);
        if (lstrcmpA(name, "ZelvaneFrame109") == 0 && ::IsWindowVisible(hwnd)) {
            *reinterpret_cast<HWND*>(data) = hwnd;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND frame = FindFrame();
        if (!frame)
            return;
        if (!s_seen) {
            s_seen = frame;
            char title[512] = "";
            ::GetWindowTextA(frame, title, sizeof title);
            s_title = title;
        }
        if (s_step && !s_step(frame))
            return;
        ::PostMessageA(frame, WM_CLOSE, 0, 0);
    }
    inline static std::function<bool(HWND)> s_step;
    UINT_PTR m_timer = 0;
};
