// Editing a pane: every change is one ReplaceSelection, recorded for undo.
#include "text_pane.h"

#include <algorithm>

#include "common/process_values.h"
#include "compare_window/columns.h"
#include "compare_window/compare_window.h"

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
    const bool utf8 = StoreUtf8();
    if (typing && insertMode == 0)
        end.column += CharacterCount(text, utf8); // typed characters replace as many following cells

    std::string first = TextOfRow(buffer, start.row);
    int a = IndexOfColumn(first, start.column, utf8);
    bool partial = a != 0;
    if (a > Length(first))
        first.append(static_cast<size_t>(a - Length(first)), ' ');
    std::string replacement = first.substr(0, static_cast<size_t>(a)) + text;

    std::string last = TextOfRow(buffer, end.row);
    int d = IndexOfColumn(last, end.column, utf8);
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
    MoveCaret(caretAtRowStart ? 0 : ColumnOfIndex(edited, Length(edited) - tail, utf8), row, 0);
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

namespace {

bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Any character from the space up, except DEL and the C1 controls; tabs too.
bool IsTypable(wchar_t unit)
{
    return unit == '\t' || (unit >= 0x20 && unit != 0x7F && !(unit >= 0x80 && unit <= 0x9F));
}

} // namespace

// Character input (UTF-16: the pane is a Unicode window): printable
// characters and tabs are typed, a surrogate pair arrives as two messages and
// is typed as one character, Enter opens a row indented like the caret's row,
// Backspace deletes backwards.
LRESULT TextPane::OnChar(WPARAM wParam, LPARAM lParam)
{
    int count = std::max(1, static_cast<int>(LOWORD(lParam)));
    const wchar_t unit = static_cast<wchar_t>(wParam);
    const wchar_t high = pendingHighSurrogate;
    pendingHighSurrogate = 0;
    if (IsHighSurrogate(unit)) {
        pendingHighSurrogate = unit;
    } else if (IsLowSurrogate(unit)) {
        if (high)
            TypeCharacters(std::u16string{ static_cast<char16_t>(high), static_cast<char16_t>(unit) }, count);
    } else if (IsTypable(unit)) {
        TypeCharacters(std::u16string(1, static_cast<char16_t>(unit)), count);
    } else if (unit == '\r') {
        std::string text = TextOfRow(buffer, caret.row);
        int k = IndexOfColumn(text, caret.column, StoreUtf8());
        int tabs = 0;
        while (tabs < k && tabs < Length(text) && text[static_cast<size_t>(tabs)] == '\t')
            ++tabs;
        std::string unitText = "\r\n" + std::string(static_cast<size_t>(tabs), '\t');
        std::string units;
        for (int repeat = 0; repeat < count; ++repeat)
            units += unitText;
        ReplaceSelection(units, false);
    } else if (unit == '\b') {
        DeleteCharacters(-1, count);
    } else {
        return Default();
    }
    return 0;
}

void TextPane::TypeCharacters(const std::u16string& typed, int count)
{
    std::string stored;
    if (!Utf16ToStore(typed, StoreUtf8(), stored)) {
        ::MessageBeep(MB_ICONHAND);
        return;
    }
    std::string repeated;
    for (int repeat = 0; repeat < count; ++repeat)
        repeated += stored;
    ReplaceSelection(repeated, true);
}

void TextPane::DeleteCharacters(int direction, int count)
{
    if (HasSelection()) {
        ReplaceSelection(std::string(), false);
        return;
    }
    const int rows = static_cast<int>(buffer.rowCount);
    const bool utf8 = StoreUtf8();
    auto lengthOf = [&](int row) { return static_cast<int>(RowText(row).size()); };
    int row = caret.row;
    int k = IndexOfColumn(RowText(row), caret.column, utf8);
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
            MoveCaret(ColumnOfIndex(RowText(row), k, utf8), row, MOVE_BOTH);
    }
    int endRow = row;
    int endIndex = k;
    for (; count > 0; --count) {
        if (direction < 0) {
            if (endIndex > 0) {
                endIndex = StepCharacters(RowText(endRow), endIndex, -1, utf8);
            } else if (endRow > 0) {
                --endRow; // across the line break into the previous row
                endIndex = lengthOf(endRow);
            } else {
                break;
            }
        } else if (endIndex < lengthOf(endRow)) {
            endIndex = StepCharacters(RowText(endRow), endIndex, 1, utf8);
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
    MoveCaret(ColumnOfIndex(RowText(endRow), endIndex, utf8), endRow, EXTEND_SELECTION);
    ReplaceSelection(std::string(), false);
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
