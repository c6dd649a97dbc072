#include "compare_window.h"

#include "common/process_values.h"
#include "common/settings_names.h"
#include "engine/compare_progress_dialog.h"
#include "engine/difference_engine.h"
#include "framework/message_box.h"
#include "framework/win_app.h"
#include "resources/resource.h"

BEGIN_MESSAGE_MAP(CompareWindow, CFrameWnd)
ON_MESSAGE(WM_CREATE, OnCreate)
ON_MESSAGE(WM_DESTROY, OnDestroy)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_COMMAND(ID_FILE_EXIT, OnFileExit)
END_MESSAGE_MAP()

bool CompareWindow::Create()
{
    m_title = AfxLoadString(IDS_ZELVANE) + " - " + titleText;
    return LoadFrame(IDR_COMPARE_WINDOW, WS_OVERLAPPEDWINDOW);
}

// Runs while the window is created: fails creation when a file cannot be loaded.
LRESULT CompareWindow::OnCreate(WPARAM, LPARAM)
{
    HCURSOR previousCursor = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    struct Side {
        TextBuffer* buffer;
        const CString* path;
    } sides[] = { { &sourceBuffer, &sourcePath }, { &masterBuffer, &masterPath } };
    for (const Side& side : sides) {
        if (!side.buffer->Load(*side.path)) {
            ::SetCursor(previousCursor);
            ResourceMessageBox(m_hWnd, IDS_OPEN_ERROR, IDS_ERROR_CAPTION, MB_ICONHAND, side.path->c_str());
            return -1;
        }
    }
    CWinApp* app = AfxGetApp();
    int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    int cy = static_cast<int>(app->GetProfileInt(SECTION_POSITION, "cy", screenHeight / 2));
    int cx = static_cast<int>(app->GetProfileInt(SECTION_POSITION, "cx", screenWidth * 2 / 3));
    int y = static_cast<int>(app->GetProfileInt(SECTION_POSITION, "y", screenHeight / 4));
    int x = static_cast<int>(app->GetProfileInt(SECTION_POSITION, "x", screenWidth / 6));
    ::MoveWindow(m_hWnd, x, y, cx, cy, FALSE);
    comparisonResult = Compare() ? 1 : 0;
    ::SetCursor(previousCursor);
    return 0;
}

bool CompareWindow::Compare()
{
    CompareProgressDialog progress;
    progress.sourceName = sourcePath;
    progress.masterName = masterPath;
    if (!progress.Create(this))
        return false;
    bool completed = false;
    try {
        completed = CompareBuffers(sourceBuffer, masterBuffer, g_values.whiteSpaceMode, progress, blocks, totalRows);
    } catch (...) {
        progress.Destroy();
        throw;
    }
    progress.Destroy();
    return completed;
}

// Saves the normal (restored) rectangle, whatever the window's state.
LRESULT CompareWindow::OnDestroy(WPARAM, LPARAM)
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (::GetWindowPlacement(m_hWnd, &placement)) {
        const RECT& normal = placement.rcNormalPosition;
        CWinApp* app = AfxGetApp();
        app->WriteProfileInt(SECTION_POSITION, "x", normal.left);
        app->WriteProfileInt(SECTION_POSITION, "y", normal.top);
        app->WriteProfileInt(SECTION_POSITION, "cx", normal.right - normal.left);
        app->WriteProfileInt(SECTION_POSITION, "cy", normal.bottom - normal.top);
    }
    return 0;
}

LRESULT CompareWindow::OnPaint(WPARAM, LPARAM)
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    ::SelectObject(dc, ::GetStockObject(ANSI_FIXED_FONT));
    size_t differences = 0;
    for (const DiffBlock& block : blocks)
        differences += block.kind != BLOCK_EQUAL;
    CString lines[] = { "Source: " + sourcePath, "Master: " + masterPath,
                        FormatString("%u rows, %u differences", totalRows, static_cast<unsigned>(differences)) };
    int y = 8;
    for (const CString& line : lines) {
        ::TextOutA(dc, 8, y, line.c_str(), static_cast<int>(line.size()));
        y += 20;
    }
    ::EndPaint(m_hWnd, &paint);
    return 0;
}

// E&xit: closes the window as the close box does.
void CompareWindow::OnFileExit()
{
    SendMessage(WM_CLOSE);
}
