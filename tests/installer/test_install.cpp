// ZelvaneSetup.exe as a user or an administrator runs it: silently into a
// fresh prefix, then ORVINTA started the two ways a user starts it from the
// shell, then a silent uninstallation that must leave nothing behind.
#include <doctest/doctest.h>

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <fstream>
#include <string>

#include "drop_handler_support.h"
#include "install_support.h"
#include "shellext_support.h"

namespace {
const char* const SETTINGS_KEY = "Software\\Brindlecote Software\\ORVINTA";
const char* const HANDLER_NAME = "ORVINTA Shell Extension";

// The files the installation consists of, each with the built file it must
// equal: the x86_64 drop handler only on 64-bit Windows, the help files only
// when the build made them, since the installer takes them only then.
std::vector<std::pair<std::string, std::string>> InstalledFiles()
{
    std::vector<std::pair<std::string, std::string>> files = { { "ORVINTA.EXE", BuiltFile("ORVINTA.EXE") },
                                                               { "ORVEXT.DLL", BuiltLibrary(false) } };
    if (WindowsIs64Bit())
        files.push_back({ "x64\\ORVEXT.DLL", BuiltLibrary(true) });
    for (const char* help : { "ORVINTA.HLP", "ORVINTA.CNT", "ORVINTA.CHM" }) {
        if (FileExists(BuiltFile(help)))
            files.push_back({ help, BuiltFile(help) });
    }
    return files;
}

void CheckInstalled()
{
    std::string directory = InstallDirectory();
    INFO("installed in " << directory);
    for (const auto& file : InstalledFiles()) {
        INFO(file.first);
        CHECK(SameContents(directory + "\\" + file.first, file.second));
    }
    std::string uninstaller = directory + "\\Uninstall.exe";
    CHECK(FileExists(uninstaller));

    // The five entries of ORVEXT's registration in each view, naming the
    // library of that view's width; the 32-bit program in App Paths of each.
    for (const HandlerView& view : HandlerViews()) {
        INFO(std::string(view.name));
        std::vector<RegistryEntry> expected = { { "class name", HANDLER_NAME },
                                                { "server path", Lower(view.library) },
                                                { "threading model", "Apartment" },
                                                { "drop handler", OrvextClassId() },
                                                { "approval", HANDLER_NAME } };
        std::vector<RegistryEntry> entries = HandlerEntries(view.flag);
        for (size_t i = 0; i < expected.size(); ++i) {
            INFO(expected[i].label);
            CHECK(entries[i].value == expected[i].value);
        }
        CHECK(ReadViewString(HKEY_LOCAL_MACHINE, APP_PATH_KEY_PATH, nullptr, view.flag) ==
              directory + "\\ORVINTA.EXE");
    }

    CHECK(ReadString(HKEY_LOCAL_MACHINE, UNINSTALL_KEY_PATH, "DisplayName") == "Zelvane");
    CHECK(ReadString(HKEY_LOCAL_MACHINE, UNINSTALL_KEY_PATH, "Publisher") == "Brindlecote Software");
    std::string version = ProductVersion(directory + "\\ORVINTA.EXE");
    CHECK(!version.empty());
    CHECK(ReadString(HKEY_LOCAL_MACHINE, UNINSTALL_KEY_PATH, "DisplayVersion") == version);
    CHECK(ReadString(HKEY_LOCAL_MACHINE, UNINSTALL_KEY_PATH, "DisplayIcon") == directory + "\\ORVINTA.EXE,0");
    CHECK(ReadString(HKEY_LOCAL_MACHINE, UNINSTALL_KEY_PATH, "UninstallString") == "\"" + uninstaller + "\"");
    CHECK(ReadString(HKEY_LOCAL_MACHINE, UNINSTALL_KEY_PATH, "QuietUninstallString") == "\"" + uninstaller + "\" /S");

    CHECK(Lower(ShortcutTarget(ShortcutPath())) == Lower(directory + "\\ORVINTA.EXE"));
    // Wine has HTML Help, so the help entry opens the CHM.
    if (FileExists(BuiltFile("ORVINTA.CHM")))
        CHECK(Lower(ShortcutTarget(ShortcutFolder() + "\\Zelvane Help.lnk")) == Lower(directory + "\\ORVINTA.CHM"));
}

void CheckNothingLeft()
{
    std::string directory = InstallDirectory();
    CHECK_FALSE(DirectoryExists(directory));
    for (const HandlerView& view : HandlerViews()) {
        INFO(std::string(view.name));
        CHECK_FALSE(ViewKeyExists(HKEY_LOCAL_MACHINE, APP_PATH_KEY_PATH, view.flag));
        CHECK_FALSE(ViewKeyExists(HKEY_CLASSES_ROOT, ClassKeyPath(), view.flag));
        CHECK_FALSE(ViewKeyExists(HKEY_CLASSES_ROOT, DROP_HANDLER_KEY, view.flag));
        CHECK(ReadViewString(HKEY_LOCAL_MACHINE, APPROVED_KEY_PATH, OrvextClassId().c_str(), view.flag) ==
              "<absent>");
    }
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_KEY_PATH));
    CHECK_FALSE(DirectoryExists(ShortcutFolder()));
}

