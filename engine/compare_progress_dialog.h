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
    void Destroy();

    void SetRange(uint32_t range) override;
    void SetPos(uint32_t position) override;
    bool IsCancelled() override { return cancelled != 0; }
    // Dispatches what is waiting, at most every PUMP_INTERVAL milliseconds:
    // the search asks once per candidate, far more often than anyone can see.
    void PumpMessages() override;
    // The same without the interval check, for callers that know it is time.
    void PumpAllMessages();

    static constexpr unsigned PUMP_INTERVAL = 10;

    CString sourceName;
    CString masterName;
    int cancelled = 0;
    HWND gauge = nullptr;

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override; // only raises the flag; the owner destroys the dialog
    void OnOK() override {}   // Enter must not end a modeless dialog

private:
    unsigned long m_lastPump = 0;
    uint32_t m_step = 1; // lines per gauge unit
};
