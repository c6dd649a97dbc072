#include "compare_window.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "common/about_dialog.h"
#include "common/help.h"
#include "common/phase_timing.h"
#include "common/process_values.h"
#include "common/settings_names.h"
#include "compare_window/window_place.h"
#include "engine/compare_progress_dialog.h"
#include "engine/difference_engine.h"
#include "framework/message_box.h"
#include "framework/win_app.h"
#include "printing/print_comparison.h"
#include "resources/resource.h"

namespace {

const UINT TOOLBAR_BUTTONS[] = { ID_SAVE_SOURCE, ID_SAVE_MASTER, ID_FILE_PRINT, ID_PRINT_DIFFERENCES, 0,
                                 ID_NEXT_DIFFERENCE, ID_PREVIOUS_DIFFERENCE, ID_COPY_SOURCE_DIFFERENCE,
                                 ID_COPY_MASTER_DIFFERENCE, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0,
                                 ID_EDIT_UNDO, ID_EDIT_REDO };

const UINT INDICATORS[] = { ID_SEPARATOR,        IDS_SOURCE_LINE,   IDS_MASTER_LINE,  IDS_SOURCE_ENCODING,
                            IDS_MASTER_ENCODING, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_OVR };

// The widest of the names an encoding indicator shows, in the status bar's font.
int EncodingIndicatorWidth(HWND statusBar, char side)
{
    const FileEncoding encodings[] = { { EncodingKind::Legacy, false }, { EncodingKind::Utf8, false },
                                       { EncodingKind::Utf8, true },     { EncodingKind::Utf16Le, true },
                                       { EncodingKind::Utf16Be, true } };
    HDC dc = ::GetDC(statusBar);
    HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(statusBar, WM_GETFONT, 0, 0)));
    int width = 0;
    for (FileEncoding encoding : encodings) {
        const CString text = FormatString("%c %s", side, EncodingName(encoding));
        SIZE extent = { 0, 0 };
        ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        width = std::max(width, static_cast<int>(extent.cx));
    }
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(statusBar, dc);
    return width;
}

bool IsBarShown(const CWnd& bar)
{
    return bar.m_hWnd && (::GetWindowLongA(bar.m_hWnd, GWL_STYLE) & WS_VISIBLE);
}

constexpr UINT SOURCE_PANE_ID = 1;
constexpr UINT MASTER_PANE_ID = 2;
constexpr UINT CAPTION_ID = 0xFFFF;
constexpr UINT SCROLL_BAR_ID = 3;
constexpr COLORREF FILLER_COLOUR = RGB(192, 192, 192);

PlaceRect ToPlace(const RECT& rect)
{
    return { static_cast<int>(rect.left), static_cast<int>(rect.top), static_cast<int>(rect.right),
             static_cast<int>(rect.bottom) };
}

// The monitor nearest to a rectangle, its work area, and whether the rectangle
// touches any monitor at all.
struct MonitorAreas {
    PlaceRect monitor;
    PlaceRect work;
    bool touched = false;
};

template <typename Function> Function SystemFunction(const char* name)
{
    FARPROC address = ::GetProcAddress(::GetModuleHandleA("user32.dll"), name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

MonitorAreas NearestMonitor(const PlaceRect& place)
{
    RECT rect = { place.left, place.top, place.right, place.bottom };
    MonitorAreas areas;
    // Windows 95 and NT 4 know no monitors: one screen and its work area.
    using MonitorFromRectFunction = HMONITOR(WINAPI*)(LPCRECT, DWORD);
    using GetMonitorInfoFunction = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);
    auto monitorFromRect = SystemFunction<MonitorFromRectFunction>("MonitorFromRect");
    auto getMonitorInfo = SystemFunction<GetMonitorInfoFunction>("GetMonitorInfoA");
    if (monitorFromRect && getMonitorInfo) {
        MONITORINFO info = {};
        info.cbSize = sizeof info;
        HMONITOR monitor = monitorFromRect(&rect, MONITOR_DEFAULTTONEAREST);
        if (monitor && getMonitorInfo(monitor, &info)) {
            areas.monitor = ToPlace(info.rcMonitor);
            areas.work = ToPlace(info.rcWork);
            areas.touched = monitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr;
            return areas;
        }
    }
    RECT screen = { 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN) };
    RECT work = screen;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT common;
    areas.monitor = ToPlace(screen);
    areas.work = ToPlace(work);
    areas.touched = ::IntersectRect(&common, &rect, &screen) != 0;
    return areas;
}

} // namespace

