// "File Type Filter": edits one named pattern list.
#pragma once

#include <string>

#include "framework/dialog.h"

class FileTypeDialog : public CDialog {
public:
    explicit FileTypeDialog(CWnd* owner);

    // Shown when the dialog opens; after OK, what the user typed.
    std::string description;
    std::string patternList;

    // A filter may be saved only with both fields filled and no "|" in
    // either: the stored list has no escape for "|", so one typed there
    // would split the list at the next load and lose the filters after it.
    static bool IsAcceptable(const std::string& description, const std::string& patternList);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void OnFieldChanged();
    void OnHelp();
    void ReadFields();
    void UpdateOkButton();

    DECLARE_MESSAGE_MAP()
};
