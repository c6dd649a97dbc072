// The line index of loaded bytes, made in the same pass that tells whether
// they are plain ASCII. Loading feeds the bytes in pieces as they arrive, so
// each piece is scanned while it is still in the cache.
#pragma once

#include <cstdint>

class LineScan {
public:
    // expectedLength sizes the first offset table; it grows as needed.
    explicit LineScan(uint32_t expectedLength);
    ~LineScan();
    LineScan(const LineScan&) = delete;
    LineScan& operator=(const LineScan&) = delete;

    // Scans bytes up to end; each call goes on where the last one stopped,
    // over the same block. Throws CMemoryException when the table cannot grow.
    void Feed(const char* bytes, uint32_t end);

    uint32_t LineFeeds() const { return m_count - 1; }
    // Every byte so far is ASCII other than NUL: such bytes can be neither
    // UTF-16 (which needs zero bytes) nor hold a byte-order mark or a
    // multi-byte character, so their encoding is known without another pass.
    bool PlainAscii() const { return !m_highOrNul; }

    // The first count bytes (a byte-order mark, which holds no LF) are gone.
    void DropLeading(uint32_t count);
    // One more line, ending at end: the terminator loading appends.
    void AddLine(uint32_t end);
    // LineFeeds() + 1 entries: 0, then the offset just past each LF. The
    // caller frees them with std::free.
    uint32_t* TakeOffsets();

private:
    void Reserve(uint32_t more);

    uint32_t* m_offsets = nullptr;
    uint32_t m_count = 1; // entries in use, the leading 0 included
    uint32_t m_capacity = 0;
    uint32_t m_scanned = 0;
    bool m_highOrNul = false;
};