BEGIN_MESSAGE_MAP(CompareWindow, CFrameWnd)
ON_MESSAGE(WM_CREATE, OnCreate)
ON_MESSAGE(WM_DESTROY, OnDestroy)
ON_MESSAGE(WM_SETFOCUS, OnSetFocus)
ON_MESSAGE(WM_CLOSE, OnClose)
ON_MESSAGE(WM_QUERYENDSESSION, OnQueryEndSession)
ON_MESSAGE(WM_VSCROLL, OnVScroll)
ON_COMMAND(ID_SAVE_SOURCE, OnSaveSource)
ON_UPDATE_COMMAND_UI(ID_SAVE_SOURCE, OnUpdateSaveSource)
ON_COMMAND(ID_SAVE_MASTER, OnSaveMaster)
ON_UPDATE_COMMAND_UI(ID_SAVE_MASTER, OnUpdateSaveMaster)
ON_COMMAND(ID_FILE_PRINT, OnPrint)
ON_COMMAND(ID_PRINT_DIFFERENCES, OnPrintDifferences)
ON_UPDATE_COMMAND_UI(ID_PRINT_DIFFERENCES, OnUpdatePrintDifferences)
ON_COMMAND(ID_FILE_EXIT, OnExit)
ON_COMMAND(ID_NEXT_DIFFERENCE, OnNextDifference)
ON_UPDATE_COMMAND_UI(ID_NEXT_DIFFERENCE, OnUpdateNextDifference)
ON_COMMAND(ID_PREVIOUS_DIFFERENCE, OnPreviousDifference)
ON_UPDATE_COMMAND_UI(ID_PREVIOUS_DIFFERENCE, OnUpdatePreviousDifference)
ON_COMMAND(ID_SELECT_DIFFERENCE, OnSelectDifference)
ON_UPDATE_COMMAND_UI(ID_SELECT_DIFFERENCE, OnUpdateSelectDifference)
ON_COMMAND(ID_EDIT_UNDO, OnUndo)
ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateUndo)
ON_COMMAND(ID_EDIT_REDO, OnRedo)
ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateRedo)
ON_COMMAND(ID_EDIT_CUT, OnCut)
ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateNeedsSelection)
ON_COMMAND(ID_EDIT_COPY, OnCopy)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateNeedsSelection)
ON_COMMAND(ID_EDIT_PASTE, OnPaste)
ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdatePaste)
ON_COMMAND(ID_EDIT_DELETE, OnDelete)
ON_UPDATE_COMMAND_UI(ID_EDIT_DELETE, OnUpdateNeedsSelection)
ON_COMMAND(ID_COPY_SOURCE_DIFFERENCE, OnCopySourceDifference)
ON_UPDATE_COMMAND_UI(ID_COPY_SOURCE_DIFFERENCE, OnUpdateCopySourceDifference)
ON_COMMAND(ID_COPY_MASTER_DIFFERENCE, OnCopyMasterDifference)
ON_UPDATE_COMMAND_UI(ID_COPY_MASTER_DIFFERENCE, OnUpdateCopyMasterDifference)
ON_COMMAND(ID_HELP_TOPICS, OnHelpTopics)
ON_COMMAND(ID_APP_ABOUT, OnAbout)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_OVR, OnUpdateOverwrite)
ON_COMMAND(ID_VIEW_CHANGED_CHARACTERS, OnShowChangedCharacters)
ON_UPDATE_COMMAND_UI(ID_VIEW_CHANGED_CHARACTERS, OnUpdateShowChangedCharacters)
END_MESSAGE_MAP()

CompareWindow::CompareWindow()
{
    activePane = &sourcePane;
}

CompareWindow::~CompareWindow()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

bool CompareWindow::Create(CWnd* owner)
{
    m_title = AfxLoadString(IDS_ZELVANE) + " - " + titleText;
    return LoadFrame(IDR_COMPARE_WINDOW, WS_OVERLAPPEDWINDOW, owner);
}

