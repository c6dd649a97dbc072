// The modeless "Printing: ... Page n of m" dialog with its bar and Cancel, and
// the abort procedure that keeps messages flowing while a job prints.
#pragma once

#include "framework/dialog.h"

class PrintProgressDialog : public CDialog {
public:
    // Creates the dialog at once, owned by the given window (or none).
    PrintProgressDialog(CWnd* owner, int totalPages, const CString& documentTitle);
    ~PrintProgressDialog() override;

    // Advances the page counter, shows it and steps the bar; returns the counter.
    int NextPage();
    bool IsCancelled() const { return cancelled != 0; }
    // Dispatches what is waiting, as the abort procedure does.
    void PumpMessages();

    HWND progressBar = nullptr;
    HWND pageText = nullptr;
    CString fileText;
    int cancelled = 0;
    int pageCounter = -1;
    int totalPages = 0;
    CString pageFormat;

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override; // raises the flag and hides; the job owns the dialog
    void OnOK() override {}   // Enter must not end a modeless dialog
};

// The dialog of the job in progress, from just before the document starts
// until it has ended; the abort procedure reaches the dialog through it.
extern PrintProgressDialog* g_printProgress;

// Registered with the printer's device context: dispatches waiting messages
// while the job is not cancelled; returns FALSE (abort) once it is.
BOOL CALLBACK PrintAbortProc(HDC dc, int error);
