// The copy questions and the error box: CopyConfirmDialog (111) with "&Yes",
// "&No" and "Yes to &All", AskYesNoAll that fills it from the string table,
// and ShowError, the stop-icon box with caption "Zelvane Error".
#pragma once

#include "framework/dialog.h"

class CopyConfirmDialog : public CDialog {
public:
    explicit CopyConfirmDialog(CWnd* parent);

    CString message;

protected:
    BOOL OnInitDialog() override;

private:
    void OnYes();
    void OnNo();
    void OnYesToAll();

    DECLARE_MESSAGE_MAP()
};

// Formats the string-table text (wvsprintf, 1024 bytes) and asks it in the
// question box: COPY_ANSWER_YES, _NO, _YES_TO_ALL, or _CANCEL when the box
// was closed otherwise (or could not be shown).
int AskYesNoAll(CWnd* parent, UINT stringId, ...);
// The same text formatting, in a message box with the stop icon.
void ShowError(HWND parent, UINT stringId, ...);
