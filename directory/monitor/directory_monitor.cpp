#include "directory/monitor/directory_monitor.h"

#include <vector>

#include "directory/monitor/monitor_paths.h"
#include "framework/critical_section_lock.h"

namespace {

constexpr DWORD FILE_CHANGES = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

// Lists a directory and looks into each of its subdirectories. Some systems
// (Wine among them) watch a subtree only as far as its directories have been
// opened since the watch began; doing this for every directory from the
// top-level one down to the shown one covers every name the directory list
// shows, without walking a whole drive.
void LookInto(const std::string& directory, bool andSubdirectories)
{
    WIN32_FIND_DATAA data;
    HANDLE search = ::FindFirstFileA((directory + "\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (andSubdirectories && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            lstrcmpA(data.cFileName, ".") != 0 && lstrcmpA(data.cFileName, "..") != 0)
            LookInto(directory + "\\" + data.cFileName, false);
    } while (::FindNextFileA(search, &data));
    ::FindClose(search);
}

// Every folder below the directory, links not followed, for a subtree watch
// on it; depth first with an explicit list, so a deep tree needs no stack.
void LookIntoTree(const std::string& top)
{
    std::vector<std::string> pending{ top };
    while (!pending.empty()) {
        std::string directory = std::move(pending.back());
        pending.pop_back();
        WIN32_FIND_DATAA data;
        HANDLE search = ::FindFirstFileA((directory + "\\*").c_str(), &data);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && lstrcmpA(data.cFileName, ".") != 0 &&
                lstrcmpA(data.cFileName, "..") != 0)
                pending.push_back(directory + "\\" + data.cFileName);
        } while (::FindNextFileA(search, &data));
        ::FindClose(search);
    }
}

void LookAlongChain(std::string top, std::string shown)
{
    if (!top.empty() && top.back() == '\\')
        top.pop_back();
    if (!shown.empty() && shown.back() == '\\')
        shown.pop_back();
    std::string directory = top;
    for (;;) {
        LookInto(directory, true);
        if (shown.size() <= directory.size())
            return;
        size_t next = shown.find('\\', directory.size() + 1);
        directory = next == std::string::npos ? shown : shown.substr(0, next);
    }
}

class Watches {
public:
    ~Watches() { Close(); }
    void Close()
    {
        for (HANDLE& handle : handles) {
            if (handle != INVALID_HANDLE_VALUE)
                ::FindCloseChangeNotification(handle);
            handle = INVALID_HANDLE_VALUE;
        }
    }
    bool Open(const std::string& directory, bool wholeTree)
    {
        Close();
        if (directory.empty())
            return false;
        m_paths = WatchPathsFor(directory);
        m_wholeTree = wholeTree;
        // Each walk goes after its own watch begins and before the next watch
        // opens a directory: a directory that is already open when the walk
        // reaches it stays outside Wine's subtree.
        handles[TREE] = ::FindFirstChangeNotificationA(m_paths.tree.c_str(), TRUE, FILE_NOTIFY_CHANGE_DIR_NAME);
        if (handles[TREE] != INVALID_HANDLE_VALUE)
            LookAlongChain(m_paths.tree, m_paths.files);
        if (wholeTree) {
            // Any file or folder anywhere below rescans the side's tree.
            handles[FILES] = ::FindFirstChangeNotificationA(m_paths.files.c_str(), TRUE,
                                                            FILE_CHANGES | FILE_NOTIFY_CHANGE_DIR_NAME);
            if (handles[FILES] != INVALID_HANDLE_VALUE)
                LookIntoTree(m_paths.files);
        } else {
            handles[FILES] = ::FindFirstChangeNotificationA(m_paths.files.c_str(), FALSE, FILE_CHANGES);
        }
        return handles[TREE] != INVALID_HANDLE_VALUE && handles[FILES] != INVALID_HANDLE_VALUE;
    }
    // The window may have been listing a directory while the first walk
    // reached it; the worker walks once more a moment later.
    void WalkAgain()
    {
        if (handles[TREE] != INVALID_HANDLE_VALUE)
            LookAlongChain(m_paths.tree, m_paths.files);
        if (m_wholeTree && handles[FILES] != INVALID_HANDLE_VALUE)
            LookIntoTree(m_paths.files);
    }
    // Re-arms a watch after its signal; one the system will not re-arm is
    // dropped rather than waited on (and found signalled) again and again.
    void Rearm(int which)
    {
        if (!::FindNextChangeNotification(handles[which])) {
            ::FindCloseChangeNotification(handles[which]);
            handles[which] = INVALID_HANDLE_VALUE;
        }
    }

