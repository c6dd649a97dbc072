// The modeless "Comparing ... To ..." dialog with its gauge and Cancel button.
// It is also the message pump that keeps the program alive while the
// difference algorithm runs on the user-interface thread.
#pragma once

#include "engine/comparison_progress.h"
#include "framework/dialog.h"

class CompareProgressDialog : public CDialog, public ComparisonProgress {
public:
    CompareProgressDialog();

    // Creates the dialog (visible at once) owned by the given window.
    bool Create(CWnd* parent);
    // Creates it only once the comparison has run for SHOW_DELAY: most end
    // sooner, before anyone could read the dialog, and under Wine making and
    // removing it costs more than such a comparison. If creating it then
    // fails, the comparison goes on without it.
    void CreateWhenSlow(CWnd* parent);
    void Destroy();

    void SetRange(uint32_t range) override;
    // Also dispatches what is waiting once the dialog shows, so Cancel is
    // seen during long equal runs, which pump nothing else.
    void SetPos(uint32_t position) override;
    bool IsCancelled() override { return cancelled != 0; }
    // Dispatches what is waiting, at most every PUMP_INTERVAL milliseconds:
    // the search asks once per candidate, far more often than anyone can see.
    void PumpMessages() override;
    // The same without the interval check, for callers that know it is time.
    void PumpAllMessages();

    static constexpr unsigned long PUMP_INTERVAL = 10;
    static constexpr unsigned long SHOW_DELAY = 300;
    // Milliseconds from any fixed point, for the show delay only; tests put
    // their own clock here so that "still running" happens on cue.
    using Clock = unsigned long (*)();
    static Clock clock;

    CString sourceName;
    CString masterName;
    int cancelled = 0;
    HWND gauge = nullptr;

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override; // only raises the flag; the owner destroys the dialog
    void OnOK() override {}   // Enter must not end a modeless dialog

private:
    // Creates the waiting dialog when its time has come, at the gauge's place.
    void ShowIfDue();
    void MoveGauge();

    CWnd* m_waitingOwner = nullptr; // set while the dialog waits to be created
    unsigned long m_started = 0;
    DWORD m_lastPump = 0;
    uint32_t m_range = 0;
    uint32_t m_position = 0;
    uint32_t m_step = 1; // lines per gauge unit
};