// Builds the children in their fixed order, loads both files and compares
// them; any failure fails the creation.
LRESULT CompareWindow::OnCreate(WPARAM, LPARAM)
{
    if (!toolBar.Create(this) || !toolBar.LoadBitmap(IDB_TOOLBAR) ||
        !toolBar.SetButtons(TOOLBAR_BUTTONS, static_cast<int>(std::size(TOOLBAR_BUTTONS))))
        return -1;
    toolBar.SetSizes({ 23, 21 }, { 16, 15 });
    if (!statusBar.Create(this) || !statusBar.SetIndicators(INDICATORS, static_cast<int>(std::size(INDICATORS))))
        return -1;
    SetMessageText(AfxLoadString(AFX_IDS_IDLEMESSAGE));
    PHASE_MARK("bars");

    // Nothing is shown before the comparison: the children are placed after it.
    m_holdLayout = true;
    HCURSOR previousCursor = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    struct CursorRestore {
        HCURSOR cursor;
        ~CursorRestore() { ::SetCursor(cursor); }
    } restore{ previousCursor };

    SetWindowText(AfxLoadString(IDS_ZELVANE) + " - " + titleText);

    struct Side {
        TextPane& pane;
        PaneCaption& caption;
        const CString& path;
        UINT id;
        COLORREF colour;
        TextPane& other;
        UINT indicator;
    } sides[] = { { sourcePane, sourceCaption, sourcePath, SOURCE_PANE_ID, sourceColour, masterPane, IDS_SOURCE_LINE },
                  { masterPane, masterCaption, masterPath, MASTER_PANE_ID, masterColour, sourcePane,
                    IDS_MASTER_LINE } };
    for (Side& side : sides) {
        side.pane.filePath = side.path;
        if (!side.pane.Create(this, side.id))
            return -1;
        PHASE_MARK(side.id == SOURCE_PANE_ID ? "source read and indexed" : "master read and indexed");
        if (!side.caption.Create(this, &side.pane, side.path))
            return -1;
        side.pane.caption = &side.caption;
        side.pane.highlightBrush.CreateSolidBrush(side.colour);
        side.pane.markBrush.CreateSolidBrush(MarkColour(side.colour));
        side.pane.fillerBrush.CreateSolidBrush(FILLER_COLOUR);
        side.pane.otherPane = &side.other;
    }
    for (Side& side : sides) {
        int index = statusBar.CommandToIndex(side.indicator);
        UINT id, style;
        int width;
        statusBar.GetPaneInfo(index, id, style, width);
        side.pane.statusPaneIndex = index;
        side.pane.sideLetter = AfxLoadString(side.indicator)[0];
        // The line indicators show whatever the panes put there.
        statusBar.SetPaneInfo(index, 0, style & ~SBPS_DISABLED, width);
    }
    for (UINT indicator : { IDS_SOURCE_ENCODING, IDS_MASTER_ENCODING }) {
        const int index = statusBar.CommandToIndex(indicator);
        UINT id, style;
        int width;
        statusBar.GetPaneInfo(index, id, style, width);
        const char side = indicator == IDS_SOURCE_ENCODING ? sourcePane.sideLetter : masterPane.sideLetter;
        statusBar.SetPaneInfo(index, indicator, style & ~SBPS_DISABLED,
                              std::max(width, EncodingIndicatorWidth(statusBar.m_hWnd, side)));
    }
    ShowEncodings();

    RECT none = { 0, 0, 0, 0 };
    if (!scrollBar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, none, this, SCROLL_BAR_ID))
        return -1;
    rowHeight = sourcePane.rowHeight;

    CWinApp* app = AfxGetApp();
    int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    int cy = static_cast<int>(app->GetProfileInt(SECTION_POSITION, "cy", screenHeight / 2));
    int cx = static_cast<int>(app->GetProfileInt(SECTION_POSITION, "cx", screenWidth * 2 / 3));
    int y = static_cast<int>(app->GetProfileInt(SECTION_POSITION, "y", screenHeight / 4));
    int x = static_cast<int>(app->GetProfileInt(SECTION_POSITION, "x", screenWidth / 6));
    // A place on a monitor that is gone, or beyond a smaller screen, comes back
    // onto the nearest monitor.
    PlaceRect place = { x, y, x + cx, y + cy };
    MonitorAreas areas = NearestMonitor(place);
    if (!areas.touched)
        place = BringInside(place, areas.work);
    ::MoveWindow(m_hWnd, place.left, place.top, place.right - place.left, place.bottom - place.top, FALSE);

    PHASE_MARK("children");
    comparisonResult = Compare() ? 1 : 0;
    // Laid out once, with the row count the scroll range needs.
    m_holdLayout = false;
    RecalcLayout();
    // The first paint shows the commands' states; idle then finds nothing to
    // change, and the bars are not painted twice.
    toolBar.UpdateButtons(this);
    statusBar.UpdateIndicators(this);
    PHASE_MARK("layout");
    return 0;
}

