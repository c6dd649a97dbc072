#include "directory/core/pair_entries.h"

std::vector<PairedRow> PairEntries(const FileEntryArray& source, const FileEntryArray& master,
                                   const PairStatus& pairStatus)
{
    std::vector<PairedRow> rows;
    rows.reserve(source.size() > master.size() ? source.size() : master.size());
    size_t i = 0;
    size_t j = 0;
    while (i < source.size() || j < master.size()) {
        FileEntry* s = i < source.size() ? source[i] : nullptr;
        FileEntry* m = j < master.size() ? master[j] : nullptr;
        // A missing entry sorts after every present one. Names equal but for
        // case pair; two unreadable names never do (the Source one goes first).
        int order = !s ? 1 : !m ? -1 : IsSameFile(*s, *m) ? 0 : CompareFileEntries(*s, *m) > 0 ? 1 : -1;
        PairedRow row;
        if (order < 0) {
            row.source = s;
            s->status = 1;
            ++i;
        } else if (order > 0) {
            row.master = m;
            m->status = 1;
            ++j;
        } else {
            row.source = s;
            row.master = m;
            int status = pairStatus(*s, *m);
            s->status = status;
            m->status = status;
            ++i;
            ++j;
        }
        rows.push_back(row);
    }
    return rows;
}
