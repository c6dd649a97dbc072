#include "directory/window/busy_guard.h"

void BusyGuard::RescanDue(unsigned sides)
{
    m_pending |= sides;
    if (IsBusy() || m_pending == 0)
        return;
    unsigned due = m_pending;
    m_pending = 0;
    m_rescan(due);
}

void BusyGuard::Release()
{
    if (--m_holds > 0)
        return;
    RescanDue(0);
}

RememberedFile Remember(Side side, const FileEntry& entry)
{
    return { side, entry.name, entry.extension };
}

bool IsRememberedFile(const RememberedFile& file, const FileEntry* entry)
{
    bool sameFolded = false;
    if (entry)
        CompareSplitNames(entry->name, entry->extension, file.name, file.extension, &sameFolded);
    return sameFolded;
}