bool CompareWindow::Compare()
{
    CompareProgressDialog progress;
    progress.sourceName = sourcePath;
    progress.masterName = masterPath;
    progress.CreateWhenSlow(this);
    bool completed = false;
    uint32_t rows = 0;
    try {
        completed = CompareBuffers(sourcePane.buffer, masterPane.buffer, g_values.whiteSpaceMode, progress, blocks,
                                   rows);
    } catch (...) {
        progress.Destroy();
        throw;
    }
    PHASE_MARK("compared, rows built");
    progress.Destroy();
    totalRows = static_cast<int>(rows);
    return completed;
}

void CompareWindow::RecalcLayout()
{
    if (m_holdLayout)
        return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int bars = (IsBarShown(toolBar) ? 1 : 0) | (IsBarShown(statusBar) ? 2 : 0);
    // WM_SIZE also comes without a change (the first ShowWindow sends one):
    // moving every child again would repaint them all a second time.
    if (::EqualRect(&client, &m_laidOutClient) && bars == m_laidOutBars) {
        UpdateScrollRange();
        return;
    }
    CFrameWnd::RecalcLayout();
    if (!scrollBar.m_hWnd || !sourcePane.m_hWnd || !masterPane.m_hWnd)
        return;
    m_laidOutClient = client;
    m_laidOutBars = bars;
    RECT inner = GetInnerRect();
    int w = ::GetSystemMetrics(SM_CXVSCROLL);
    int half = (inner.right + inner.left - w) / 2;
    int h = ::GetSystemMetrics(SM_CYCAPTION);
    int height = inner.bottom - inner.top;
    ::MoveWindow(scrollBar.m_hWnd, half, inner.top, w, height, TRUE);
    ::MoveWindow(sourceCaption.m_hWnd, inner.left, inner.top, half, h, TRUE);
    ::MoveWindow(masterCaption.m_hWnd, half + w, inner.top, inner.right - half - w, h, TRUE);
    ::MoveWindow(sourcePane.m_hWnd, inner.left, inner.top + h, half, height - h, TRUE);
    ::MoveWindow(masterPane.m_hWnd, half + w, inner.top + h, inner.right - half - w, height - h, TRUE);
    ::InvalidateRect(sourceCaption.m_hWnd, nullptr, TRUE);
    ::InvalidateRect(masterCaption.m_hWnd, nullptr, TRUE);
    // The range, the scrolling and the panes' paging all count the same page,
    // so the thumb reaches the last row and the bar shows whenever one is cut off.
    scrollRangeRows = -1;
    UpdateScrollRange();
    // A taller window must not leave rows stranded above the view.
    if (topRow > std::max(0, ScrollRows() - PageRows()))
        ScrollToRow(SB_THUMBPOSITION, topRow);
}

int CompareWindow::ScrollRows() const
{
    const int paneRows = static_cast<int>(std::max(sourcePane.buffer.rowCount, masterPane.buffer.rowCount));
    return std::max(totalRows, paneRows);
}

void CompareWindow::UpdateScrollRange()
{
    const int rows = ScrollRows();
    if (rows == scrollRangeRows || !scrollBar.m_hWnd)
        return;
    scrollRangeRows = rows;
    int page = PageRows();
    if (rowHeight != 0 && page < rows) {
        scrollBar.ShowScrollBar(true);
        scrollBar.SetScrollRange(0, rows - page, true);
    } else {
        scrollBar.ShowScrollBar(false);
    }
}

int CompareWindow::PageRows() const
{
    if (rowHeight <= 0 || !sourcePane.m_hWnd || !masterPane.m_hWnd)
        return 0;
    RECT source, master;
    ::GetClientRect(sourcePane.m_hWnd, &source);
    ::GetClientRect(masterPane.m_hWnd, &master);
    return static_cast<int>(std::max(0L, std::min(source.bottom, master.bottom))) / rowHeight;
}

