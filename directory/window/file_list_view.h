// FileListView: one side's list of files, a virtual report-view list control
// whose row r faces row r of its partner on the other side. The control keeps
// only the count, selection and focus; the rows live here. It draws its rows
// itself (status colour, mark, focus rectangle) and keeps its partner in
// step: scrolling, column widths, Ctrl-keys and the focused row.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "directory/window/file_commands.h"
#include "directory/core/file_entry.h"
#include "framework/gdi_object.h"
#include "framework/wnd.h"

class DirectoryListBox;
class DirectoryWindow;

constexpr int FILE_LIST_COLUMNS = 5;

class FileListView : public CWnd {
public:
    explicit FileListView(COLORREF highlight) : highlightColour(highlight) {}

    // Creates the font, measures "m", reads the saved widths (or takes those
    // of a list set up already) and inserts the five columns. The list must
    // be subclassed first.
    void SetupColumns(const FileListView* sameWidthsAs = nullptr);
    void SetHighlightColour(COLORREF colour);
    // Up to max indices of selected rows, in row order; returns how many.
    int GetSelectedRows(int max, int* rows) const;
    std::vector<int> GetSelectedRows() const;
    // The file of a row, or nullptr for an empty row: the list is virtual and
    // keeps no item data, so this is the only way from a row to its file.
    FileEntry* GetEntry(int row) const;
    // Puts a file into a row that was empty: a copy into it fills the row
    // without a new pairing pass.
    void SetEntry(int row, FileEntry* entry);
    int RowCount() const;
    int TopRow() const;
    int ColumnWidth(int column) const;
    // Follows an item-changed notification that carries a state change.
    void TrackFocus(const NMLISTVIEW& change);
    // Takes the focused row from the list itself, after a change to a range
    // of rows or to all of them.
    void ReadFocusedRow();
    // Moves the focus state to the row (-1 clears it) and scrolls it into view.
    void SetFocusedRow(int row);
    // Destroys the side's entries and deletes every row.
    void ClearFiles();
    // The pairing pass's rows, each an entry of this side or nullptr for an
    // empty row; none is selected or focused afterwards.
    void SetRows(std::vector<FileEntry*> rows);
    // Redraws one row (after its mark changed).
    void RedrawRow(int row);

    // Owner drawing.
    void MeasureRow(MEASUREITEMSTRUCT& measure) const;
    void DrawRow(const DRAWITEMSTRUCT& draw);

    FileListView* partner = nullptr;
    DirectoryWindow* owner = nullptr;
    DirectoryListBox* directoryListBox = nullptr; // the side's, for the file commands
    FileEntryArray entries;
    std::vector<int> DragSet; // rows the file commands act on
    CFont font;
    int charHeight = 0;
    int charWidth = 0;
    int itemHeight = 0; // of the last drawn row
    int focusedRow = -1;
    COLORREF highlightColour;
    // The right-button gesture, the menus and their commands.
    FileCommands commands{ *this };

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    LRESULT OnVScroll(WPARAM, LPARAM);
    LRESULT OnMouseWheel(WPARAM, LPARAM);
    LRESULT OnKeyDown(WPARAM, LPARAM);
    LRESULT OnKeyUp(WPARAM, LPARAM);
    LRESULT OnChar(WPARAM, LPARAM);
    LRESULT OnGetDlgCode(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    // The partner's side of following: the list's own default handling only,
    // so that two lists never bounce a message between them.
    void FollowScroll(WPARAM request, int leaderTopRow);
    void FollowTopRow(int leaderTopRow);
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnKey(UINT message, WPARAM wParam, LPARAM lParam);
    int RowPixelHeight() const;
    void DrawCells(HDC dc, const RECT& row, const FileEntry& entry) const;

    std::vector<FileEntry*> m_rows;
    bool m_painted = false;

    DECLARE_MESSAGE_MAP()
};
