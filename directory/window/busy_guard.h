// The directory window's guard over waits. While a comparison window, a
// dialog or a message box is open, messages are still dispatched and a due
// rescan would free every FileEntry and rebuild the rows under the code that
// waits. Holding the guard postpones such rescans (per side, never lost)
// until the last hold goes; code that outlives a wait remembers its file by
// name and looks it up again afterwards. Portable.
#pragma once

#include <exception>
#include <functional>
#include <string>

#include "directory/core/file_entry.h"

enum Side : int { SOURCE_SIDE = 0, MASTER_SIDE = 1 };
constexpr unsigned SideBit(Side side) { return 1u << side; }
constexpr unsigned BOTH_SIDES = 3;

class BusyGuard {
public:
    // Sides as bits: 1 << SOURCE_SIDE, 1 << MASTER_SIDE.
    using Rescan = std::function<void(unsigned sides)>;
    explicit BusyGuard(Rescan rescan) : m_rescan(std::move(rescan)) {}
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

    // One hold for the life of the object; holds nest.
    // The postponed rescan runs as the last hold goes, and may throw (out of
    // memory) like any rescan; while another exception unwinds, the hold only
    // goes and the rescan stays pending for the next request.
    class Hold {
    public:
        explicit Hold(BusyGuard& guard) : m_guard(&guard), m_exceptions(std::uncaught_exceptions())
        {
            ++m_guard->m_holds;
        }
        ~Hold() noexcept(false)
        {
            if (std::uncaught_exceptions() > m_exceptions)
                --m_guard->m_holds;
            else
                m_guard->Release();
        }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        BusyGuard* m_guard;
        int m_exceptions;
    };

    bool IsBusy() const { return m_holds > 0; }
    unsigned Pending() const { return m_pending; }
    // A rescan of these sides is due: it runs now, or once when the last hold goes.
    void RescanDue(unsigned sides);

private:
    void Release();

    Rescan m_rescan;
    int m_holds = 0;
    unsigned m_pending = 0;
};

// A file remembered across a wait: its side and its name as the list shows it.
struct RememberedFile {
    Side side = SOURCE_SIDE;
    std::string name;
    std::string extension;
};

RememberedFile Remember(Side side, const FileEntry& entry);
// True when the entry is the remembered file, names compared as the lists pair them.
bool IsRememberedFile(const RememberedFile& file, const FileEntry* entry);
