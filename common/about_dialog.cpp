#include "about_dialog.h"

#include "common/help.h"
#include "common/version_text.h"
#include "framework/message_box.h"
#include "framework/win_app.h"
#include "resources/resource.h"

BEGIN_MESSAGE_MAP(AboutDialog, CDialog)
ON_COMMAND(IDC_HELP_BUTTON, OnHelp)
END_MESSAGE_MAP()

std::string ReadVersionText(HMODULE module)
{
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION);
    if (!found)
        return std::string();
    DWORD size = ::SizeofResource(module, found);
    HGLOBAL loaded = ::LoadResource(module, found);
    const void* block = loaded ? ::LockResource(loaded) : nullptr;
    FileVersion version;
    if (!block || !FindFileVersion(static_cast<const unsigned char*>(block), size, version))
        return std::string();
    return FormatVersionText(version);
}

AboutDialog::AboutDialog(CWnd* owner) : CDialog(IDD_ABOUT, owner) {}

BOOL AboutDialog::OnInitDialog()
{
    CenterWindow();
    std::string version = ReadVersionText(AfxGetInstanceHandle());
    if (!version.empty()) {
        char text[1024];
        ::wsprintfA(text, AfxLoadString(IDS_ABOUT_TEXT).c_str(), version.c_str());
        SetDlgItemText(IDC_ABOUT_TEXT, text);
    }
    return TRUE;
}

// Help: the About box's own topic.
void AboutDialog::OnHelp()
{
    ShowHelpTopic(HELP_TOPIC_ABOUT);
}