void CompareWindow::ScrollToRow(int code, int position)
{
    int page = PageRows();
    int top = topRow;
    switch (code) {
    case SB_LINEUP: top = topRow - 1; break;
    case SB_LINEDOWN: top = topRow + 1; break;
    case SB_PAGEUP: top = topRow - page; break;
    case SB_PAGEDOWN: top = topRow + page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: top = position; break;
    default: break;
    }
    // Rows typed past the comparison's end must come into view too.
    UpdateScrollRange();
    int highest = ScrollRows() - page > 0 ? ScrollRows() - page : 0;
    if (top > highest)
        top = highest;
    if (top < 0)
        top = 0;
    if (top == topRow)
        return;
    scrollBar.SetScrollPos(top, true);
    int shift = (topRow - top) * rowHeight;
    topRow = top;
    sourcePane.topRow = top;
    masterPane.topRow = top;
    sourcePane.ScrollPaneBy(shift);
    masterPane.ScrollPaneBy(shift);
}

// The shared scroll bar.
LRESULT CompareWindow::OnVScroll(WPARAM wParam, LPARAM)
{
    ScrollToRow(LOWORD(wParam), ScrollMessagePosition(scrollBar.m_hWnd, SB_CTL, wParam));
    return 0;
}

int CompareWindow::BlockHeight(const DiffBlock& block)
{
    return static_cast<int>(block.sourceCount > block.masterCount ? block.sourceCount : block.masterCount);
}

const DiffBlock* CompareWindow::FindBlockAtRow(int row) const
{
    for (const DiffBlock& block : blocks) {
        int first = static_cast<int>(block.firstRow);
        if (first <= row && row < first + BlockHeight(block))
            return &block;
    }
    return nullptr;
}

void CompareWindow::ShowErrorMessage(UINT stringId, ...)
{
    va_list args;
    va_start(args, stringId);
    ResourceMessageBoxV(m_hWnd, stringId, IDS_ERROR_CAPTION, MB_ICONHAND, args);
    va_end(args);
}

int CompareWindow::AskQuestion(UINT stringId, UINT style, ...)
{
    va_list args;
    va_start(args, style);
    int answer = ResourceMessageBoxV(m_hWnd, stringId, IDS_ZELVANE, style | MB_ICONQUESTION, args);
    va_end(args);
    return answer;
}

// Which encoding each file was read in: two files may differ where their text looks the same.
void CompareWindow::ShowEncodings()
{
    for (const TextPane* pane : { &sourcePane, &masterPane }) {
        const int index = statusBar.CommandToIndex(pane == &sourcePane ? IDS_SOURCE_ENCODING : IDS_MASTER_ENCODING);
        statusBar.SetPaneText(index, FormatString("%c %s", pane->sideLetter, EncodingName(pane->buffer.encoding)),
                              false);
    }
}

void CompareWindow::SetIndicatorText(int index, const CString& text)
{
    statusBar.SetPaneText(index, text, true);
}

bool CompareWindow::QuerySavePane(TextPane& pane, bool systemModal)
{
    if (!pane.IsModified())
        return true;
    int answer = AskQuestion(IDS_SAVE_CHANGES, MB_YESNOCANCEL | (systemModal ? MB_SYSTEMMODAL : 0),
                             pane.filePath.c_str());
    if (answer == IDCANCEL)
        return false;
    // A Yes that did not save (refused or failed) must not lose the edits.
    if (answer == IDYES)
        return SavePane(pane);
    return true;
}

LRESULT CompareWindow::OnClose(WPARAM, LPARAM)
{
    if (QuerySavePane(sourcePane, false) && QuerySavePane(masterPane, false))
        DestroyWindow();
    return 0;
}

LRESULT CompareWindow::OnQueryEndSession(WPARAM, LPARAM)
{
    return QuerySavePane(sourcePane, true) && QuerySavePane(masterPane, true);
}

LRESULT CompareWindow::OnSetFocus(WPARAM, LPARAM)
{
    if (activePane && activePane->m_hWnd)
        ::SetFocus(activePane->m_hWnd);
    return 0;
}

