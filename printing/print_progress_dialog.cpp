#include "print_progress_dialog.h"

#include <commctrl.h>

#include "framework/message_box.h"
#include "framework/win_app.h"
#include "resources/resource.h"

PrintProgressDialog* g_printProgress = nullptr;

PrintProgressDialog::PrintProgressDialog(CWnd* owner, int total, const CString& documentTitle)
    : CDialog(IDD_PRINT_PROGRESS, owner), totalPages(total)
{
    pageFormat = AfxLoadString(IDS_PRINT_PAGE_FORMAT);
    fileText = FormatString(AfxLoadString(IDS_PRINT_FILE_FORMAT).c_str(), documentTitle.c_str());
    Create(IDD_PRINT_PROGRESS, owner);
}

PrintProgressDialog::~PrintProgressDialog()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

BOOL PrintProgressDialog::OnInitDialog()
{
    progressBar = GetDlgItem(IDC_PRINT_BAR);
    pageText = GetDlgItem(IDC_PRINT_PAGE);
    SetDlgItemText(IDC_PRINT_FILE, fileText);
    ::SendMessageA(progressBar, PBM_SETRANGE, 0, MAKELPARAM(0, totalPages));
    ::SendMessageA(progressBar, PBM_SETSTEP, 1, 0);
    CenterWindow();
    NextPage();
    return TRUE;
}

int PrintProgressDialog::NextPage()
{
    ++pageCounter;
    if (m_hWnd) {
        SetDlgItemText(IDC_PRINT_PAGE, FormatString(pageFormat.c_str(), pageCounter, totalPages));
        ::SendMessageA(progressBar, PBM_STEPIT, 0, 0);
    }
    return pageCounter;
}

void PrintProgressDialog::OnCancel()
{
    cancelled = 1;
    ::ShowWindow(m_hWnd, SW_HIDE);
}

void PrintProgressDialog::PumpMessages()
{
    CWinApp* app = AfxGetApp();
    MSG msg;
    while (!IsCancelled() && ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            break;
        if (msg.message == WM_QUIT) {
            // Leave the quit for the loop that owns it, and stop the job.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            cancelled = 1;
            break;
        }
        if (m_hWnd && ::IsDialogMessageW(m_hWnd, &msg))
            continue;
        if (app && app->PreTranslateMessage(&msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

BOOL CALLBACK PrintAbortProc(HDC, int)
{
    if (!g_printProgress)
        return TRUE;
    g_printProgress->PumpMessages();
    return g_printProgress->IsCancelled() ? FALSE : TRUE;
}
