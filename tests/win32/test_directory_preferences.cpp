// Preferences as the directory window puts them into effect: the command
// opens the dialog, and each change reaches the lists at once.
#include <doctest/doctest.h>

#include "app/preferences.h"
#include "common/process_values.h"
#include "directory_window_fixture.h"
#include "modal_driver.h"

namespace {

COLORREF RowBackground(const FileListView& list, int row)
{
    RECT rect = {};
    rect.left = LVIR_BOUNDS;
    list.SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    return ClientPixel(list.m_hWnd, rect.left + 3, (rect.top + rect.bottom) / 2);
}

struct SavedValues {
    ProcessValues values = g_values;
    ~SavedValues() { g_values = values; }
};

} // namespace

TEST_CASE("Preferences from the directory window: a new method pairs again at once, a colour repaints only its list")
{
    SavedValues saved;
    g_values.howCompare = 0;
    g_values.monitorChanges = false;
    TempDirectory source, master;
    source.Write("same.txt", "abc");
    master.Write("same.txt", "abd");
    SameWriteTime(source.Path() + "\\same.txt", master.Path() + "\\same.txt");
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    DirectoryWindow& window = fixture.window;
    window.runPreferences = RunPreferences;
    REQUIRE(window.sourceFiles.GetEntry(0) != nullptr);
    CHECK(window.sourceFiles.GetEntry(0)->status == 0); // same size and time

    ModalDriver driver("Preferences", [](HWND dialog) {
        ::SendMessageA(::GetDlgItem(dialog, IDC_PREFS_COMPARE_CONTENTS), BM_CLICK, 0, 0);
        ClickButton(dialog, IDOK);
    });
    window.SendMessage(WM_COMMAND, MAKEWPARAM(ID_DIRECTORY_PREFERENCES, 0), 0);
    REQUIRE(driver.Ran());
    CHECK(g_values.howCompare == 1);
    REQUIRE(fixture.WaitForReading());
    CHECK(window.sourceFiles.GetEntry(0)->status == 1);
    CHECK(window.masterFiles.GetEntry(0)->status == 1);
    PumpFor(50);
    CHECK(RowBackground(window.sourceFiles, 0) == g_values.sourceColor);
    CHECK(RowBackground(window.masterFiles, 0) == g_values.masterColor);

    COLORREF before = RowBackground(window.masterFiles, 0);
    static_cast<PreferencesTarget&>(window).SetSourceHighlightColour(RGB(0, 160, 0));
    PumpFor(50);
    CHECK(RowBackground(window.sourceFiles, 0) == RGB(0, 160, 0));
    CHECK(RowBackground(window.masterFiles, 0) == before);
}
