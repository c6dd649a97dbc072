// Running ZelvaneSetup.exe and its uninstaller as a user or the system would,
// and reading back what they left on the machine.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

extern const char* const UNINSTALL_KEY_PATH;

// The setup program of the build tree (beside this test program's folder).
std::string SetupProgram();
// A file of the build tree that the installer packs (ORVINTA.EXE, ...).
std::string BuiltFile(const char* name);
// The ORVEXT.DLL that the installer packs for 64-bit or 32-bit callers.
std::string BuiltLibrary(bool x64);

// A registry view in which the installer registers the drop handler, with the
// library registered there: on 64-bit Windows the 64-bit view (x64\ORVEXT.DLL)
// and the 32-bit one (ORVEXT.DLL); on 32-bit Windows its only view.
struct HandlerView {
    const char* name;
    REGSAM flag;
    bool x64;
    std::string library;
};
bool WindowsIs64Bit();
std::vector<HandlerView> HandlerViews();
// The installed ORVEXT.DLL that a program of this test's width loads.
std::string InstalledLibraryOfOwnWidth();

// The five entries of the drop handler's registration as one view holds
// them, each "<absent>" when missing, in a fixed order with labels.
struct RegistryEntry {
    const char* label;
    std::string value;
};
std::vector<RegistryEntry> HandlerEntries(REGSAM view);
// A REG_SZ value read in one registry view; "<absent>" when there is none.
std::string ReadViewString(HKEY root, const std::string& key, const char* name, REGSAM view);
bool ViewKeyExists(HKEY root, const std::string& key, REGSAM view);
// What the library of a view's width writes into that view when its own
// DllRegisterServer runs at the installed path (through regsvr32 of that
// width); removed again before it returns. Where Windows cannot run that
// width (no 32-bit Wine), the library of this test's width stands at that
// path instead: the same registration code, so the same entries.
std::vector<RegistryEntry> SelfRegistration(const HandlerView& view);

// Where a default installation goes: Program Files\Zelvane.
std::string InstallDirectory();
// The Start menu shortcut of all users.
std::string ShortcutFolder();
std::string ShortcutPath();

// Runs the setup program silently (/S) and waits (bounded); its exit code, or -1.
int InstallSilently();
// Runs the QuietUninstallString of the installed-programs entry as the system
// does, then waits (bounded) for the copy of itself the uninstaller runs from
// the temporary folder; false if there is no entry or it did not finish.
bool UninstallSilently();
// Runs the UninstallString as a user does: through the uninstaller's pages,
// answering its question about the settings, if it asks one, with IDYES or IDNO.
struct InteractiveUninstall {
    bool finished = false;
    bool asked = false;
};
InteractiveUninstall UninstallAnswering(int answer);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
bool SameContents(const std::string& first, const std::string& second);
std::string Lower(std::string text);
// Whether a REG_SZ value (name null: the default) exists, under the view of
// this program's own bitness.
bool ValueExists(HKEY root, const std::string& key, const char* name);
// The program file a shell link points to; empty when it cannot be read.
std::string ShortcutTarget(const std::string& link);
// A version string ("ProductVersion") from a program's version resource.
std::string ProductVersion(const std::string& program);
// The full path of the program a process runs; empty when unknown.
std::string ProcessImage(DWORD processId);

// A top-level window of class #32770 captioned "Zelvane" that belongs to
// another process, with the Source (1004) and Master (1006) edits.
struct DirectoryWindow {
    HWND window = nullptr;
    DWORD processId = 0;
    std::string source;
    std::string master;
    std::string program;
};
std::vector<HWND> DirectoryWindows();
// Waits (bounded) for a directory window that is not among those given.
DirectoryWindow WaitForNewDirectoryWindow(const std::vector<HWND>& before);
// Closes the window and waits (bounded) for its process to end.
bool CloseAndWait(const DirectoryWindow& shown);