// One installation for a test: made silently, and taken away silently at the
// end if the test has not done so itself.
class Installation {
public:
    Installation()
    {
        CheckNothingLeft();
        REQUIRE(InstallSilently() == 0);
    }
    ~Installation()
    {
        if (KeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_KEY_PATH))
            UninstallSilently();
    }
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;
};

// Runs the test with a current directory that holds no ORVINTA.EXE, so that
// only the App Paths entry can lead the shell to the program.
class NeutralDirectory {
public:
    explicit NeutralDirectory(const std::string& path)
    {
        ::GetCurrentDirectoryA(sizeof m_previous, m_previous);
        ::SetCurrentDirectoryA(path.c_str());
    }
    ~NeutralDirectory() { ::SetCurrentDirectoryA(m_previous); }
    NeutralDirectory(const NeutralDirectory&) = delete;
    NeutralDirectory& operator=(const NeutralDirectory&) = delete;

private:
    char m_previous[MAX_PATH] = "";
};

void CheckShownByInstalledProgram(const DirectoryWindow& shown, const std::string& source, const std::string& master)
{
    REQUIRE(shown.window);
    CHECK(shown.source == source);
    CHECK(shown.master == master);
    CHECK(Lower(shown.program) == Lower(InstallDirectory() + "\\ORVINTA.EXE"));
    CHECK(CloseAndWait(shown));
}
} // namespace

TEST_CASE("A silent installation puts everything in place and a silent uninstallation takes it all away")
{
    CleanProgramSettings settings;
    // What ORVINTA remembers is the user's, and a silent run never asks.
    ::SHSetValueA(HKEY_CURRENT_USER, (std::string(SETTINGS_KEY) + "\\Directories").c_str(), "Source", REG_SZ,
                  "C:\\work", 8);
    {
        Installation installation;
        CheckInstalled();
        REQUIRE(UninstallSilently());
        CheckNothingLeft();
    }
    CHECK(ReadString(HKEY_CURRENT_USER, std::string(SETTINGS_KEY) + "\\Directories", "Source") == "C:\\work");
}

TEST_CASE("An uninstallation run by the user removes the settings only when the user says so")
{
    CleanProgramSettings settings;
    std::string directories = std::string(SETTINGS_KEY) + "\\Directories";
    Installation installation;

    SUBCASE("Yes removes them")
    {
        ::SHSetValueA(HKEY_CURRENT_USER, directories.c_str(), "Source", REG_SZ, "C:\\work", 8);
        InteractiveUninstall run = UninstallAnswering(IDYES);
        CHECK(run.finished);
        CHECK(run.asked);
        CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, SETTINGS_KEY));
    }
    SUBCASE("No keeps them")
    {
        ::SHSetValueA(HKEY_CURRENT_USER, directories.c_str(), "Source", REG_SZ, "C:\\work", 8);
        InteractiveUninstall run = UninstallAnswering(IDNO);
        CHECK(run.finished);
        CHECK(run.asked);
        CHECK(ReadString(HKEY_CURRENT_USER, directories, "Source") == "C:\\work");
    }
    SUBCASE("without settings there is nothing to ask")
    {
        InteractiveUninstall run = UninstallAnswering(IDYES);
        CHECK(run.finished);
        CHECK_FALSE(run.asked);
    }
    CheckNothingLeft();
}

TEST_CASE("A file of the user's in the installation folder outlives the uninstallation")
{
    std::string kept;
    {
        Installation installation;
        kept = InstallDirectory() + "\\notes.txt";
        std::ofstream(kept) << "mine";
        REQUIRE(UninstallSilently());
        for (const auto& file : InstalledFiles())
            CHECK_FALSE(FileExists(InstallDirectory() + "\\" + file.first));
        CHECK_FALSE(FileExists(InstallDirectory() + "\\Uninstall.exe"));
        CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_KEY_PATH));
    }
    CHECK(FileExists(kept));
    ::DeleteFileA(kept.c_str());
    ::RemoveDirectoryA(InstallDirectory().c_str());
    CheckNothingLeft();
}

