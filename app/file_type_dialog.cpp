#include "file_type_dialog.h"

#include "common/help.h"
#include "resources/resource.h"

BEGIN_MESSAGE_MAP(FileTypeDialog, CDialog)
ON_CONTROL(EN_CHANGE, IDC_FILE_TYPE_DESCRIPTION, OnFieldChanged)
ON_CONTROL(EN_CHANGE, IDC_FILE_TYPE_PATTERNS, OnFieldChanged)
ON_COMMAND(IDC_HELP_BUTTON, OnHelp)
END_MESSAGE_MAP()

FileTypeDialog::FileTypeDialog(CWnd* owner) : CDialog(IDD_FILE_TYPE, owner) {}

bool FileTypeDialog::IsAcceptable(const std::string& description, const std::string& patternList)
{
    return !description.empty() && !patternList.empty() && description.find('|') == std::string::npos &&
           patternList.find('|') == std::string::npos;
}

BOOL FileTypeDialog::OnInitDialog()
{
    CenterWindow();
    SetDlgItemText(IDC_FILE_TYPE_PATTERNS, patternList);
    SetDlgItemText(IDC_FILE_TYPE_DESCRIPTION, description);
    UpdateOkButton();
    return TRUE;
}

void FileTypeDialog::OnOK()
{
    // The Enter key reaches here even while the button is disabled.
    if (!IsAcceptable(GetDlgItemText(IDC_FILE_TYPE_DESCRIPTION), GetDlgItemText(IDC_FILE_TYPE_PATTERNS))) {
        ::MessageBeep(MB_ICONHAND);
        return;
    }
    ReadFields();
    EndDialog(IDOK);
}

// EN_CHANGE of either edit: OK follows the texts. The fields take them only
// on OK, so Cancel leaves the caller's filter as it was.
void FileTypeDialog::OnFieldChanged()
{
    UpdateOkButton();
}

// Help: the file type filter topic.
void FileTypeDialog::OnHelp()
{
    ShowHelpTopic(HELP_TOPIC_FILE_TYPE);
}

void FileTypeDialog::ReadFields()
{
    description = GetDlgItemText(IDC_FILE_TYPE_DESCRIPTION);
    patternList = GetDlgItemText(IDC_FILE_TYPE_PATTERNS);
}

void FileTypeDialog::UpdateOkButton()
{
    ::EnableWindow(GetDlgItem(IDOK),
                   IsAcceptable(GetDlgItemText(IDC_FILE_TYPE_DESCRIPTION), GetDlgItemText(IDC_FILE_TYPE_PATTERNS)));
}
