#include "text_pane.h"

#include <algorithm>
#include <cstring>

#include "common/phase_timing.h"
#include "common/shared_resources.h"
#include "compare_window/columns.h"
#include "compare_window/compare_window.h"
#include "compare_window/glyph_drawing.h"
#include "framework/scroll_bar.h"
#include "framework/dialog.h"
#include "framework/message_box.h"
#include "resources/resource.h"

namespace {

const char* const TEXT_PANE_CLASS = "ZelvaneTextPane";

// Inverts the part of a rectangle inside bounds; keeps far-off rows of a long
// selection from reaching GDI as huge co-ordinates.
void InvertClipped(HDC dc, int x, int y, int width, int height, const RECT& bounds)
{
    if (width <= 0 || height <= 0)
        return;
    RECT wanted = { x, y, x + width, y + height };
    RECT part;
    if (::IntersectRect(&part, &wanted, &bounds))
        ::PatBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, DSTINVERT);
}

} // namespace

BEGIN_MESSAGE_MAP(TextPane, CWnd)
ON_MESSAGE(WM_CREATE, OnCreate)
ON_MESSAGE(WM_ERASEBKGND, OnEraseBackground)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
ON_MESSAGE(WM_SIZE, OnSize)
ON_MESSAGE(WM_HSCROLL, OnHScroll)
ON_MESSAGE(WM_SETFOCUS, OnSetFocus)
ON_MESSAGE(WM_KILLFOCUS, OnKillFocus)
ON_MESSAGE(WM_MOUSEACTIVATE, OnMouseActivate)
ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
ON_MESSAGE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
ON_MESSAGE(WM_CHAR, OnChar)
ON_MESSAGE(WM_COPY, OnCopy)
ON_MESSAGE(WM_CUT, OnCut)
ON_MESSAGE(WM_PASTE, OnPaste)
END_MESSAGE_MAP()

bool TextPane::Create(CompareWindow* window, UINT id)
{
    compareWindow = window;
    // Full repaint on resize; double-clicks select a difference block.
    const char* className =
        RegisterUnicodeWindowClass(TEXT_PANE_CLASS, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, nullptr, nullptr, nullptr);
    if (!className)
        return false;
    RECT rect = { 0, 0, 0, 0 };
    return CreateEx(0, className, filePath.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | WS_HSCROLL, rect, window,
                    id);
}

// Runs while the window is created: loads the file, then the font and its metrics.
LRESULT TextPane::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1)
        return -1;
    if (!buffer.Load(filePath)) {
        // The main dialog owns the message; in file mode there is none yet.
        HWND owner = g_shared.mainDialog ? g_shared.mainDialog->m_hWnd : nullptr;
        ResourceMessageBox(owner, IDS_OPEN_ERROR, IDS_ERROR_CAPTION, MB_ICONHAND, filePath.c_str());
        return -1;
    }
    HDC dc = ::GetDC(m_hWnd);
    LOGFONTA description = {};
    description.lfHeight = (::GetDeviceCaps(dc, LOGPIXELSY) * 10) / -72; // 10 points
    std::strcpy(description.lfFaceName, "Courier");
    if (!font.CreateFontIndirect(description)) {
        ::ReleaseDC(m_hWnd, dc);
        return -1;
    }
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    ::GetTextMetricsA(dc, &metrics);
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(m_hWnd, dc);
    // Divisors everywhere below; a font always has a size, but never divide by 0.
    charWidth = std::max(1, static_cast<int>(metrics.tmAveCharWidth));
    // The internal leading counts twice: it spaces the rows.
    rowHeight = std::max(1, static_cast<int>(metrics.tmHeight + metrics.tmInternalLeading));
    columnLimit = buffer.maxLineLength;
    if (compareWindow)
        insertMode = compareWindow->insertMode;
    return 0;
}

// Every invalidation asks for the erase, so each repainted row starts white.
LRESULT TextPane::OnEraseBackground(WPARAM wParam, LPARAM)
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    ::FillRect(reinterpret_cast<HDC>(wParam), &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    return 1;
}

LRESULT TextPane::OnPaint(WPARAM, LPARAM)
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    if (dc) {
        PaintRows(dc, paint.rcPaint);
        ::EndPaint(m_hWnd, &paint);
    }
    if (!m_painted) {
        m_painted = true;
        PHASE_MARK(compareWindow && this == &compareWindow->sourcePane ? "source pane painted" : "master pane painted");
    }
    return 0;
}

