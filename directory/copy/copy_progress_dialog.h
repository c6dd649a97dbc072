// CopyProgressDialog (106): the modeless "Copying: ... To: ..." box with a
// progress bar for the file being copied and Cancel. While a file is copied
// it also keeps the program painting and Cancel clickable, by dispatching
// waiting messages between chunks.
#pragma once

#include <cstdint>

#include "directory/copy/copy_stream.h"
#include "framework/dialog.h"

class CopyProgressDialog : public CDialog, public CopyProgress {
public:
    // Creates the dialog, visible and centred over the parent.
    explicit CopyProgressDialog(CWnd* parent);
    ~CopyProgressDialog() override;

    // Shows the two paths (empty between files).
    void ShowPaths(const CString& source, const CString& target);

    void Start(uint64_t totalBytes) override;
    void BytesDone(uint64_t done) override;
    bool IsCancelled() override { return cancelled != 0; }
    // Dispatches what waits for this thread (Cancel, painting, timers).
    void PumpMessages();

    // Steps of the bar: enough that it moves smoothly, within the 16-bit
    // range every version of the control takes.
    static constexpr uint32_t BAR_RANGE = 1000;
    // Waiting messages are dispatched at most this often while copying.
    static constexpr unsigned PUMP_INTERVAL_MS = 100;
    // The bar moves at most this often within a file: each move repaints it
    // there and then, which under Wine costs as much as megabytes of copying.
    static constexpr unsigned BAR_INTERVAL_MS = 250;

    CString sourcePath;
    CString targetPath;
    HWND progressBar = nullptr;
    int cancelled = 0;

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override; // raises the flag and goes at once
    void OnOK() override {}   // Enter must not end it

private:
    uint64_t m_total = 0;
    uint32_t m_position = 0;
    bool m_barMoved = false; // since Start
    unsigned long m_lastBar = 0;
    unsigned long m_lastPump = 0;
};
