// STAND-IN for the directory window: a small dialog that shows the Source and
// Master directories (editable) and closes. The real window, with its lists,
// replaces it later; start-up already talks to it through these two fields.
#pragma once

#include "framework/dialog.h"

class DirectoryWindow : public CDialog {
public:
    DirectoryWindow();

    CString sourceDirectory;
    CString masterDirectory;

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override;

private:
    void ReadDirectories();
};