// Lets a caller render the pane into its own device context.
LRESULT TextPane::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    HDC dc = reinterpret_cast<HDC>(wParam);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if (lParam & PRF_ERASEBKGND)
        ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    PaintRows(dc, client);
    return 0;
}

void TextPane::PaintRows(HDC dc, const RECT& update)
{
    if (rowHeight <= 0 || charWidth <= 0)
        return;
    const int first = std::max(0, topRow + static_cast<int>(update.top) / rowHeight);
    const int end = static_cast<int>(std::min<long long>(
        static_cast<long long>(topRow) + (update.bottom + rowHeight - 1) / rowHeight, buffer.rowCount));
    int y = (first - topRow) * rowHeight;

    HGDIOBJ oldFont = ::SelectObject(dc, font);
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const int origin = -firstColumn * charWidth;
    // Only the characters under the update rectangle are handed to GDI; with
    // the fixed cells, the pixels are the same.
    const int leftColumn = firstColumn + std::max(0, static_cast<int>(update.left)) / charWidth;
    const int rightColumn = firstColumn + (static_cast<int>(update.right) + charWidth - 1) / charWidth;
    const bool utf8 = StoreIsUtf8(buffer.encoding);
    GlyphRow glyphs;
    std::vector<INT> advances;

    for (int row = first; row < end; ++row, y += rowHeight) {
        const bool filler = buffer.IsFiller(static_cast<uint32_t>(row));
        if (filler || buffer.IsChangedLine(static_cast<uint32_t>(row))) {
            RECT band = { update.left, y, update.right, y + rowHeight };
            ::FillRect(dc, &band, filler ? static_cast<HBRUSH>(fillerBrush) : static_cast<HBRUSH>(highlightBrush));
        }
        if (!filler)
            FillChangeMarks(dc, row, { update.left, y, update.right, y + rowHeight }, origin);
        std::string_view text = RowText(row);
        if (text.find_first_not_of(" \t") == std::string_view::npos)
            continue;
        const int length = static_cast<int>(text.size());
        const int from = std::min(IndexOfColumn(text, leftColumn, utf8), length);
        const int to = std::min(StepCharacters(text, IndexOfColumn(text, rightColumn, utf8), 1, utf8), length);
        LayOutGlyphs(text, utf8, from, to, glyphs);
        DrawGlyphRuns(dc, origin, y, charWidth, glyphs, advances);
    }

    if (HasSelection() && HasFocus())
        InvertBetween(dc, anchor, caret, update);
    ::SetBkMode(dc, oldMode);
    ::SelectObject(dc, oldFont);
}

// The text goes over the fills in one colour and transparently, so the marks
// cost one fill each and never split the row's text calls.
void TextPane::FillChangeMarks(HDC dc, int row, const RECT& band, int origin)
{
    if (!compareWindow)
        return;
    const RowMarks& marks = compareWindow->changeMarks.ForRow(row);
    for (const MarkedSpan& span : this == &compareWindow->sourcePane ? marks.source : marks.master) {
        RECT cells = { origin + span.cellBegin * charWidth, band.top, origin + span.cellEnd * charWidth, band.bottom };
        RECT shown;
        if (::IntersectRect(&shown, &cells, &band))
            ::FillRect(dc, &shown, markBrush);
    }
}

std::string_view TextPane::RowText(int row) const
{
    if (row < 0 || static_cast<uint32_t>(row) >= buffer.rowCount)
        return {};
    const DisplayRow& entry = buffer.rows[row];
    return std::string_view(buffer.text + (entry.flagsAndOffset & ROW_OFFSET_MASK), entry.length);
}

void TextPane::GetSelection(TextPosition& start, TextPosition& end) const
{
    start = std::min(caret, anchor);
    end = std::max(caret, anchor);
}

// The selection shape: the rest of the first row, whole rows between, and the
// last row up to the end position, each band reaching bounds.right.
void TextPane::InvertBetween(HDC dc, TextPosition from, TextPosition to, const RECT& bounds)
{
    TextPosition low = std::min(from, to);
    TextPosition high = std::max(from, to);
    int startX = (low.column - firstColumn) * charWidth;
    int startY = (low.row - topRow) * rowHeight;
    const int endX = (high.column - firstColumn) * charWidth;
    const int endY = (high.row - topRow) * rowHeight;
    const int right = bounds.right;
    if (startY < endY) {
        InvertClipped(dc, startX, startY, right - startX, rowHeight, bounds);
        startY += rowHeight;
        startX = 0;
    }
    if (startY < endY) {
        InvertClipped(dc, startX, startY, right - startX, endY - startY, bounds);
        startY = endY;
    }
    InvertClipped(dc, startX, startY, endX - startX, rowHeight, bounds);
}

