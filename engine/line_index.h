// The lines of one side ordered by (hash, line number): the lines that may
// equal a given line, in file order, found by binary search. Long searches
// use it to jump to the first equal line of a whole run of candidates.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

class LineIndex {
public:
    static constexpr uint32_t NONE = UINT32_MAX;

    bool Built() const { return m_built; }

    // Indexes lines [from, to) with their hashes (hash(line) gives each).
    template <typename Hash>
    void Build(uint32_t from, uint32_t to, Hash hash)
    {
        m_keys.clear();
        m_keys.reserve(to > from ? to - from : 0);
        for (uint32_t line = from; line < to; ++line)
            m_keys.push_back(Key(hash(line), line));
        std::sort(m_keys.begin(), m_keys.end());
        m_built = true;
    }

    // The first line in [from, limit) whose hash is h and for which equal(line)
    // holds, or NONE. Lines before the indexed range are never asked for.
    template <typename Equal>
    uint32_t FirstEqual(uint32_t h, uint32_t from, uint32_t limit, Equal equal) const
    {
        auto it = std::lower_bound(m_keys.begin(), m_keys.end(), Key(h, from));
        for (; it != m_keys.end() && static_cast<uint32_t>(*it >> 32) == h; ++it) {
            uint32_t line = static_cast<uint32_t>(*it);
            if (line >= limit)
                break;
            if (equal(line))
                return line;
        }
        return NONE;
    }

private:
    static uint64_t Key(uint32_t h, uint32_t line) { return (uint64_t(h) << 32) | line; }

    std::vector<uint64_t> m_keys;
    bool m_built = false;
};