    enum { TREE = 0, FILES = 1 };
    HANDLE handles[2] = { INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE };

private:
    WatchPaths m_paths;
    bool m_wholeTree = false;
};

constexpr DWORD SECOND_WALK_DELAY_MS = 1000;

} // namespace

DirectoryMonitor::DirectoryMonitor()
{
    ::InitializeCriticalSection(&m_lock);
}

DirectoryMonitor::~DirectoryMonitor()
{
    Stop();
    ::DeleteCriticalSection(&m_lock);
}

void DirectoryMonitor::SetTargetWindow(HWND window)
{
    CriticalSectionLock lock(m_lock);
    m_target = window;
}

void DirectoryMonitor::Watch(const std::string& directory, bool wholeTree)
{
    // A worker that ended by itself (its wait failed) is replaced.
    if (m_thread && ::WaitForSingleObject(m_thread, 0) == WAIT_OBJECT_0)
        Stop();
    {
        CriticalSectionLock lock(m_lock);
        m_path = directory;
        m_wholeTree = wholeTree;
        ++m_requested;
    }
    if (!m_thread) {
        m_stop = false;
        m_wake = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
        if (!m_wake)
            return;
        m_thread = ::CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
        if (!m_thread) {
            ::CloseHandle(m_wake);
            m_wake = nullptr;
            return;
        }
    }
    ::SetEvent(m_wake);
}

void DirectoryMonitor::Stop()
{
    if (!m_thread)
        return;
    {
        CriticalSectionLock lock(m_lock);
        m_stop = true;
    }
    ::SetEvent(m_wake);
    ::WaitForSingleObject(m_thread, INFINITE);
    ::CloseHandle(m_thread);
    ::CloseHandle(m_wake);
    m_thread = nullptr;
    m_wake = nullptr;
    CriticalSectionLock lock(m_lock);
    m_armed = m_requested;
    m_watching = false;
}

bool DirectoryMonitor::IsArmed() const
{
    CriticalSectionLock lock(m_lock);
    return m_armed == m_requested;
}

bool DirectoryMonitor::IsWatching() const
{
    CriticalSectionLock lock(m_lock);
    return m_watching;
}

DWORD WINAPI DirectoryMonitor::ThreadProc(LPVOID parameter)
{
    static_cast<DirectoryMonitor*>(parameter)->Work();
    return 0;
}

void DirectoryMonitor::Post(UINT message)
{
    HWND target;
    {
        CriticalSectionLock lock(m_lock);
        target = m_target;
    }
    // A window that has gone is no error: the message is simply not delivered.
    if (target)
        ::PostMessageA(target, message, 0, 0);
}

void DirectoryMonitor::Work()
{
    Watches watches;
    unsigned armed = 0;
    bool walkAgain = false;
    for (;;) {
        HANDLE waitOn[3] = { m_wake };
        int which[3] = { -1 };
        DWORD count = 1;
        for (int w = Watches::TREE; w <= Watches::FILES; ++w) {
            if (watches.handles[w] != INVALID_HANDLE_VALUE) {
                waitOn[count] = watches.handles[w];
                which[count++] = w;
            }
        }
        DWORD result = ::WaitForMultipleObjects(count, waitOn, FALSE, walkAgain ? SECOND_WALK_DELAY_MS : INFINITE);
        if (result == WAIT_TIMEOUT) {
            walkAgain = false;
            watches.WalkAgain();
            continue;
        }
        if (result >= WAIT_OBJECT_0 + count)
            return; // a failed wait would fail again at once: end instead of spinning
        DWORD index = result - WAIT_OBJECT_0;
        if (index == 0) {
            std::string path;
            bool wholeTree;
            unsigned requested;
            {
                CriticalSectionLock lock(m_lock);
                if (m_stop)
                    return;
                path = m_path;
                wholeTree = m_wholeTree;
                requested = m_requested;
            }
            if (requested == armed)
                continue;
            bool watching = watches.Open(path, wholeTree);
            walkAgain = watching;
            armed = requested;
            CriticalSectionLock lock(m_lock);
            m_armed = armed;
            m_watching = watching;
            continue;
        }
        Post(which[index] == Watches::TREE ? TREE_CHANGED : FILES_CHANGED);
        watches.Rearm(which[index]);
    }
}
