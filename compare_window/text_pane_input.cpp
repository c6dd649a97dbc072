// The caret, the selection and their input: keys, mouse and focus.
#include <algorithm>

#include "compare_window/columns.h"
#include "compare_window/compare_window.h"
#include "compare_window/text_pane.h"

void TextPane::MoveCaret(int column, int row, int flags)
{
    const int targetRow = std::clamp(row, 0, static_cast<int>(buffer.rowCount));
    // columnLimit counts a tab as one cell; a row whose tabs make it wider
    // must still let the caret reach its end.
    const std::string_view text = RowText(targetRow);
    const int limit = std::max(columnLimit, ColumnOfIndex(text, static_cast<int>(text.size()), StoreUtf8()));
    const TextPosition target = { std::clamp(column, 0, limit), targetRow };
    // A selection is on screen only in the pane that has the focus.
    const bool focused = HasFocus();
    if (flags & EXTEND_SELECTION) {
        if (focused)
            InvertRange(caret, target);
    } else {
        if (focused && HasSelection())
            InvertRange(anchor, caret);
        anchor = target;
    }
    caret = target;

    if (compareWindow) {
        const int page = VisibleRows();
        if (target.row < topRow)
            compareWindow->ScrollToRow(SB_THUMBPOSITION, target.row);
        else if (page > 0 && target.row >= topRow + page)
            compareWindow->ScrollToRow(SB_THUMBPOSITION, target.row - page + 1);
    }
    const int visible = VisibleColumns();
    if (target.column < firstColumn)
        ScrollColumns(SB_THUMBPOSITION, target.column);
    else if (target.column - firstColumn > visible)
        ScrollColumns(SB_THUMBPOSITION, target.column - visible);

    ShowLineNumber();
    if (focused)
        PlaceSystemCaret();
    // The other pane clamps the same request to its own rows and columns.
    if ((flags & MOVE_BOTH) && otherPane)
        otherPane->MoveCaret(column, row, 0);
}

void TextPane::ShowLineNumber()
{
    if (!compareWindow || statusPaneIndex < 0)
        return;
    CString text;
    const uint32_t row = static_cast<uint32_t>(caret.row);
    if (buffer.HasFileLine(row))
        text = FormatString("%c %5.5d", sideLetter, static_cast<int>(buffer.GetLineNumber(row)) + 1);
    compareWindow->SetIndicatorText(statusPaneIndex, text);
}

void TextPane::PlaceSystemCaret()
{
    ::SetCaretPos((caret.column - firstColumn) * charWidth, (caret.row - topRow) * rowHeight);
}

TextPosition TextPane::PointToPosition(int x, int y) const
{
    // Truncation toward zero: a point less than a row above the pane maps to topRow.
    return { x / std::max(1, charWidth) + firstColumn, y / std::max(1, rowHeight) + topRow };
}

LRESULT TextPane::OnSetFocus(WPARAM, LPARAM)
{
    Default();
    if (caption && caption->m_hWnd) {
        ::InvalidateRect(caption->m_hWnd, nullptr, TRUE);
        ::UpdateWindow(caption->m_hWnd);
    }
    ::CreateCaret(m_hWnd, nullptr, 2, rowHeight);
    PlaceSystemCaret();
    ::ShowCaret(m_hWnd);
    if (compareWindow)
        compareWindow->activePane = this;
    if (HasSelection())
        InvertRange(anchor, caret);
    return 0;
}

LRESULT TextPane::OnKillFocus(WPARAM, LPARAM)
{
    Default();
    if (caption && caption->m_hWnd) {
        ::InvalidateRect(caption->m_hWnd, nullptr, TRUE);
        ::UpdateWindow(caption->m_hWnd);
    }
    ::DestroyCaret();
    if (HasSelection())
        InvertRange(anchor, caret);
    return 0;
}

LRESULT TextPane::OnMouseActivate(WPARAM, LPARAM)
{
    if (!HasFocus())
        ::SetFocus(m_hWnd);
    return MA_ACTIVATE;
}

// Every key, Tab and Enter included, belongs to the pane.
LRESULT TextPane::OnGetDlgCode(WPARAM, LPARAM)
{
    return DLGC_WANTALLKEYS;
}

LRESULT TextPane::OnKeyDown(WPARAM wParam, LPARAM lParam)
{
    const int repeat = std::max(1, static_cast<int>(LOWORD(lParam)));
    const bool control = ::GetKeyState(VK_CONTROL) < 0;
    const int flags = MOVE_BOTH | (::GetKeyState(VK_SHIFT) < 0 ? EXTEND_SELECTION : 0);
    const std::string_view text = RowText(caret.row);
    const bool utf8 = StoreUtf8();
    switch (wParam) {
    case VK_PRIOR:
        MoveCaret(caret.column, caret.row - VisibleRows(), flags);
        break;
    case VK_NEXT:
        MoveCaret(caret.column, caret.row + VisibleRows(), flags);
        break;
    case VK_END:
        if (control)
            MoveCaret(0, compareWindow ? compareWindow->totalRows - 1 : static_cast<int>(buffer.rowCount) - 1,
                      flags);
        else
            MoveCaret(ColumnOfIndex(text, static_cast<int>(text.size()), utf8), caret.row, flags);
        break;
    case VK_HOME:
        MoveCaret(0, control ? 0 : caret.row, flags);
        break;
    case VK_LEFT:
        MoveCaret(ColumnOfIndex(text, StepCharacters(text, IndexOfColumn(text, caret.column, utf8), -repeat, utf8), utf8),
                  caret.row, flags);
        break;
    case VK_RIGHT:
        MoveCaret(ColumnOfIndex(text, StepCharacters(text, IndexOfColumn(text, caret.column, utf8), repeat, utf8), utf8),
                  caret.row, flags);
        break;
    case VK_UP:
        MoveCaret(caret.column, caret.row - repeat, flags);
        break;
    case VK_DOWN:
        MoveCaret(caret.column, caret.row + repeat, flags);
        break;
    case VK_INSERT:
        if (compareWindow) {
            compareWindow->insertMode = 1 - compareWindow->insertMode;
            compareWindow->sourcePane.insertMode = compareWindow->insertMode;
            compareWindow->masterPane.insertMode = compareWindow->insertMode;
        }
        break;
    case VK_DELETE:
        DeleteCharacters(+1, repeat);
        break;
    default:
        return Default();
    }
    return 0;
}

LRESULT TextPane::OnLButtonDown(WPARAM, LPARAM lParam)
{
    if (!HasFocus())
        ::SetFocus(m_hWnd);
    const TextPosition position = PointToPosition(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    MoveCaret(position.column, position.row, MOVE_BOTH);
    ::SetCapture(m_hWnd);
    return 0;
}

// A drag outside the pane scrolls one step per mouse move (no timer).
LRESULT TextPane::OnMouseMove(WPARAM, LPARAM lParam)
{
    if (::GetCapture() != m_hWnd)
        return 0;
    const TextPosition position = PointToPosition(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    MoveCaret(position.column, position.row, MOVE_BOTH | EXTEND_SELECTION);
    return 0;
}

LRESULT TextPane::OnLButtonUp(WPARAM, LPARAM)
{
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    return 0;
}

// The button-down of the same double-click has already placed the caret.
LRESULT TextPane::OnLButtonDblClk(WPARAM, LPARAM)
{
    if (compareWindow)
        compareWindow->SelectDifference();
    return 0;
}
