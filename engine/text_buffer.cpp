#include "text_buffer.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

#include "engine/large_blocks.h"
#include "engine/line_scan.h"
#include "framework/exceptions.h"
#include "framework/file.h"

namespace {

constexpr char CTRL_Z = 0x1A;

struct FreeDeleter {
    void operator()(void* block) const { std::free(block); }
};
using Block = std::unique_ptr<char, FreeDeleter>;

// Room for the loaded bytes, the CR LF that loading may append, and all of it
// still addressable through 29-bit offsets.
bool FitsStore(uint64_t size)
{
    return size <= TEXT_STORE_LIMIT - 2;
}

Block AllocateStore(uint32_t capacity)
{
    Block store(static_cast<char*>(AllocateLargeBlock(size_t(capacity) + 2)));
    if (!store)
        AfxThrowMemoryException();
    return store;
}

// Finds the end of the line starting at pos: the line's length without its
// terminator goes to *length, the start of the next line is returned. Lines
// end at LF, with a CR just before it as part of the terminator, exactly as
// loading splits them (SetRow): a row's text, edited or not, put back with a
// line break is one row again, whatever lone CRs it holds.
size_t NextLine(std::string_view text, size_t pos, uint32_t* length)
{
    size_t lineFeed = text.find('\n', pos);
    if (lineFeed == std::string_view::npos) {
        *length = static_cast<uint32_t>(text.size() - pos);
        return text.size();
    }
    size_t end = lineFeed;
    if (end > pos && text[end - 1] == '\r')
        --end;
    *length = static_cast<uint32_t>(end - pos);
    return lineFeed + 1;
}

// Loading copies or reads the bytes in pieces of this size and scans each
// piece at once, while it is still in the cache. A multiple of the scan's
// 64-byte blocks.
constexpr uint32_t LOAD_PIECE = 128 * 1024;

// Copies length bytes into the store a piece at a time, each scanned as it lands.
void CopyAndScan(char* store, const char* bytes, uint32_t length, LineScan& scan)
{
    for (uint32_t done = 0; done < length;) {
        uint32_t piece = std::min(LOAD_PIECE, length - done);
        std::memcpy(store + done, bytes + done, piece);
        done += piece;
        scan.Feed(store, done);
    }
}

uint32_t CountLines(std::string_view text)
{
    uint32_t lines = 0;
    uint32_t length;
    for (size_t pos = 0; pos < text.size(); pos = NextLine(text, pos, &length))
        ++lines;
    return lines;
}

} // namespace

TextBuffer::~TextBuffer()
{
    std::free(text);
    std::free(lineOffsets);
    std::free(rows);
}

