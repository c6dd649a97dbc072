#include "directory/window/file_list_view.h"

#include <string>
#include <utility>

#include "common/code_pages_win32.h"
#include "common/phase_timing.h"
#include "common/settings_names.h"
#include "common/shared_resources.h"
#include "directory/window/directory_window.h"
#include "directory/window/file_row_text.h"
#include "directory/chooser/transparent_image.h"
#include "framework/win_app.h"

namespace {

struct ColumnLayout {
    const char* heading;
    int format;
    const char* widthSetting;
    const char* sample; // the default width is this text's extent
    int extra;
};

const ColumnLayout COLUMNS[FILE_LIST_COLUMNS] = {
    { "Name", LVCFMT_LEFT, "NameWidth", "mmmmmmmm", 8 },
    { "Type", LVCFMT_LEFT, "TypeWidth", "mmmm", 0 },
    { "Size", LVCFMT_RIGHT, "SizeWidth", " 000000", 0 },
    { "Date", LVCFMT_LEFT, "DateWidth", " 0000/00/00", 0 },
    { "Time", LVCFMT_LEFT, "TimeWidth", "mmmm", 0 },
};

constexpr int MARK_SIZE = 8;
constexpr int NAME_INDENT = 8; // room for the mark

// Texts are measured and drawn as UTF-16: the narrow calls would read a
// UTF-8 name's bytes as the legacy code page.
SIZE TextExtent(HDC dc, const char* text)
{
    std::wstring wide = ProcessTextToWide(text);
    SIZE size = { 0, 0 };
    ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size;
}

void FillCell(HDC dc, const RECT& cell, int x, const std::string& text)
{
    std::wstring wide = ProcessTextToWide(text);
    ::ExtTextOutW(dc, x, cell.top, ETO_CLIPPED | ETO_OPAQUE, &cell, wide.c_str(), static_cast<UINT>(wide.size()),
                  nullptr);
}

bool IsKeyDown(int key)
{
    return (::GetKeyState(key) & 0x8000) != 0;
}

} // namespace

BEGIN_MESSAGE_MAP(FileListView, CWnd)
ON_MESSAGE(WM_VSCROLL, OnVScroll)
ON_MESSAGE(WM_MOUSEWHEEL, OnMouseWheel)
ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
ON_MESSAGE(WM_KEYUP, OnKeyUp)
ON_MESSAGE(WM_CHAR, OnChar)
ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
ON_MESSAGE(WM_PAINT, OnPaint)
END_MESSAGE_MAP()

void FileListView::SetupColumns(const FileListView* sameWidthsAs)
{
    HDC screen = ::GetDC(nullptr);
    LOGFONTA description = {};
    description.lfHeight = -(::GetDeviceCaps(screen, LOGPIXELSY) * 9 / 72);
    lstrcpyA(description.lfFaceName, "Arial");
    font.CreateFontIndirect(description);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(font)), TRUE);

    HGDIOBJ oldFont = ::SelectObject(screen, font);
    SIZE m = TextExtent(screen, "m");
    charWidth = m.cx;
    charHeight = m.cy;
    CWinApp* app = AfxGetApp();
    for (int column = 0; column < FILE_LIST_COLUMNS; ++column) {
        const ColumnLayout& layout = COLUMNS[column];
        int defaultWidth = TextExtent(screen, layout.sample).cx + layout.extra;
        LVCOLUMNA item = {};
        item.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        item.fmt = layout.format;
        item.cx = sameWidthsAs ? sameWidthsAs->ColumnWidth(column)
                               : static_cast<int>(app->GetProfileInt(SECTION_POSITION, layout.widthSetting, defaultWidth));
        item.pszText = const_cast<char*>(layout.heading);
        item.iSubItem = column;
        SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
    }
    ::SelectObject(screen, oldFont);
    ::ReleaseDC(nullptr, screen);

    // An owner-drawn report view asks its row height again only when told its
    // size changed.
    RECT bounds;
    ::GetWindowRect(m_hWnd, &bounds);
    WINDOWPOS position = {};
    position.hwnd = m_hWnd;
    position.cx = bounds.right - bounds.left;
    position.cy = bounds.bottom - bounds.top;
    position.flags = SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOOWNERZORDER;
    SendMessage(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
}

