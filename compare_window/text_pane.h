// TextPane: one side of a comparison. It owns the side's TextBuffer and
// shows its display rows in a fixed-pitch font (differing rows in the side's
// colour, fillers grey), keeps a caret and an anchor, and scrolls vertically
// in step with the other pane through its CompareWindow.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/text_buffer.h"
#include "framework/gdi_object.h"
#include "framework/wnd.h"

class CompareWindow;
class PaneCaption;

// A place in display co-ordinates: columns count cells with tabs expanded to
// multiples of 4; rows index the TextBuffer's display rows.
struct TextPosition {
    int column = 0;
    int row = 0;
};
inline bool operator==(const TextPosition& a, const TextPosition& b)
{
    return a.column == b.column && a.row == b.row;
}
inline bool operator!=(const TextPosition& a, const TextPosition& b) { return !(a == b); }
// Rows first, then columns.
inline bool operator<(const TextPosition& a, const TextPosition& b)
{
    return a.row < b.row || (a.row == b.row && a.column < b.column);
}

// MoveCaret flags
constexpr int MOVE_BOTH = 1;        // then the same move on the other pane, without flags
constexpr int EXTEND_SELECTION = 2; // keep the anchor

struct UndoEntry {
    std::unique_ptr<EditRecord> record; // each ApplyEdit turns it into its own inverse
    TextPosition caretBefore;
    TextPosition caretAfter;
    // Rows that a merge marked as fillers after the edit; Redo marks them again.
    std::vector<int> fillerRows;
};

class TextPane : public CWnd {
public:
    // Creates the child window (WS_CHILD | WS_VISIBLE | WS_BORDER | WS_HSCROLL,
    // window text = filePath) and loads filePath; on a load failure it shows
    // "Error trying to open %s for editing" and returns false.
    bool Create(CompareWindow* window, UINT id);

    // Shifts the contents by dy pixels (positive = down) and repaints only the exposed band.
    void ScrollPaneBy(int dy);
    // The horizontal scroll handler (SB_* code, thumb position).
    void ScrollColumns(int code, int position);
    // The one way the caret moves; see MOVE_BOTH and EXTEND_SELECTION.
    void MoveCaret(int column, int row, int flags);

    bool HasSelection() const { return caret != anchor; }
    // The selection in order: start <= end.
    void GetSelection(TextPosition& start, TextPosition& end) const;
    // Inverts the selection between two positions on screen (selection rendering).
    void InvertRange(TextPosition from, TextPosition to);
    // Takes the selection off the screen (if shown) and puts anchor and caret at position.
    void CollapseSelectionAt(TextPosition position);
    // The text of a display row, without copying; empty past the end.
    std::string_view RowText(int row) const;
    // Editing (text_pane_edit.cpp). Every change is one ReplaceSelection; typing
    // is true only for typed characters, which overwrite in overwrite mode.
    void ReplaceSelection(const std::string& text, bool typing);
    // The text between two positions, CR LF between rows, in a block for the
    // clipboard (GMEM_DDESHARE | GMEM_MOVEABLE); nullptr when memory runs out.
    HGLOBAL RowsToText(int startColumn, int startRow, int endColumn, int endRow, bool includeFillers) const;
    void Undo();
    void Redo();
    // Backspace (direction -1) and Delete (+1): the selection, or count characters.
    void DeleteCharacters(int direction, int count);
    void MarkFillerRow(int row);
    void InvalidateCaption();
    bool StoreUtf8() const { return StoreIsUtf8(buffer.encoding); }

    // Modified while the undo list's length differs from the one at the last
    // save. An edit recorded below that length drops the saved state with the
    // redo list, so the count is then set where no length can meet it.
    bool IsModified() const { return undoList.size() != savedUndoCount; }
    static constexpr size_t SAVED_STATE_GONE = static_cast<size_t>(-1);

    CString filePath;
    PaneCaption* caption = nullptr;
    TextPane* otherPane = nullptr;
    CompareWindow* compareWindow = nullptr;
    TextBuffer buffer;
    int columnLimit = 0;
    int topRow = 0;
    int firstColumn = 0;
    int rowHeight = 0;
    int charWidth = 0;
    CFont font;
    CBrush highlightBrush;
    CBrush markBrush; // the cells of changed characters inside a changed row
    CBrush fillerBrush;
    TextPosition caret;
    TextPosition anchor;
    int statusPaneIndex = -1;
    char sideLetter = ' ';
    int insertMode = 1; // the window's insertMode, copied
    // The first half of a character outside the basic plane, until its second arrives.
    wchar_t pendingHighSurrogate = 0;
    // Newest entry at the back.
    std::vector<UndoEntry> undoList;
    std::vector<UndoEntry> redoList;
    size_t savedUndoCount = 0;

protected:
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnPrintClient(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnHScroll(WPARAM, LPARAM);
    LRESULT OnSetFocus(WPARAM, LPARAM);
    LRESULT OnKillFocus(WPARAM, LPARAM);
    LRESULT OnMouseActivate(WPARAM, LPARAM);
    LRESULT OnGetDlgCode(WPARAM, LPARAM);
    LRESULT OnKeyDown(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnLButtonUp(WPARAM, LPARAM);
    LRESULT OnLButtonDblClk(WPARAM, LPARAM);
    LRESULT OnChar(WPARAM, LPARAM);
    LRESULT OnCopy(WPARAM, LPARAM);
    LRESULT OnCut(WPARAM, LPARAM);
    LRESULT OnPaste(WPARAM, LPARAM);
    // Copies the selection as CF_UNICODETEXT and, in the legacy code page,
    // CF_TEXT with CF_LOCALE; true only when the text reached the clipboard.
    bool CopySelection();
    // Inserts typed UTF-16 characters in the store's form; a character the
    // store cannot hold beeps and inserts nothing.
    void TypeCharacters(const std::u16string& typed, int count);

    // Draws the rows of the band [top, bottom) of the client area; used for
    // WM_PAINT and WM_PRINTCLIENT alike.
    void PaintRows(HDC dc, const RECT& update);
    // Fills the cells of this side's changed characters in a row's band.
    void FillChangeMarks(HDC dc, int row, const RECT& band, int origin);
    // The selection-rendering steps between two positions, inside bounds.
    void InvertBetween(HDC dc, TextPosition from, TextPosition to, const RECT& bounds);
    TextPosition PointToPosition(int x, int y) const;
    void PlaceSystemCaret();
    void ShowLineNumber();
    bool HasFocus() const;
    int VisibleRows() const;    // whole rows in the client area
    int VisibleColumns() const; // whole columns in the client area

private:
    bool m_painted = false; // for the timing of the first paint

    DECLARE_MESSAGE_MAP()
};

// The strip above a pane: the file path, in active caption colours while the
// pane has the focus, with "*" while the file is modified.
class PaneCaption : public CWnd {
public:
    bool Create(CWnd* parent, TextPane* pane, const CString& text);

    TextPane* pane = nullptr;

protected:
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnPrintClient(WPARAM, LPARAM);
    LRESULT OnMouseActivate(WPARAM, LPARAM);
    LRESULT OnSetFocus(WPARAM, LPARAM);
    void Paint(HDC dc);

    DECLARE_MESSAGE_MAP()
};
