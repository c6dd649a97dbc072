// The whole way: the drop handler starts the real ORVINTA.EXE, whose directory
// window shows the dragged folder as the Source and the target as the Master.
#include <doctest/doctest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "drop_handler_support.h"

namespace {
const int SOURCE_EDIT = 1004;
const int MASTER_EDIT = 1006;

using Windows = std::vector<HWND>;

// Every directory window of another process.
BOOL CALLBACK CollectDirectoryWindow(HWND window, LPARAM parameter)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != ::GetCurrentProcessId() && ::GetDlgItem(window, SOURCE_EDIT) && ::GetDlgItem(window, MASTER_EDIT))
        reinterpret_cast<Windows*>(parameter)->push_back(window);
    return TRUE;
}

Windows DirectoryWindows()
{
    Windows windows;
    ::EnumWindows(CollectDirectoryWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// Waits (bounded) for a directory window that was not there before.
HWND NewDirectoryWindow(const Windows& before)
{
    HWND found = nullptr;
    PumpUntil(
        [&] {
            for (HWND window : DirectoryWindows()) {
                if (std::find(before.begin(), before.end(), window) == before.end())
                    found = window;
            }
            return found != nullptr;
        },
        30000);
    return found;
}

// The edit's text as the user sees it (wide), in UTF-8.
std::string EditText(HWND dialog, int id)
{
    wchar_t text[1024] = L"";
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(::GetDlgItem(dialog, id), WM_GETTEXT, sizeof text / sizeof text[0],
                          reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &copied);
    return Utf8(text);
}

// Closes ORVINTA's window and waits (bounded) for its process to end.
bool CloseProgram(HWND window)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId);
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    bool ended = process && ::WaitForSingleObject(process, 20000) == WAIT_OBJECT_0;
    if (process && !ended)
        ::TerminateProcess(process, 1);
    if (process)
        ::CloseHandle(process);
    return ended;
}
} // namespace

// Drops source on master and picks "Com&pare"; the two edits of the window
// that opens, which is then closed.
std::vector<std::string> CompareInOrvinta(const std::string& source, const std::string& master)
{
    Handler handler;
    REQUIRE(InitializeDrop(handler.init.Get(), { source }, master) == S_OK);
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuA(menu, MF_STRING, 1, "&Move Here");
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu, MF_STRING, 2, "Cancel");
    REQUIRE(handler.menu->QueryContextMenu(menu, 0, 100, 0x7fff, CMF_NORMAL) == 1);
    ::DestroyMenu(menu);
    Windows before = DirectoryWindows();
    CHECK(InvokeOffset(handler.menu.Get(), 0) == S_OK);
    HWND window = NewDirectoryWindow(before);
    REQUIRE(window);
    std::vector<std::string> shown = { EditText(window, SOURCE_EDIT), EditText(window, MASTER_EDIT) };
    CHECK(CloseProgram(window));
    return shown;
}

TEST_CASE("Compare opens ORVINTA's directory window on the two folders")
{
    CleanProgramSettings settings;
    RegisteredOrvext registered;
    TempTree tree;
    std::string source = tree.MakeDirectory("First Last");
    std::string master = tree.MakeDirectory("old dir");
    using Words = std::vector<std::string>;

    SUBCASE("through the App Paths entry")
    {
        SetAppPath(BesideTests("ORVINTA.EXE").c_str());
        CHECK(CompareInOrvinta(source, master) == Words{ source, master });
        CHECK(CompareInOrvinta(source, "C:\\") == Words{ source, "C:\\" });
        CHECK(CompareInOrvinta("C:\\", master) == Words{ "C:\\", master });
    }
    SUBCASE("without it, by the bare name the system finds beside the calling program")
    {
        CHECK(CompareInOrvinta(source, master) == Words{ source, master });
    }
}

TEST_CASE("Compare passes folder names of any script to ORVINTA, whole where Windows runs it in UTF-8")
{
    CleanProgramSettings settings;
    RegisteredOrvext registered;
    TempTree tree;
    SetAppPath(BesideTests("ORVINTA.EXE").c_str());
    // "Отчёт 2026" and "日本語 資料"
    std::string cyrillic = tree.MakeDirectory("\xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82 2026");
    std::string japanese = tree.MakeDirectory("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xE8\xB3\x87\xE6\x96\x99");
    using Words = std::vector<std::string>;

    SUBCASE("Windows 10 1903 and later: the names themselves")
    {
        ::SetEnvironmentVariableA("ZEL_ORVEXT_WINDOWS_VERSION", "10.18362");
        CHECK(CompareInOrvinta(cyrillic, japanese) == Words{ cyrillic, japanese });
    }
    SUBCASE("older Windows: short forms, which lead to the same folders")
    {
        ::SetEnvironmentVariableA("ZEL_ORVEXT_WINDOWS_VERSION", "6.7601");
        Words shown = CompareInOrvinta(cyrillic, japanese);
        REQUIRE(shown.size() == 2);
        for (size_t side = 0; side < 2; ++side) {
            CAPTURE(shown[side]);
            CHECK(shown[side].find_first_of("?*") == std::string::npos);
            wchar_t full[MAX_PATH] = L"";
            CHECK(::GetLongPathNameW(Wide(shown[side]).c_str(), full, MAX_PATH) > 0);
            CHECK(Utf8(full) == (side == 0 ? cyrillic : japanese));
        }
    }
    ::SetEnvironmentVariableA("ZEL_ORVEXT_WINDOWS_VERSION", nullptr);
}
