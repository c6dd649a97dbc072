#include "compare_progress_dialog.h"

#include <algorithm>

#include "common/phase_timing.h"
#include "engine/gauge.h"
#include "framework/win_app.h"
#include "resources/resource.h"

namespace {

unsigned long TickCount()
{
    return ::GetTickCount();
}

} // namespace

CompareProgressDialog::Clock CompareProgressDialog::clock = TickCount;

CompareProgressDialog::CompareProgressDialog() : CDialog(IDD_COMPARE_PROGRESS)
{
}

bool CompareProgressDialog::Create(CWnd* parent)
{
    m_waitingOwner = nullptr;
    m_lastPump = ::GetTickCount();
    return CDialog::Create(IDD_COMPARE_PROGRESS, parent);
}

void CompareProgressDialog::CreateWhenSlow(CWnd* parent)
{
    m_waitingOwner = parent;
    m_started = clock();
    m_lastPump = ::GetTickCount();
}

void CompareProgressDialog::ShowIfDue()
{
    if (!m_waitingOwner || clock() - m_started < SHOW_DELAY)
        return;
    CWnd* owner = m_waitingOwner;
    m_waitingOwner = nullptr;
    if (!CDialog::Create(IDD_COMPARE_PROGRESS, owner))
        return;
    PHASE_MARK("progress dialog shown");
    SetRange(m_range);
    MoveGauge();
    PumpAllMessages(); // paints it at once: equal runs would not pump for a while
    m_lastPump = ::GetTickCount();
}

void CompareProgressDialog::Destroy()
{
    m_waitingOwner = nullptr;
    if (m_hWnd) {
        DestroyWindow();
        PHASE_MARK("progress dialog destroyed");
    }
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
    m_range = range;
    m_step = range / 0x10000 + 1;
    if (gauge)
        Gauge::SetRange(gauge, range / m_step);
}

void CompareProgressDialog::SetPos(uint32_t position)
{
    m_position = position;
    if (!m_hWnd) {
        ShowIfDue();
        return;
    }
    MoveGauge();
    PumpMessages();
}

void CompareProgressDialog::MoveGauge()
{
    if (gauge)
        Gauge::SetPos(gauge, std::min<uint32_t>(m_position / m_step, 0xFFFF));
}

void CompareProgressDialog::PumpMessages()
{
    ShowIfDue();
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