TEST_CASE("Each registry view holds, value for value, what its own ORVEXT.DLL registers")
{
    std::vector<std::vector<RegistryEntry>> installed;
    {
        Installation installation;
        for (const HandlerView& view : HandlerViews())
            installed.push_back(HandlerEntries(view.flag));
        REQUIRE(UninstallSilently());
    }
    CheckNothingLeft();
    std::vector<HandlerView> views = HandlerViews();
    for (size_t v = 0; v < views.size(); ++v) {
        INFO(std::string(views[v].name));
        std::vector<RegistryEntry> own = SelfRegistration(views[v]);
        for (size_t i = 0; i < own.size(); ++i) {
            INFO(own[i].label);
            CHECK(own[i].value != "<absent>");
            CHECK(installed[v][i].value == own[i].value);
        }
    }
    CheckNothingLeft();
}

TEST_CASE("Installing over an installation and uninstalling once leaves nothing behind")
{
    Installation installation;
    REQUIRE(InstallSilently() == 0);
    CheckInstalled();
    REQUIRE(UninstallSilently());
    CheckNothingLeft();
}

TEST_CASE("The installed ORVINTA starts by its bare name through App Paths on two directories")
{
    CleanProgramSettings settings;
    TempTree tree;
    std::string source = tree.MakeDirectory("new");
    std::string master = tree.MakeDirectory("old");
    Installation installation;
    NeutralDirectory neutral(tree.Path());

    std::vector<HWND> before = DirectoryWindows();
    std::string parameters = source + " " + master;
    HINSTANCE started =
        ::ShellExecuteA(nullptr, nullptr, "ORVINTA.EXE", parameters.c_str(), nullptr, SW_SHOWNORMAL);
    REQUIRE(reinterpret_cast<INT_PTR>(started) > 32);
    CheckShownByInstalledProgram(WaitForNewDirectoryWindow(before), source, master);
}

TEST_CASE("The installed drop handler's Compare starts the installed ORVINTA on the two folders")
{
    CleanProgramSettings settings;
    TempTree tree;
    std::string source = tree.MakeDirectory("dragged");
    std::string master = tree.MakeDirectory("target");
    {
        Installation installation;
        NeutralDirectory neutral(tree.Path());
        {
            Handler handler;
            HMODULE loaded = ::GetModuleHandleA("ORVEXT.DLL");
            REQUIRE(loaded);
            char path[MAX_PATH] = "";
            ::GetModuleFileNameA(loaded, path, sizeof path);
            CHECK(Lower(path) == Lower(InstalledLibraryOfOwnWidth()));

            REQUIRE(InitializeDrop(handler.init.Get(), { source }, master) == S_OK);
            HMENU menu = ::CreatePopupMenu();
            ::AppendMenuA(menu, MF_STRING, 1, "&Move Here");
            ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(menu, MF_STRING, 2, "Cancel");
            REQUIRE(handler.menu->QueryContextMenu(menu, 0, 100, 0x7fff, CMF_NORMAL) == 1);
            char added[64] = "";
            ::GetMenuStringA(menu, 100, added, sizeof added, MF_BYCOMMAND);
            CHECK(std::string(added) == "Com&pare");
            ::DestroyMenu(menu);
            std::vector<HWND> before = DirectoryWindows();
            CHECK(InvokeOffset(handler.menu.Get(), 0) == S_OK);
            CheckShownByInstalledProgram(WaitForNewDirectoryWindow(before), source, master);
        }
        // The shell lets go of an unused handler; so must this test before the
        // uninstaller removes the library.
        PumpUntil(
            [] {
                ::CoFreeUnusedLibrariesEx(0, 0);
                return ::GetModuleHandleA("ORVEXT.DLL") == nullptr;
            },
            10000);
        REQUIRE(UninstallSilently());
    }
    CheckNothingLeft();
}

TEST_CASE("Installing over an installation whose program runs and whose drop handler is loaded replaces both")
{
    CleanProgramSettings settings;
    TempTree tree;
    Installation installation;
    // An older build: the same code with other bytes after it, which runs alike.
    std::string directory = InstallDirectory();
    std::string library = InstalledLibraryOfOwnWidth();
    for (const std::string& file : { directory + "\\ORVINTA.EXE", library }) {
        std::ofstream older(file, std::ios::binary | std::ios::app);
        older << "an older build";
    }
    REQUIRE_FALSE(SameContents(library, BuiltLibrary(sizeof(void*) == 8)));
    HMODULE held = ::LoadLibraryA(library.c_str());
    REQUIRE(held);
    std::vector<HWND> before = DirectoryWindows();
    std::string parameters = tree.MakeDirectory("a") + " " + tree.MakeDirectory("b");
    ::ShellExecuteA(nullptr, nullptr, (directory + "\\ORVINTA.EXE").c_str(), parameters.c_str(), nullptr,
                    SW_SHOWNORMAL);
    DirectoryWindow running = WaitForNewDirectoryWindow(before);
    REQUIRE(running.window);

    CHECK(InstallSilently() == 0);
    CheckInstalled();
    CHECK(CloseAndWait(running));
    ::FreeLibrary(held);
    REQUIRE(UninstallSilently());
    CheckNothingLeft();
}
