#include "directory/copy/copy_dialogs.h"

#include <cstdarg>

#include "directory/copy/copy_answers.h"
#include "framework/message_box.h"
#include "resources/resource.h"

BEGIN_MESSAGE_MAP(CopyConfirmDialog, CDialog)
ON_COMMAND(IDC_COPY_YES, OnYes)
ON_COMMAND(IDC_COPY_NO, OnNo)
ON_COMMAND(IDC_COPY_YES_TO_ALL, OnYesToAll)
END_MESSAGE_MAP()

CopyConfirmDialog::CopyConfirmDialog(CWnd* parent) : CDialog(IDD_COPY_CONFIRM, parent)
{
}

BOOL CopyConfirmDialog::OnInitDialog()
{
    SetDlgItemText(IDC_COPY_QUESTION, message);
    CenterWindow();
    return TRUE;
}

void CopyConfirmDialog::OnYes()
{
    EndDialog(COPY_ANSWER_YES);
}

void CopyConfirmDialog::OnNo()
{
    EndDialog(COPY_ANSWER_NO);
}

void CopyConfirmDialog::OnYesToAll()
{
    EndDialog(COPY_ANSWER_YES_TO_ALL);
}

int AskYesNoAll(CWnd* parent, UINT stringId, ...)
{
    CString format = AfxLoadString(stringId);
    char text[1024];
    va_list args;
    va_start(args, stringId);
    ::wvsprintfA(text, format.c_str(), args);
    va_end(args);
    CopyConfirmDialog dialog(parent);
    dialog.message = text;
    INT_PTR answer = dialog.DoModal();
    // A box that could not be shown has not been answered "&Yes".
    return answer == -1 ? COPY_ANSWER_CANCEL : static_cast<int>(answer);
}

void ShowError(HWND parent, UINT stringId, ...)
{
    va_list args;
    va_start(args, stringId);
    ResourceMessageBoxV(parent, stringId, IDS_ERROR_CAPTION, MB_OK | MB_ICONHAND, args);
    va_end(args);
}
