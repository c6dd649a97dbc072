#include "framework/common_dialogs.h"

namespace {

HMODULE CommonDialogLibrary()
{
    // Kept for the life of the process once loaded, like an import.
    static HMODULE library = ::LoadLibraryA("comdlg32.dll");
    return library;
}

template <class Function>
Function CommonDialogEntry(const char* name)
{
    HMODULE library = CommonDialogLibrary();
    return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name))) : nullptr;
}

} // namespace

BOOL CommonChooseColor(CHOOSECOLORA* choice)
{
    static auto entry = CommonDialogEntry<BOOL(WINAPI*)(CHOOSECOLORA*)>("ChooseColorA");
    return entry ? entry(choice) : FALSE;
}

BOOL CommonGetOpenFileName(OPENFILENAMEA* request)
{
    static auto entry = CommonDialogEntry<BOOL(WINAPI*)(OPENFILENAMEA*)>("GetOpenFileNameA");
    return entry ? entry(request) : FALSE;
}

BOOL CommonPrintDlg(PRINTDLGA* dialog)
{
    static auto entry = CommonDialogEntry<BOOL(WINAPI*)(PRINTDLGA*)>("PrintDlgA");
    return entry ? entry(dialog) : FALSE;
}