void FileListView::SetHighlightColour(COLORREF colour)
{
    highlightColour = colour;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

// The list keeps its selection as ranges: it counts and finds the selected
// rows without a message per row.
int FileListView::GetSelectedRows(int max, int* rows) const
{
    int selected = static_cast<int>(SendMessage(LVM_GETSELECTEDCOUNT));
    if (selected < max)
        max = selected;
    int found = 0;
    int row = -1;
    while (found < max) {
        row = static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
        if (row < 0)
            break;
        rows[found++] = row;
    }
    return found;
}

std::vector<int> FileListView::GetSelectedRows() const
{
    std::vector<int> rows(static_cast<size_t>(SendMessage(LVM_GETSELECTEDCOUNT)));
    rows.resize(static_cast<size_t>(GetSelectedRows(static_cast<int>(rows.size()), rows.data())));
    return rows;
}

FileEntry* FileListView::GetEntry(int row) const
{
    if (row < 0 || static_cast<size_t>(row) >= m_rows.size())
        return nullptr;
    return m_rows[static_cast<size_t>(row)];
}

void FileListView::SetEntry(int row, FileEntry* entry)
{
    if (row < 0 || static_cast<size_t>(row) >= m_rows.size())
        return;
    m_rows[static_cast<size_t>(row)] = entry;
}

int FileListView::RowCount() const
{
    return static_cast<int>(m_rows.size());
}

int FileListView::TopRow() const
{
    return static_cast<int>(SendMessage(LVM_GETTOPINDEX));
}

int FileListView::ColumnWidth(int column) const
{
    return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
}

void FileListView::TrackFocus(const NMLISTVIEW& change)
{
    // A virtual list tells a change to all rows at once as row -1.
    if (change.iItem < 0)
        ReadFocusedRow();
    else if (change.uNewState & LVIS_FOCUSED)
        focusedRow = change.iItem;
    else if (change.iItem == focusedRow)
        focusedRow = -1;
}

void FileListView::ReadFocusedRow()
{
    focusedRow = static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void FileListView::SetFocusedRow(int row)
{
    if (row == focusedRow)
        return;
    LVITEMA item = {};
    item.mask = LVIF_STATE;
    item.stateMask = LVIS_FOCUSED;
    if (row < 0) {
        item.iItem = focusedRow;
        item.state = 0;
        focusedRow = -1;
        SendMessage(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return;
    }
    focusedRow = row;
    item.state = LVIS_FOCUSED;
    SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void FileListView::ClearFiles()
{
    // Rows first: they point at the entries.
    SendMessage(LVM_DELETEALLITEMS);
    m_rows.clear();
    focusedRow = -1;
    DragSet.clear();
    entries.Clear();
}

// One count for the whole list: a virtual list asks for nothing per row
// until it draws the row.
void FileListView::SetRows(std::vector<FileEntry*> rows)
{
    SendMessage(LVM_DELETEALLITEMS);
    focusedRow = -1;
    m_rows = std::move(rows);
    SendMessage(LVM_SETITEMCOUNT, static_cast<WPARAM>(m_rows.size()), 0);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void FileListView::RedrawRow(int row)
{
    SendMessage(LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
}

// The file commands see every message first: the gesture, the menu commands.
LRESULT FileListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (commands.OnMessage(message, wParam, lParam, &result))
        return result;
    return CWnd::WindowProc(message, wParam, lParam);
}

// The directory window hands on the owner-draw messages and the notifications
// it gets about the list.
bool FileListView::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result)
{
    if (message == WM_NOTIFY) {
        const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
        // Typing a name finds nothing, as the lists have always done: the
        // virtual list would otherwise take the answer 0 for row 0.
        if (header.code == LVN_ODFINDITEMA || header.code == LVN_ODFINDITEMW) {
            *result = -1;
            return true;
        }
        return commands.OnReflectedNotify(header, result);
    }
    if (message == WM_MEASUREITEM) {
        MeasureRow(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    } else if (message == WM_DRAWITEM) {
        DrawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    } else {
        return false;
    }
    *result = TRUE;
    return true;
}

void FileListView::MeasureRow(MEASUREITEMSTRUCT& measure) const
{
    if (charHeight > 0)
        measure.itemHeight = static_cast<UINT>(charHeight);
}

void FileListView::DrawRow(const DRAWITEMSTRUCT& draw)
{
    int index = static_cast<int>(draw.itemID);
    if (index < 0 || index >= RowCount())
        return;
    UINT state = static_cast<UINT>(
        SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED | LVIS_FOCUSED));
    HDC dc = draw.hDC;
    const RECT& row = draw.rcItem;
    itemHeight = row.bottom - row.top;
    const FileEntry* entry = GetEntry(index);
    bool selected = (state & LVIS_SELECTED) != 0;

    COLORREF background = ::GetSysColor(COLOR_WINDOW);
    COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    if (selected) {
        background = ::GetSysColor(COLOR_HIGHLIGHT);
        text = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else if (entry && entry->status == 1) {
        background = highlightColour;
    } else if (entry && entry->status == STATUS_NOT_KNOWN) {
        // Not read yet: neither "differs" nor "same".
        text = ::GetSysColor(COLOR_GRAYTEXT);
    }
    COLORREF oldBack = ::SetBkColor(dc, background);
    COLORREF oldText = ::SetTextColor(dc, text);
    HGDIOBJ oldFont = font.GetSafeHandle() ? ::SelectObject(dc, font) : nullptr;
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &row, nullptr, 0, nullptr);
    if (entry) {
        if (entry->mark)
            DrawTransparentImage(dc, row.left, row.top + itemHeight / 2 - MARK_SIZE / 2, g_markBitmap, 0);
        DrawCells(dc, row, *entry);
    }
    if (oldFont)
        ::SelectObject(dc, oldFont);
    ::SetBkColor(dc, oldBack);
    ::SetTextColor(dc, oldText);
    if (state & LVIS_FOCUSED)
        ::DrawFocusRect(dc, &row);
}

void FileListView::DrawCells(HDC dc, const RECT& row, const FileEntry& entry) const
{
    RECT cell = row;
    cell.left = row.left + NAME_INDENT;
    cell.right = row.left + ColumnWidth(0);
    FillCell(dc, cell, cell.left, entry.name);

    cell.left = cell.right;
    cell.right = cell.left + ColumnWidth(1);
    FillCell(dc, cell, cell.left, entry.extension);

    cell.left = cell.right;
    cell.right = cell.left + ColumnWidth(2);
    UINT oldAlign = ::SetTextAlign(dc, TA_RIGHT);
    FillCell(dc, cell, cell.right, FormatFileSize(entry.size));
    ::SetTextAlign(dc, oldAlign);

    cell.left = cell.right;
    cell.right = cell.left + ColumnWidth(3);
    FillCell(dc, cell, cell.left, FormatDosDate(entry.date));

    cell.left = cell.right;
    cell.right = cell.left + ColumnWidth(4);
    FillCell(dc, cell, cell.left, FormatDosTime(entry.time));
}

LRESULT FileListView::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(message, wParam, lParam);
}

int FileListView::RowPixelHeight() const
{
    if (itemHeight > 0)
        return itemHeight;
    RECT bounds = {};
    bounds.left = LVIR_BOUNDS;
    if (RowCount() > 0 && SendMessage(LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&bounds)))
        return bounds.bottom - bounds.top;
    return charHeight;
}

// Scrolls, then the partner follows with the same request.
LRESULT FileListView::OnVScroll(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefaultHandling(WM_VSCROLL, wParam, lParam);
    if (partner && partner->m_hWnd)
        partner->FollowScroll(wParam, TopRow());
    return result;
}

void FileListView::FollowScroll(WPARAM request, int leaderTopRow)
{
    int code = LOWORD(request);
    if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK)
        FollowTopRow(leaderTopRow);
    else
        DefaultHandling(WM_VSCROLL, request, 0);
}

void FileListView::FollowTopRow(int leaderTopRow)
{
    int difference = leaderTopRow - TopRow();
    if (difference != 0)
        SendMessage(LVM_SCROLL, 0, static_cast<LPARAM>(difference * RowPixelHeight()));
}

// The wheel scrolls without WM_VSCROLL; the partner takes the same top row.
LRESULT FileListView::OnMouseWheel(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefaultHandling(WM_MOUSEWHEEL, wParam, lParam);
    if (partner && partner->m_hWnd)
        partner->FollowTopRow(TopRow());
    return result;
}

// Enter is the directory window's (it compares); Ctrl-keys move both lists.
LRESULT FileListView::OnKeyDown(WPARAM wParam, LPARAM lParam)
{
    return OnKey(WM_KEYDOWN, wParam, lParam);
}

LRESULT FileListView::OnKeyUp(WPARAM wParam, LPARAM lParam)
{
    return OnKey(WM_KEYUP, wParam, lParam);
}

LRESULT FileListView::OnKey(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (wParam == VK_RETURN)
        return 0;
    LRESULT result = DefaultHandling(message, wParam, lParam);
    if (partner && partner->m_hWnd && IsKeyDown(VK_CONTROL) && wParam != VK_SPACE)
        partner->DefaultHandling(message, wParam, lParam);
    return result;
}

LRESULT FileListView::OnChar(WPARAM wParam, LPARAM lParam)
{
    if (wParam == '\r') {
        if (owner)
            owner->CompareSelectedRow(*this);
        return 0;
    }
    LRESULT result = DefaultHandling(WM_CHAR, wParam, lParam);
    if (partner && partner->m_hWnd && IsKeyDown(VK_CONTROL) && wParam != ' ')
        partner->DefaultHandling(WM_CHAR, wParam, lParam);
    return result;
}

// The first paint ends what a user waits for at start-up.
LRESULT FileListView::OnPaint(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefaultHandling(WM_PAINT, wParam, lParam);
    if (!m_painted) {
        m_painted = true;
        PHASE_MARK(owner && &owner->sourceFiles == this ? "source list painted" : "master list painted");
    }
    return result;
}

LRESULT FileListView::OnGetDlgCode(WPARAM, LPARAM)
{
    return DLGC_WANTARROWS | DLGC_WANTCHARS;
}

// The end of a divider drag gives the partner's column the same width.
bool FileListView::OnNotify(WPARAM, LPARAM lParam, LRESULT*)
{
    const NMHEADERA* header = reinterpret_cast<const NMHEADERA*>(lParam);
    bool endTrack = header->hdr.code == HDN_ENDTRACKA || header->hdr.code == HDN_ENDTRACKW;
    if (endTrack && header->pitem && (header->pitem->mask & HDI_WIDTH) && partner && partner->m_hWnd) {
        int width = header->pitem->cxy;
        if (partner->ColumnWidth(header->iItem) != width)
            partner->SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(header->iItem), MAKELPARAM(width, 0));
    }
    return false; // the list's own handling follows
}
