// Editing a pane: every change is one ReplaceSelection, recorded for undo.
#include "text_pane.h"

#include <algorithm>

#include "common/process_values.h"
#include "compare_window/columns.h"
#include "compare_window/compare_window.h"
#include "compare_window/row_text.h"

namespace {

std::string TextOfRow(const TextBuffer& buffer, int row)
{
    return buffer.GetLineText(static_cast<uint32_t>(row));
}

int Length(const std::string& text)
{
    return static_cast<int>(text.size());
}

// The facing rows' changed-character marks follow this pane's text, so they
// repaint with it: the rows of band, or the whole pane.
void InvalidateFacingRows(const TextPane& pane, const RECT* band)
{
    if (!g_values.showChangedCharacters || !pane.otherPane || !pane.otherPane->m_hWnd)
        return;
    RECT rows = { 0, band ? band->top : 0, 0x7FFF, band ? band->bottom : 0x7FFF };
    ::InvalidateRect(pane.otherPane->m_hWnd, &rows, TRUE);
}

} // namespace

void TextPane::ReplaceSelection(const std::string& text, bool typing)
{
    TextPosition start, end;
    GetSelection(start, end);
    if (typing && insertMode == 0)
        end.column += Length(text); // typed characters replace as many following cells

    std::string first = TextOfRow(buffer, start.row);
    int a = IndexOfColumn(first, start.column);
    bool partial = a != 0;
    if (a > Length(first))
        first.append(static_cast<size_t>(a - Length(first)), ' ');
    std::string replacement = first.substr(0, static_cast<size_t>(a)) + text;

    std::string last = TextOfRow(buffer, end.row);
    int d = IndexOfColumn(last, end.column);
    if (d != 0 || start.row == end.row)
        partial = true;
    int tail = std::max(0, Length(last) - d);
    int lines = static_cast<int>(std::count(replacement.begin(), replacement.end(), '\n'));
    int replaced = end.row - start.row;
    // Whole rows replaced by nothing or by whole lines: the caret goes to the
    // start of the row after them.
    bool caretAtRowStart = false;
    if (partial) {
        replacement += last.substr(last.size() - static_cast<size_t>(tail));
        replacement += "\r\n";
        replaced += 1;
    } else {
        if (replacement.empty() || replacement.back() == '\n')
            caretAtRowStart = true;
        else
            replacement += "\r\n";
        tail = 0;
    }

    const uint32_t rowsBefore = buffer.rowCount;
    UndoEntry entry;
    entry.record = buffer.ReplaceRows(static_cast<uint32_t>(start.row), static_cast<uint32_t>(replaced), replacement);
    entry.caretBefore = caret;
    // The saved state lay among the redo entries this edit drops.
    if (undoList.size() < savedUndoCount)
        savedUndoCount = SAVED_STATE_GONE;
    undoList.push_back(std::move(entry));
    // A redo recorded against the rows before this edit would corrupt them now.
    redoList.clear();
    InvalidateCaption();

    int row = start.row + lines;
    std::string edited = TextOfRow(buffer, row);
    MoveCaret(caretAtRowStart ? 0 : ColumnOfIndex(edited, Length(edited) - tail), row, 0);
    undoList.back().caretAfter = caret;

    // Measured after the caret move, which may have scrolled the view; the rows
    // below move only when the edit changed the row count.
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    RECT band = client;
    band.top = (start.row - topRow) * rowHeight;
    if (buffer.rowCount == rowsBefore)
        band.bottom = (start.row + std::max(replaced, 1) - topRow) * rowHeight;
    if (band.top < client.bottom && band.bottom > 0) {
        ::InvalidateRect(m_hWnd, &band, TRUE);
        ::UpdateWindow(m_hWnd);
        InvalidateFacingRows(*this, &band);
    }
}

HGLOBAL TextPane::RowsToText(int startColumn, int startRow, int endColumn, int endRow, bool includeFillers) const
{
    std::string text = RowsToString(buffer, startColumn, startRow, endColumn, endRow, includeFillers);
    HGLOBAL block = ::GlobalAlloc(GMEM_DDESHARE | GMEM_MOVEABLE, text.size() + 1);
    if (!block)
        return nullptr;
    char* bytes = static_cast<char*>(::GlobalLock(block));
    if (!bytes) {
        ::GlobalFree(block);
        return nullptr;
    }
    std::copy(text.begin(), text.end(), bytes);
    bytes[text.size()] = '\0';
    ::GlobalUnlock(block);
    return block;
}

// Character input: printable characters and tabs are typed, Enter opens a
// row indented like the caret's row, Backspace deletes backwards.
LRESULT TextPane::OnChar(WPARAM wParam, LPARAM lParam)
{
    int count = std::max(1, static_cast<int>(LOWORD(lParam)));
    unsigned char character = static_cast<unsigned char>(wParam);
    if ((character >= 0x20 && character <= 0x7E) || character == '\t') {
        ReplaceSelection(std::string(static_cast<size_t>(count), static_cast<char>(character)), true);
    } else if (character == '\r') {
        std::string text = TextOfRow(buffer, caret.row);
        int k = IndexOfColumn(text, caret.column);
        int tabs = 0;
        while (tabs < k && tabs < Length(text) && text[static_cast<size_t>(tabs)] == '\t')
            ++tabs;
        std::string unit = "\r\n" + std::string(static_cast<size_t>(tabs), '\t');
        std::string units;
        for (int repeat = 0; repeat < count; ++repeat)
            units += unit;
        ReplaceSelection(units, false);
    } else if (character == '\b') {
        DeleteCharacters(-1, count);
    } else {
        return Default();
    }
    return 0;
}

