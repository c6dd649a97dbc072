#include "directory/window/compare_files_dialog.h"

#include "framework/common_dialogs.h"

#include <vector>

#include "common/help.h"
#include "resources/resource.h"

BEGIN_MESSAGE_MAP(CompareFilesDialog, CDialog)
ON_COMMAND(IDC_BROWSE_LEFT, OnBrowseLeft)
ON_COMMAND(IDC_BROWSE_RIGHT, OnBrowseRight)
ON_COMMAND(IDC_COMPARE_HELP, OnHelp)
ON_CONTROL(EN_CHANGE, IDC_LEFT_FILE, OnNameChanged)
ON_CONTROL(EN_CHANGE, IDC_RIGHT_FILE, OnNameChanged)
END_MESSAGE_MAP()

CompareFilesDialog::CompareFilesDialog(CWnd* owner) : CDialog(IDD_COMPARE_FILES, owner)
{
}

CString CompareFilesDialog::DirectoryPart(const CString& path)
{
    size_t slash = path.find_last_of("\\/");
    if (slash == CString::npos)
        return CString();
    // A drive's root keeps its backslash: "c:" alone names the drive's current directory.
    if (slash == 2 && path[1] == ':')
        return path.substr(0, 3);
    return path.substr(0, slash);
}

BOOL CompareFilesDialog::OnInitDialog()
{
    CenterWindow();
    ::SendDlgItemMessageA(m_hWnd, IDC_LEFT_FILE, EM_LIMITTEXT, 260, 0);
    ::SendDlgItemMessageA(m_hWnd, IDC_RIGHT_FILE, EM_LIMITTEXT, 260, 0);
    SetDlgItemText(IDC_LEFT_FILE, leftFile);
    SetDlgItemText(IDC_RIGHT_FILE, rightFile);
    UpdateOK();
    return TRUE;
}

void CompareFilesDialog::UpdateOK()
{
    bool both = ::GetWindowTextLengthA(GetDlgItem(IDC_LEFT_FILE)) > 0 &&
                ::GetWindowTextLengthA(GetDlgItem(IDC_RIGHT_FILE)) > 0;
    ::EnableWindow(GetDlgItem(IDOK), both);
}

// Either name changed: OK needs both.
void CompareFilesDialog::OnNameChanged()
{
    UpdateOK();
}

void CompareFilesDialog::OnBrowseLeft()
{
    leftFile = GetDlgItemText(IDC_LEFT_FILE);
    rightFile = GetDlgItemText(IDC_RIGHT_FILE);
    Browse(leftFile, leftBrowseDirectory);
}

void CompareFilesDialog::OnBrowseRight()
{
    leftFile = GetDlgItemText(IDC_LEFT_FILE);
    rightFile = GetDlgItemText(IDC_RIGHT_FILE);
    Browse(rightFile, rightBrowseDirectory);
}

void CompareFilesDialog::Browse(CString& file, CString& directory)
{
    char name[MAX_PATH] = "*.*";
    OPENFILENAMEA request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = m_hWnd;
    request.lpstrFilter = "All Files (*.*)\0*.*\0\0";
    request.lpstrFile = name;
    request.nMaxFile = sizeof name;
    request.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
    request.Flags = OFN_FILEMUSTEXIST;
    if (!CommonGetOpenFileName(&request))
        return;
    file = name;
    directory = DirectoryPart(file);
    SetDlgItemText(IDC_LEFT_FILE, leftFile);
    SetDlgItemText(IDC_RIGHT_FILE, rightFile);
    UpdateOK();
}

void CompareFilesDialog::OnHelp()
{
    ShowHelpTopic(HELP_TOPIC_COMPARE_FILES);
}

void CompareFilesDialog::OnOK()
{
    leftFile = GetDlgItemText(IDC_LEFT_FILE);
    rightFile = GetDlgItemText(IDC_RIGHT_FILE);
    // The accelerator path can reach here with OK shown disabled.
    if (leftFile.empty() || rightFile.empty()) {
        ::MessageBeep(MB_ICONHAND);
        return;
    }
    CDialog::OnOK();
}