// Saves the normal (restored) rectangle, whatever the window's state.
LRESULT CompareWindow::OnDestroy(WPARAM, LPARAM)
{
    // Help asked for while this window was the main window was asked in its name.
    if (AfxGetApp() && AfxGetApp()->m_pMainWnd == this)
        CloseHelp();
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (::GetWindowPlacement(m_hWnd, &placement)) {
        // The placement counts from the work area's corner; the position is
        // restored by MoveWindow, which counts from the screen's.
        PlaceRect normal = ToPlace(placement.rcNormalPosition);
        if (::IsIconic(m_hWnd) || ::IsZoomed(m_hWnd)) {
            MonitorAreas areas = NearestMonitor(normal);
            normal = WorkspaceToScreen(normal, areas.work, areas.monitor);
        } else {
            RECT window;
            ::GetWindowRect(m_hWnd, &window);
            normal = ToPlace(window);
        }
        CWinApp* app = AfxGetApp();
        app->WriteProfileInt(SECTION_POSITION, "x", normal.left);
        app->WriteProfileInt(SECTION_POSITION, "y", normal.top);
        app->WriteProfileInt(SECTION_POSITION, "cx", normal.right - normal.left);
        app->WriteProfileInt(SECTION_POSITION, "cy", normal.bottom - normal.top);
    }
    return 0;
}

// A save command on a pane without changes (still shown enabled) only beeps.
void CompareWindow::SaveIfModified(TextPane& pane)
{
    if (pane.IsModified())
        SavePane(pane);
    else
        ::MessageBeep(MB_ICONHAND);
}

// Save Source: writes the Source file.
void CompareWindow::OnSaveSource()
{
    SaveIfModified(sourcePane);
}

void CompareWindow::OnUpdateSaveSource(CCmdUI* state)
{
    state->Enable(sourcePane.IsModified());
}

// Save Master: writes the Master file.
void CompareWindow::OnSaveMaster()
{
    SaveIfModified(masterPane);
}

void CompareWindow::OnUpdateSaveMaster(CCmdUI* state)
{
    state->Enable(masterPane.IsModified());
}

// Print: both files in full, the differing rows in bold.
void CompareWindow::OnPrint()
{
    PrintComparison(this, { titleText, sourcePath, masterPath, &sourcePane.buffer, &masterPane.buffer,
                            static_cast<uint32_t>(totalRows), &blocks },
                    false);
}

// Print Differences: only the differing rows, a rule wherever rows were left out.
void CompareWindow::OnPrintDifferences()
{
    PrintComparison(this, { titleText, sourcePath, masterPath, &sourcePane.buffer, &masterPane.buffer,
                            static_cast<uint32_t>(totalRows), &blocks },
                    true);
}

void CompareWindow::OnUpdatePrintDifferences(CCmdUI* state)
{
    bool any = false;
    for (const DiffBlock& block : blocks)
        any = any || block.kind != BLOCK_EQUAL;
    state->Enable(any);
}

// Exit: closes the window as its close box does, with the save questions.
void CompareWindow::OnExit()
{
    SendMessage(WM_CLOSE);
}

// Ctrl+N: to the next difference below the caret.
void CompareWindow::OnNextDifference()
{
    NextDifference();
}

void CompareWindow::OnUpdateNextDifference(CCmdUI* state)
{
    state->Enable(NextDifferenceBlock() != nullptr);
}

// Ctrl+P: to the previous difference above the caret.
void CompareWindow::OnPreviousDifference()
{
    PreviousDifference();
}

void CompareWindow::OnUpdatePreviousDifference(CCmdUI* state)
{
    state->Enable(PreviousDifferenceBlock() != nullptr);
}

// Select Difference (also a double-click in a pane).
void CompareWindow::OnSelectDifference()
{
    SelectDifference();
}

void CompareWindow::OnUpdateSelectDifference(CCmdUI* state)
{
    const DiffBlock* block = activePane ? FindBlockAtRow(activePane->caret.row) : nullptr;
    state->Enable(block && block->kind != BLOCK_EQUAL);
}

// Help Topics: the help file's contents.
void CompareWindow::OnHelpTopics()
{
    ShowHelpContents();
}

// About: the About box, owned by and centred on this window.
void CompareWindow::OnAbout()
{
    AboutDialog about(this);
    about.DoModal();
}

void CompareWindow::OnUpdateOverwrite(CCmdUI* state)
{
    state->Enable(insertMode == 0);
}
