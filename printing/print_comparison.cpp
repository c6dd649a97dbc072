#include "print_comparison.h"

#include <commdlg.h>

#include "framework/common_dialogs.h"
#include "framework/message_box.h"
#include "framework/wnd.h"
#include "resources/resource.h"

namespace {

class PrinterDevice : public PrintDevice {
public:
    explicit PrinterDevice(HDC dc) : m_dc(dc) {}
    ~PrinterDevice() override { ::DeleteDC(m_dc); }
    HDC Dc() override { return m_dc; }

private:
    HDC m_dc;
};

// Asks the driver for the default printer's device mode, the one structure
// whose size and extra data the driver knows, and turns its pages sideways.
void ProposeLandscape(PRINTDLGA& dialog)
{
    PRINTDLGA defaults = {};
    defaults.lStructSize = sizeof defaults;
    defaults.hwndOwner = dialog.hwndOwner;
    defaults.Flags = PD_RETURNDEFAULT;
    if (!CommonPrintDlg(&defaults))
        return; // no printer installed: the dialog says so itself
    if (defaults.hDevMode) {
        if (DEVMODEA* mode = static_cast<DEVMODEA*>(::GlobalLock(defaults.hDevMode))) {
            mode->dmFields |= DM_ORIENTATION;
            mode->dmOrientation = DMORIENT_LANDSCAPE;
            ::GlobalUnlock(defaults.hDevMode);
        }
    }
    dialog.hDevMode = defaults.hDevMode;
    dialog.hDevNames = defaults.hDevNames;
}

} // namespace

HDC AskForPrinter(HWND owner)
{
    PRINTDLGA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    ProposeLandscape(dialog);
    dialog.Flags = PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIES | PD_HIDEPRINTTOFILE | PD_RETURNDC;
    BOOL confirmed = CommonPrintDlg(&dialog);
    if (dialog.hDevMode)
        ::GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames)
        ::GlobalFree(dialog.hDevNames);
    if (!confirmed) {
        if (dialog.hDC)
            ::DeleteDC(dialog.hDC);
        return nullptr;
    }
    return dialog.hDC;
}

void ReportPrintResult(HWND owner, const PrintResult& result, const CString& titleText)
{
    const char* title = titleText.c_str();
    switch (result.outcome) {
    case PrintOutcome::Printed:
    case PrintOutcome::Cancelled:
        return;
    case PrintOutcome::NoRoom:
        ResourceMessageBox(owner, IDS_PRINT_NO_ROOM, IDS_ERROR_CAPTION, MB_ICONHAND, title);
        return;
    case PrintOutcome::StartFailed:
        ResourceMessageBox(owner, IDS_PRINT_START_ERROR, IDS_ERROR_CAPTION, MB_ICONHAND, title);
        return;
    case PrintOutcome::PageFailed:
        ResourceMessageBox(owner, IDS_PRINT_PAGE_ERROR, IDS_ERROR_CAPTION, MB_ICONHAND, title, result.failedPage);
        return;
    case PrintOutcome::EndFailed:
        ResourceMessageBox(owner, IDS_PRINT_END_ERROR, IDS_ERROR_CAPTION, MB_ICONHAND, title);
        return;
    }
}

void PrintComparison(CWnd* owner, const PrintContent& content, bool differencesOnly)
{
    HWND ownerWindow = owner ? owner->m_hWnd : nullptr;
    HDC dc = AskForPrinter(ownerWindow);
    if (!dc)
        return;
    PrintResult result;
    {
        PrinterDevice device(dc);
        result = PrintToDevice(device, owner, content, differencesOnly);
    }
    ReportPrintResult(ownerWindow, result, content.titleText);
}
