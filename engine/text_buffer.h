// One side of a file comparison: the loaded bytes, where each loaded line
// starts, and the table of display rows that panes draw, edit and print.
// The loaded text never moves; aligning, editing and undo only rewrite rows,
// and text added by editing is appended to the store and never removed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/text_encoding.h"
#include "framework/cstring.h"

class LineScan;

// Word 0 of a display row: three flags over the 29-bit offset of its text.
constexpr uint32_t ROW_DIFFERS = 0x80000000;
constexpr uint32_t ROW_FILE_LINE = 0x40000000;
constexpr uint32_t ROW_FILLER = 0x20000000;
constexpr uint32_t ROW_OFFSET_MASK = 0x1FFFFFFF;

// Line number of a row that editing inserted.
constexpr uint32_t NO_LINE = 0xFFFF;
// Line number to pass to SetRow for a filler row. Unlike NO_LINE it can never
// be the number of a loaded line, even in a file of more than 65535 lines.
constexpr uint32_t FILLER_LINE = 0xFFFFFFFF;

// Offsets live in 29 bits, so the store never holds more than this.
constexpr uint32_t TEXT_STORE_LIMIT = ROW_OFFSET_MASK;
// Editing may not grow a row table past this many rows.
constexpr uint32_t EDIT_ROW_LIMIT = 0xFFFF;

struct DisplayRow {
    uint32_t flagsAndOffset; // ROW_* flags | offset of the text in the store
    uint32_t lineNumber;     // loaded line, NO_LINE for inserted text, 0 for fillers
    uint32_t length;         // text length without the line terminator
};
static_assert(sizeof(DisplayRow) == 12, "rows are three 32-bit words");

inline bool operator==(const DisplayRow& a, const DisplayRow& b)
{
    return a.flagsAndOffset == b.flagsAndOffset && a.lineNumber == b.lineNumber && a.length == b.length;
}
inline bool operator!=(const DisplayRow& a, const DisplayRow& b) { return !(a == b); }

// The undo record of one row replacement. ApplyEdit turns it into its own
// reverse, so one record serves undo and redo alike.
struct EditRecord {
    uint32_t firstRow = 0;
    uint32_t restoreCount = 0; // rows the next ApplyEdit inserts at firstRow
    uint32_t removeCount = 0;  // rows the next ApplyEdit removes at firstRow
    // restoreCount rows to insert, then copies of the removeCount rows now in the table.
    std::vector<DisplayRow> entries;
};

// The fields are public so that line comparison, panes and printing can read
// them directly; change them only through the methods.
class TextBuffer {
public:
    TextBuffer() = default;
    ~TextBuffer();
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;

    // Reads the whole file. False when it cannot be opened or read, when it is
    // too large for the store, or when memory runs out; the buffer is then
    // left as it was. The file's encoding goes to `encoding`: a byte-order
    // mark is left out of the store (and written back by Save), UTF-16 is
    // held as UTF-8.
    bool Load(const std::string& fileName);
    // The same, from bytes already in memory (tests, fuzzing, tools).
    bool LoadFromMemory(const char* data, size_t size);
    // Bytes already in a store's form, taken as they are (no detection, no
    // conversion), with the fix-ups of loading: copies the engine makes.
    bool LoadStore(std::string_view store, FileEncoding storeEncoding);
    // Writes the rows, fillers left out, each with its own terminator, in the
    // file's encoding (with its byte-order mark, if it had one), to a
    // temporary file beside the file (one that did not exist before), which
    // then takes the file's place. False on any failure, with the file as it
    // was and the temporary file removed.
    bool Save(const std::string& fileName) const;

    // Makes an unset table of count rows. False, leaving the old table, when
    // the block cannot be had.
    bool AllocateRows(uint32_t count);
    // Fills a row from a loaded line; a line number at or beyond lineCount
    // (FILLER_LINE) makes a row of flags only. Rows past the end are ignored.
    void SetRow(uint32_t row, uint32_t lineNumber, uint32_t flags);

    CString GetLineText(uint32_t row) const;
    bool HasFileLine(uint32_t row) const;
    bool IsChangedLine(uint32_t row) const;   // false past the end
    bool IsFiller(uint32_t row) const;        // true past the end
    uint32_t MarkFiller(uint32_t row);        // returns row; no-op past the end
    uint32_t GetLineNumber(uint32_t row) const; // NO_LINE past the end

    // Replaces count rows from first by one inserted row per line of text.
    // Lines end at LF (a CR just before it belongs to the terminator) or at
    // the end of the text, as loaded lines do; a lone CR is text. Empty text
    // only removes. A range reaching past the table is cut at its end.
    // Throws CMemoryException, changing nothing, when memory runs out, when the
    // table would grow past EDIT_ROW_LIMIT, or when the store would pass
    // TEXT_STORE_LIMIT.
    std::unique_ptr<EditRecord> ReplaceRows(uint32_t first, uint32_t count, std::string_view text = {});
    // Undoes (or redoes) the edit the record describes and reverses the record.
    // The record must belong to the current state of the table.
    EditRecord& ApplyEdit(EditRecord& record);
    // Removes `remove` rows at first and inserts `insert` rows there, growing
    // the table if needed (CMemoryException, nothing changed, on failure).
    // newRows must not point into the table.
    void SpliceRows(uint32_t first, uint32_t remove, const DisplayRow* newRows, uint32_t insert);

    char* text = nullptr;
    uint32_t textCapacity = 0;
    uint32_t textUsed = 0;
    uint32_t dataLength = 0;
    uint32_t* lineOffsets = nullptr; // lineCount + 1 entries, the last is dataLength
    uint32_t lineCount = 0;
    int32_t maxLineLength = 0;
    DisplayRow* rows = nullptr;
    uint32_t rowCount = 0;
    uint32_t rowCapacity = 0;
    // How the file's bytes were read; its store holds StoreIsUtf8 text.
    FileEncoding encoding;

private:
    bool AdoptFile(char* fileBlock, uint32_t capacity, uint32_t size, LineScan& scan);
    bool Adopt(char* store, uint32_t capacity, uint32_t size, FileEncoding storeEncoding, LineScan& scan);
    void GrowText(uint32_t need);
    void GrowRows(uint32_t need, uint32_t limit);
};

// Inline: the comparison calls it once per row and side.
inline void TextBuffer::SetRow(uint32_t row, uint32_t lineNumber, uint32_t flags)
{
    if (row >= rowCount)
        return;
    DisplayRow& target = rows[row];
    if (lineNumber < lineCount) {
        uint32_t start = lineOffsets[lineNumber];
        uint32_t length = lineOffsets[lineNumber + 1] - start;
        if (length > 0 && text[start + length - 1] == '\n')
            --length;
        if (length > 0 && text[start + length - 1] == '\r')
            --length;
        target = {flags | start, lineNumber, length};
    } else {
        target = {flags, 0, 0};
    }
}

// Where Save writes first: "orvinta.tmp" in the file's directory, in the root
// of a bare drive ("c:name"), or in the current directory.
std::string TemporaryFileNameFor(const std::string& fileName);
