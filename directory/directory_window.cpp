#include "directory_window.h"

#include "common/shared_resources.h"
#include "resources/resource.h"

DirectoryWindow::DirectoryWindow() : CDialog(IDD_DIRECTORY_WINDOW)
{
}

BOOL DirectoryWindow::OnInitDialog()
{
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_shared.programIcon));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_shared.programIconSmall));
    ::SendDlgItemMessageA(m_hWnd, IDC_SOURCE_DIRECTORY, EM_LIMITTEXT, 255, 0);
    ::SendDlgItemMessageA(m_hWnd, IDC_MASTER_DIRECTORY, EM_LIMITTEXT, 255, 0);
    SetDlgItemText(IDC_SOURCE_DIRECTORY, sourceDirectory);
    SetDlgItemText(IDC_MASTER_DIRECTORY, masterDirectory);
    return TRUE;
}

void DirectoryWindow::ReadDirectories()
{
    sourceDirectory = GetDlgItemText(IDC_SOURCE_DIRECTORY);
    masterDirectory = GetDlgItemText(IDC_MASTER_DIRECTORY);
}

void DirectoryWindow::OnOK()
{
    ReadDirectories();
    CDialog::OnOK();
}

void DirectoryWindow::OnCancel()
{
    ReadDirectories();
    CDialog::OnCancel();
}
