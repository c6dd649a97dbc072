// "Compare Files" (dialog 118): two file names, typed or browsed for, that
// the directory window then compares.
#pragma once

#include "framework/dialog.h"

class CompareFilesDialog : public CDialog {
public:
    explicit CompareFilesDialog(CWnd* owner);

    CString leftFile;
    CString rightFile;
    // Where each side's browse dialog starts; after a browse, that file's directory.
    CString leftBrowseDirectory;
    CString rightBrowseDirectory;

    // The directory part of a path, without the separating backslash (a
    // drive's root keeps it).
    static CString DirectoryPart(const CString& path);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void OnBrowseLeft();
    void OnBrowseRight();
    void OnHelp();
    void OnNameChanged();
    void Browse(CString& file, CString& directory);
    void UpdateOK();

    DECLARE_MESSAGE_MAP()
};
