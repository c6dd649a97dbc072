// The About box: the product name and the program's version, read from the
// program's own version resource, and a Help button.
#pragma once

#include <string>

#include "framework/dialog.h"

// The version text of the module's version resource (RT_VERSION, id 1), or
// an empty string when the resource is missing or holds no fixed file information.
std::string ReadVersionText(HMODULE module);

class AboutDialog : public CDialog {
public:
    // The owner is the window that issued the command; the box is centred on it.
    explicit AboutDialog(CWnd* owner);

protected:
    BOOL OnInitDialog() override;

private:
    void OnHelp();

    DECLARE_MESSAGE_MAP()
};