void TextPane::InvertRange(TextPosition from, TextPosition to)
{
    if (!m_hWnd || from == to)
        return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    HDC dc = ::GetDC(m_hWnd);
    // The caret is drawn by inversion too: keep it out of the way.
    ::HideCaret(m_hWnd);
    InvertBetween(dc, from, to, client);
    ::ShowCaret(m_hWnd);
    ::ReleaseDC(m_hWnd, dc);
}

void TextPane::CollapseSelectionAt(TextPosition position)
{
    if (HasSelection() && HasFocus())
        InvertRange(anchor, caret);
    anchor = caret = position;
}

bool TextPane::HasFocus() const
{
    return m_hWnd && ::GetFocus() == m_hWnd;
}

int TextPane::VisibleRows() const
{
    // Both panes page by the rows they both show, as the shared scroll bar does.
    if (compareWindow)
        return compareWindow->PageRows();
    RECT client;
    if (!m_hWnd || rowHeight <= 0 || !::GetClientRect(m_hWnd, &client))
        return 0;
    return client.bottom / rowHeight;
}

int TextPane::VisibleColumns() const
{
    RECT client;
    if (!m_hWnd || charWidth <= 0 || !::GetClientRect(m_hWnd, &client))
        return 0;
    return client.right / charWidth;
}

// A resize shows column 0 again and recomputes the horizontal range from the
// longest loaded line.
LRESULT TextPane::OnSize(WPARAM, LPARAM lParam)
{
    Default();
    const bool wasScrolled = firstColumn != 0;
    firstColumn = 0;
    ::SetScrollPos(m_hWnd, SB_HORZ, 0, FALSE);
    const int visible = charWidth > 0 ? LOWORD(lParam) / charWidth : 0;
    // A range of 0 ... 0 hides the scroll bar.
    ::SetScrollRange(m_hWnd, SB_HORZ, 0, columnLimit > visible ? columnLimit - visible : 0, TRUE);
    // WM_SIZE also arrives without a change of size; the window class then repaints nothing.
    if (wasScrolled)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    if (HasFocus())
        PlaceSystemCaret();
    return 0;
}

LRESULT TextPane::OnHScroll(WPARAM wParam, LPARAM)
{
    ScrollColumns(LOWORD(wParam), ScrollMessagePosition(m_hWnd, SB_HORZ, wParam));
    return 0;
}

void TextPane::ScrollColumns(int code, int position)
{
    // Tabs widen a row and typing lengthens one past columnLimit; the caret's
    // own column stays reachable, or the caret would go out of view.
    const int maximum = std::max(columnLimit, caret.column) - VisibleColumns();
    int column = firstColumn;
    switch (code) {
    case SB_LINELEFT: column = firstColumn - 1; break;
    case SB_LINERIGHT: column = firstColumn + 1; break;
    case SB_PAGELEFT: column = firstColumn - 4; break;
    case SB_PAGERIGHT: column = firstColumn + 8; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: column = position; break;
    case SB_LEFT: column = 0; break;
    case SB_RIGHT: column = maximum; break;
    default: break;
    }
    column = std::clamp(column, 0, std::max(0, maximum));
    if (column == firstColumn)
        return;
    ::SetScrollPos(m_hWnd, SB_HORZ, column, TRUE);
    firstColumn = column;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    // The caret belongs to its column, not to its pixel position.
    if (HasFocus())
        PlaceSystemCaret();
}

void TextPane::ScrollPaneBy(int dy)
{
    if (!m_hWnd || dy == 0 || rowHeight <= 0)
        return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int rows = client.bottom / rowHeight;
    const bool focused = HasFocus();
    POINT caretPoint = { 0, 0 };
    if (focused) {
        ::GetCaretPos(&caretPoint);
        ::HideCaret(m_hWnd);
    }
    // SW_INVALIDATE adds what could not be moved (an obscured part of the pane).
    ::ScrollWindowEx(m_hWnd, 0, dy, nullptr, &client, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
    RECT band = client;
    if (dy < 0)
        band.top = rows * rowHeight + dy; // the partial row at the bottom is exposed too
    else
        band.bottom = dy;
    ::InvalidateRect(m_hWnd, &band, TRUE);
    if (focused) {
        ::SetCaretPos(caretPoint.x, caretPoint.y + dy);
        ::ShowCaret(m_hWnd);
    }
}
