#include "compare_progress_dialog.h"

#include <algorithm>

#include "common/phase_timing.h"
#include "engine/gauge.h"
#include "framework/win_app.h"
#include "resources/resource.h"

CompareProgressDialog::CompareProgressDialog() : CDialog(IDD_COMPARE_PROGRESS)
{
}

bool CompareProgressDialog::Create(CWnd* parent)
{
    m_lastPump = ::GetTickCount();
    if (!CDialog::Create(IDD_COMPARE_PROGRESS, parent))
        return false;
    PHASE_MARK("progress dialog shown");
    return true;
}

void CompareProgressDialog::Destroy()
{
    DestroyWindow();
    PHASE_MARK("progress dialog destroyed");
}

BOOL CompareProgressDialog::OnInitDialog()
{
    SetDlgItemText(IDC_PROGRESS_SOURCE, sourceName);
    SetDlgItemText(IDC_PROGRESS_MASTER, masterName);
    CenterWindow();
    gauge = GetDlgItem(IDC_PROGRESS_GAUGE);
    return TRUE;
}

void CompareProgressDialog::OnCancel()
{
    cancelled = 1;
}

// The gauge keeps 16-bit words: a longer file is counted in steps of
// several lines, so the bar still runs from 0 to 100 % without wrapping.
void CompareProgressDialog::SetRange(uint32_t range)
{
    m_step = range / 0x10000 + 1;
    if (gauge)
        Gauge::SetRange(gauge, range / m_step);
}

void CompareProgressDialog::SetPos(uint32_t position)
{
    if (gauge)
        Gauge::SetPos(gauge, std::min<uint32_t>(position / m_step, 0xFFFF));
}

void CompareProgressDialog::PumpMessages()
{
    DWORD now = ::GetTickCount();
    if (now - m_lastPump < PUMP_INTERVAL)
        return;
    m_lastPump = now;
    PumpAllMessages();
}

void CompareProgressDialog::PumpAllMessages()
{
    // A quit stays posted for the loop that owns it, and stops the comparison.
    if (!PumpWaitingMessages(m_hWnd))
        cancelled = 1;
}
