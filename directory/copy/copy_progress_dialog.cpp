#include "directory/copy/copy_progress_dialog.h"

#include <commctrl.h>

#include "framework/win_app.h"
#include "resources/resource.h"

CopyProgressDialog::CopyProgressDialog(CWnd* parent) : CDialog(IDD_COPY_PROGRESS, parent)
{
    m_lastPump = ::GetTickCount();
    Create(IDD_COPY_PROGRESS, parent);
}

CopyProgressDialog::~CopyProgressDialog()
{
    if (m_hWnd)
        DestroyWindow();
}

BOOL CopyProgressDialog::OnInitDialog()
{
    progressBar = GetDlgItem(IDC_PROGRESS_GAUGE);
    CenterWindow();
    return TRUE;
}

void CopyProgressDialog::OnCancel()
{
    cancelled = 1;
    progressBar = nullptr;
    DestroyWindow();
}

void CopyProgressDialog::ShowPaths(const CString& source, const CString& target)
{
    sourcePath = source;
    targetPath = target;
    if (!m_hWnd)
        return;
    SetDlgItemText(IDC_PROGRESS_SOURCE, sourcePath);
    SetDlgItemText(IDC_PROGRESS_MASTER, targetPath);
    ::UpdateWindow(m_hWnd);
}

void CopyProgressDialog::Start(uint64_t totalBytes)
{
    m_total = totalBytes;
    m_position = 0;
    m_barMoved = false;
    if (!progressBar)
        return;
    ::SendMessageA(progressBar, PBM_SETRANGE, 0, MAKELPARAM(0, BAR_RANGE));
    ::SendMessageA(progressBar, PBM_SETPOS, 0, 0);
}

void CopyProgressDialog::BytesDone(uint64_t done)
{
    uint32_t position = ProgressPosition(done, m_total, BAR_RANGE);
    DWORD now = ::GetTickCount();
    // The first move of a file and its end always show.
    bool due = !m_barMoved || position == BAR_RANGE || now - m_lastBar >= BAR_INTERVAL_MS;
    if (progressBar && position != m_position && due) {
        ::SendMessageA(progressBar, PBM_SETPOS, position, 0);
        m_position = position;
        m_barMoved = true;
        m_lastBar = now;
    }
    if (now - m_lastPump >= PUMP_INTERVAL_MS) {
        m_lastPump = now;
        PumpMessages();
    }
}

void CopyProgressDialog::PumpMessages()
{
    // A quit stays posted for the loop that owns it, and stops the copy.
    if (!PumpWaitingMessages(m_hWnd))
        cancelled = 1;
}