bool TextBuffer::Load(const std::string& fileName)
{
    try {
        CFile file(fileName, CFile::modeRead | CFile::shareDenyWrite);
        uint64_t size = file.GetLength();
        if (!FitsStore(size))
            return false;
        uint32_t wanted = static_cast<uint32_t>(size);
        uint32_t capacity = wanted + wanted / 8;
        Block store = AllocateStore(capacity);
        LineScan scan(wanted);
        // A file that shrank since GetLength keeps only the bytes really read.
        uint32_t got = 0;
        while (got < wanted) {
            uint32_t piece = std::min(LOAD_PIECE, wanted - got);
            uint32_t read = file.Read(store.get() + got, piece);
            got += read;
            scan.Feed(store.get(), got);
            if (read < piece)
                break;
        }
        file.Close();
        return AdoptFile(store.release(), capacity, got, scan);
    } catch (const CException&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool TextBuffer::LoadFromMemory(const char* data, size_t size)
{
    if (!FitsStore(size))
        return false;
    try {
        uint32_t length = static_cast<uint32_t>(size);
        uint32_t capacity = length + length / 8;
        Block store = AllocateStore(capacity);
        LineScan scan(length);
        CopyAndScan(store.get(), data, length, scan);
        return AdoptFile(store.release(), capacity, length, scan);
    } catch (const CException&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool TextBuffer::LoadStore(std::string_view store, FileEncoding storeEncoding)
{
    if (!FitsStore(store.size()))
        return false;
    try {
        uint32_t length = static_cast<uint32_t>(store.size());
        uint32_t capacity = length + length / 8;
        Block block = AllocateStore(capacity);
        LineScan scan(length);
        CopyAndScan(block.get(), store.data(), length, scan);
        return Adopt(block.release(), capacity, length, storeEncoding, scan);
    } catch (const CException&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// Takes over a file's bytes as read and scanned: finds their encoding and
// brings them to the store's form (no byte-order mark; UTF-16 as UTF-8)
// before Adopt.
bool TextBuffer::AdoptFile(char* fileBlock, uint32_t capacity, uint32_t size, LineScan& scan)
{
    Block bytes(fileBlock);
    FileEncoding found;
    if (scan.PlainAscii())
        found.kind = g_codePages.processUtf8 ? EncodingKind::Utf8 : EncodingKind::Legacy;
    else
        found = DetectEncoding(bytes.get(), size, g_codePages.processUtf8);
    uint32_t mark = static_cast<uint32_t>(ByteOrderMarkLength(found));
    if (found.kind == EncodingKind::Utf16Le || found.kind == EncodingKind::Utf16Be) {
        std::string converted =
            Utf16BytesToStore(bytes.get() + mark, size - mark, found.kind == EncodingKind::Utf16Be);
        bytes.reset();
        return LoadStore(converted, found);
    }
    if (mark) {
        std::memmove(bytes.get(), bytes.get() + mark, size - mark);
        size -= mark;
        scan.DropLeading(mark);
    }
    return Adopt(bytes.release(), capacity, size, found, scan);
}

// Takes over a freshly read store whose first size bytes the scan has
// indexed: applies the fix-ups of loading and only then replaces whatever the
// buffer held.
bool TextBuffer::Adopt(char* storeBlock, uint32_t capacity, uint32_t size, FileEncoding storeEncoding,
                       LineScan& scan)
{
    Block store(storeBlock);
    char* bytes = store.get();
    uint32_t length = size;
    // A final Ctrl+Z follows the last LF, so no scanned line changes.
    if (length > 0 && bytes[length - 1] == CTRL_Z)
        --length;
    if (length == 0 || bytes[length - 1] != '\n') {
        bytes[length++] = '\r';
        bytes[length++] = '\n';
        scan.AddLine(length);
    }

    const uint32_t lines = scan.LineFeeds();
    uint32_t* offsets = scan.TakeOffsets();
    assert(offsets[lines] == length);
    // Counted as if every line ended in a two-byte terminator.
    int32_t longest = 0;
    for (uint32_t line = 0; line < lines; ++line)
        longest = std::max(longest, static_cast<int32_t>(offsets[line + 1] - offsets[line]) - 2);

    std::free(text);
    std::free(lineOffsets);
    std::free(rows);
    text = store.release();
    textCapacity = capacity;
    textUsed = length;
    dataLength = length;
    lineOffsets = offsets;
    lineCount = lines;
    maxLineLength = longest;
    rows = nullptr;
    rowCount = 0;
    rowCapacity = 0;
    encoding = storeEncoding;
    return true;
}

bool TextBuffer::AllocateRows(uint32_t count)
{
    uint64_t capacity = uint64_t(count) + count / 4;
    // The table must always hold count rows, even where the quarter overflows.
    if (capacity > UINT32_MAX)
        capacity = count;
    uint64_t bytes = capacity * sizeof(DisplayRow);
    if (bytes > SIZE_MAX)
        return false;
    auto* table = static_cast<DisplayRow*>(AllocateLargeBlock(size_t(bytes)));
    if (!table)
        return false;
    std::free(rows);
    rows = table;
    rowCount = count;
    rowCapacity = static_cast<uint32_t>(capacity);
    return true;
}

CString TextBuffer::GetLineText(uint32_t row) const
{
    if (row >= rowCount || rows[row].length == 0)
        return CString();
    return CString(text + (rows[row].flagsAndOffset & ROW_OFFSET_MASK), rows[row].length);
}

bool TextBuffer::HasFileLine(uint32_t row) const
{
    return row < rowCount && (rows[row].flagsAndOffset & ROW_FILE_LINE) != 0;
}

bool TextBuffer::IsChangedLine(uint32_t row) const
{
    const uint32_t both = ROW_DIFFERS | ROW_FILE_LINE;
    return row < rowCount && (rows[row].flagsAndOffset & both) == both;
}

bool TextBuffer::IsFiller(uint32_t row) const
{
    return row >= rowCount || (rows[row].flagsAndOffset & ROW_FILLER) != 0;
}

uint32_t TextBuffer::MarkFiller(uint32_t row)
{
    if (row < rowCount)
        rows[row].flagsAndOffset |= ROW_FILLER;
    return row;
}

uint32_t TextBuffer::GetLineNumber(uint32_t row) const
{
    return row < rowCount ? rows[row].lineNumber : NO_LINE;
}

std::unique_ptr<EditRecord> TextBuffer::ReplaceRows(uint32_t first, uint32_t count, std::string_view newText)
{
    first = std::min(first, rowCount);
    count = std::min(count, rowCount - first);

    // Every check and allocation comes before the first change, so a failure
    // leaves store and table exactly as they were.
    if (newText.size() > TEXT_STORE_LIMIT - textUsed)
        AfxThrowMemoryException();
    uint32_t length = static_cast<uint32_t>(newText.size());
    uint32_t lines = CountLines(newText);
    uint64_t newRowCount = uint64_t(rowCount) - count + lines;
    if (lines > count && newRowCount > EDIT_ROW_LIMIT)
        AfxThrowMemoryException();

    std::unique_ptr<EditRecord> record;
    try {
        record = std::make_unique<EditRecord>();
        record->entries.resize(size_t(count) + lines);
    } catch (const std::bad_alloc&) {
        AfxThrowMemoryException();
    } catch (const std::length_error&) {
        AfxThrowMemoryException();
    }
    if (length && textUsed + length > textCapacity)
        GrowText(textUsed + length);
    if (lines > count)
        GrowRows(static_cast<uint32_t>(newRowCount), EDIT_ROW_LIMIT);

    record->firstRow = first;
    record->restoreCount = count;
    record->removeCount = lines;
    DisplayRow* entries = record->entries.data();
    if (count)
        std::memcpy(entries, rows + first, size_t(count) * sizeof(DisplayRow));
    if (length)
        std::memcpy(text + textUsed, newText.data(), length);
    DisplayRow* added = entries + count;
    uint32_t lineLength;
    size_t pos = 0;
    while (pos < length) {
        size_t next = NextLine(newText, pos, &lineLength);
        *added++ = {textUsed + static_cast<uint32_t>(pos), NO_LINE, lineLength};
        pos = next;
    }
    textUsed += length;
    SpliceRows(first, count, entries + count, lines);
    return record;
}

EditRecord& TextBuffer::ApplyEdit(EditRecord& record)
{
    assert(record.entries.size() == size_t(record.restoreCount) + record.removeCount);
    assert(record.firstRow <= rowCount && record.removeCount <= rowCount - record.firstRow);
    SpliceRows(record.firstRow, record.removeCount, record.entries.data(), record.restoreCount);
    uint32_t inserted = record.restoreCount;
    std::swap(record.restoreCount, record.removeCount);
    // The rows the table held before come first again, ready for the reverse.
    std::rotate(record.entries.begin(), record.entries.begin() + inserted, record.entries.end());
    return record;
}

void TextBuffer::SpliceRows(uint32_t first, uint32_t remove, const DisplayRow* newRows, uint32_t insert)
{
    assert(first <= rowCount && remove <= rowCount - first);
    uint64_t newCount = uint64_t(rowCount) - remove + insert;
    if (newCount > UINT32_MAX)
        AfxThrowMemoryException();
    // An undo restores rows the table held before, so it stays within what an
    // edit may reach unless the table was already larger.
    GrowRows(static_cast<uint32_t>(newCount), std::max(EDIT_ROW_LIMIT, static_cast<uint32_t>(newCount)));
    uint32_t following = rowCount - first - remove;
    if (insert != remove && following > 0)
        std::memmove(rows + first + insert, rows + first + remove, size_t(following) * sizeof(DisplayRow));
    if (insert)
        std::memcpy(rows + first, newRows, size_t(insert) * sizeof(DisplayRow));
    rowCount = static_cast<uint32_t>(newCount);
}

void TextBuffer::GrowText(uint32_t need)
{
    uint64_t capacity = std::max<uint64_t>(uint64_t(textCapacity) + textCapacity / 4, need);
    // Bytes past the limit could never be addressed by a row.
    capacity = std::min<uint64_t>(capacity, TEXT_STORE_LIMIT);
    auto* grown = static_cast<char*>(std::realloc(text, size_t(capacity)));
    if (!grown)
        AfxThrowMemoryException();
    text = grown;
    textCapacity = static_cast<uint32_t>(capacity);
}

void TextBuffer::GrowRows(uint32_t need, uint32_t limit)
{
    if (need <= rowCapacity)
        return;
    uint64_t capacity = std::max<uint64_t>(uint64_t(rowCapacity) + rowCapacity / 4, need);
    capacity = std::min<uint64_t>(capacity, std::max(limit, need));
    uint64_t bytes = capacity * sizeof(DisplayRow);
    if (bytes > SIZE_MAX)
        AfxThrowMemoryException();
    auto* grown = static_cast<DisplayRow*>(std::realloc(rows, size_t(bytes)));
    if (!grown)
        AfxThrowMemoryException();
    rows = grown;
    rowCapacity = static_cast<uint32_t>(capacity);
}