void TextPane::DeleteCharacters(int direction, int count)
{
    if (HasSelection()) {
        ReplaceSelection(std::string(), false);
        return;
    }
    const int rows = static_cast<int>(buffer.rowCount);
    auto lengthOf = [&](int row) { return static_cast<int>(RowText(row).size()); };
    int row = caret.row;
    int k = IndexOfColumn(RowText(row), caret.column);
    if (direction < 0) {
        // Backspace only steps the caret back through the virtual space after
        // a row, and from the row past the last line (which has no line break
        // to delete) to the end of the last line.
        const int back = std::min(count, std::max(0, k - lengthOf(row)));
        k -= back;
        count -= back;
        bool crossed = count > 0 && k == 0 && row >= rows && row > 0;
        if (crossed) {
            --row;
            k = lengthOf(row);
            --count;
        }
        if (back > 0 || crossed)
            MoveCaret(ColumnOfIndex(RowText(row), k), row, MOVE_BOTH);
    }
    int endRow = row;
    int endIndex = k;
    for (; count > 0; --count) {
        if (direction < 0) {
            if (endIndex > 0) {
                --endIndex;
            } else if (endRow > 0) {
                --endRow; // across the line break into the previous row
                endIndex = lengthOf(endRow);
            } else {
                break;
            }
        } else if (endIndex < lengthOf(endRow)) {
            ++endIndex;
        } else if (endRow + 1 < rows) {
            ++endRow; // the line break, and any virtual space before it
            endIndex = 0;
        } else {
            break;
        }
    }
    // At the start of the file, or at or past the end of the last line:
    // nothing to delete, so no edit and no undo entry.
    if (endRow == row && endIndex == k)
        return;
    MoveCaret(ColumnOfIndex(RowText(endRow), endIndex), endRow, EXTEND_SELECTION);
    ReplaceSelection(std::string(), false);
}

bool TextPane::CopySelection()
{
    if (!HasSelection() || !::OpenClipboard(m_hWnd))
        return false;
    bool copied = false;
    if (::EmptyClipboard()) {
        TextPosition start, end;
        GetSelection(start, end);
        if (HGLOBAL text = RowsToText(start.column, start.row, end.column, end.row, false)) {
            copied = ::SetClipboardData(CF_TEXT, text) != nullptr;
            if (!copied)
                ::GlobalFree(text);
        }
    }
    ::CloseClipboard();
    return copied;
}

LRESULT TextPane::OnCopy(WPARAM, LPARAM)
{
    CopySelection();
    return 0;
}

// Deletes only what is safe on the clipboard.
LRESULT TextPane::OnCut(WPARAM, LPARAM)
{
    if (!HasSelection())
        return 0;
    if (CopySelection())
        ReplaceSelection(std::string(), false);
    else
        ::MessageBeep(MB_ICONHAND);
    return 0;
}

LRESULT TextPane::OnPaste(WPARAM, LPARAM)
{
    if (!::OpenClipboard(m_hWnd))
        return 0;
    bool available = false;
    std::string pasted;
    if (::IsClipboardFormatAvailable(CF_TEXT)) {
        if (HGLOBAL data = ::GetClipboardData(CF_TEXT)) {
            if (const char* text = static_cast<const char*>(::GlobalLock(data))) {
                // The block may lack its terminating zero; never read past it.
                size_t size = ::GlobalSize(data);
                pasted.assign(text, std::find(text, text + size, '\0'));
                ::GlobalUnlock(data);
                available = true;
            }
        }
    }
    // Closed before the edit, which may fail: the clipboard must not stay ours.
    ::CloseClipboard();
    if (available)
        ReplaceSelection(pasted, false);
    return 0;
}

void TextPane::Undo()
{
    if (undoList.empty())
        return;
    UndoEntry entry = std::move(undoList.back());
    undoList.pop_back();
    buffer.ApplyEdit(*entry.record);
    TextPosition before = entry.caretBefore;
    redoList.push_back(std::move(entry));
    MoveCaret(before.column, before.row, MOVE_BOTH);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    InvalidateFacingRows(*this, nullptr);
    InvalidateCaption();
}

void TextPane::Redo()
{
    if (redoList.empty())
        return;
    UndoEntry entry = std::move(redoList.back());
    redoList.pop_back();
    buffer.ApplyEdit(*entry.record);
    // The filler marks a merge set are not part of the rows' record.
    for (int row : entry.fillerRows)
        buffer.MarkFiller(static_cast<uint32_t>(row));
    TextPosition after = entry.caretAfter;
    undoList.push_back(std::move(entry));
    MoveCaret(after.column, after.row, MOVE_BOTH);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    InvalidateFacingRows(*this, nullptr);
    InvalidateCaption();
}

void TextPane::MarkFillerRow(int row)
{
    buffer.MarkFiller(static_cast<uint32_t>(row));
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    RECT band = { client.left, (row - topRow) * rowHeight, client.right, (row - topRow + 1) * rowHeight };
    ::InvalidateRect(m_hWnd, &band, TRUE);
    ::UpdateWindow(m_hWnd);
    InvalidateFacingRows(*this, &band);
}

void TextPane::InvalidateCaption()
{
    if (caption && caption->m_hWnd)
        ::InvalidateRect(caption->m_hWnd, nullptr, TRUE);
}
