// The Preferences dialog, driven as a user would through RunPreferences, with
// a recording stand-in for the directory window: what it shows, what OK
// stores and writes, and which of the window's parts each change reaches.
#include <doctest/doctest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/preferences.h"
#include "common/help.h"
#include "common/settings_names.h"
#include "common/shared_resources.h"
#include "framework/message_box.h"
#include "framework/win_app.h"
#include "help_recorder.h"
#include "modal_driver.h"
#include "resources/resource.h"
#include "test_support.h"

namespace {

constexpr int COLOR_DIALOG_RED = 706; // the colour dialog's Red, Green and Blue edits
constexpr int COLOR_DIALOG_GREEN = 707;
constexpr int COLOR_DIALOG_BLUE = 708;
constexpr int COLOR_DIALOG_ADD_CUSTOM = 712; // "Add to Custom Colors"

std::string Hex(COLORREF colour)
{
    char text[16];
    ::wsprintfA(text, "%06lX", static_cast<unsigned long>(colour));
    return text;
}

// Records what the directory window would be asked to do, in order, with
// the process-wide value each step finds already stored.
struct RecordingTarget : PreferencesTarget {
    std::vector<FileTypeFilter> filters;
    std::vector<std::string> calls;

    std::vector<FileTypeFilter> FileTypeFilters() const override { return filters; }
    void LoadFileTypes() override
    {
        // As the window does: the list comes back from the registry.
        CString text = AfxGetApp()->GetProfileString(SECTION_PREFERENCES, "FileTypes", "");
        if (text.empty())
            text = AfxLoadString(IDS_DEFAULT_FILE_TYPES);
        filters = ParseFileTypes(text);
        calls.push_back("LoadFileTypes");
    }
    void PairEntries() override { calls.push_back("PairEntries method " + std::to_string(g_values.howCompare)); }
    void SetSourceHighlightColour(COLORREF colour) override
    {
        CHECK(g_values.sourceColor == colour);
        calls.push_back("SourceColour " + Hex(colour));
    }
    void SetMasterHighlightColour(COLORREF colour) override
    {
        CHECK(g_values.masterColor == colour);
        calls.push_back("MasterColour " + Hex(colour));
    }
    void WatchSource(bool on) override { calls.push_back(on ? "WatchSource on" : "WatchSource off"); }
    void WatchMaster(bool on) override { calls.push_back(on ? "WatchMaster on" : "WatchMaster off"); }
};

using Calls = std::vector<std::string>;

// Every value of the three sections, as name -> type and bytes.
std::map<std::string, std::pair<DWORD, std::vector<BYTE>>> SettingsSnapshot()
{
    std::map<std::string, std::pair<DWORD, std::vector<BYTE>>> snapshot;
    for (const char* section : { SECTION_PREFERENCES, SECTION_DIRECTORIES, SECTION_POSITION }) {
        std::string path = std::string("Software\\") + COMPANY_KEY + "\\ORVINTA\\" + section;
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            continue;
        for (DWORD index = 0;; ++index) {
            char name[256];
            DWORD nameSize = sizeof name;
            BYTE data[2048];
            DWORD dataSize = sizeof data;
            DWORD type = 0;
            if (::RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
                break;
            snapshot[std::string(section) + "/" + name] = { type, std::vector<BYTE>(data, data + dataSize) };
        }
        ::RegCloseKey(key);
    }
    return snapshot;
}

bool Checked(HWND dialog, int id)
{
    return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

std::vector<std::string> ListLines(HWND dialog)
{
    HWND list = ::GetDlgItem(dialog, IDC_PREFS_FILE_TYPES);
    std::vector<std::string> lines;
    int count = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[512] = "";
        ::SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        lines.push_back(text);
    }
    return lines;
}

int SelectedLine(HWND dialog)
{
    return static_cast<int>(::SendDlgItemMessageA(dialog, IDC_PREFS_FILE_TYPES, LB_GETCURSEL, 0, 0));
}

void SelectLine(HWND dialog, int line)
{
    ::SendDlgItemMessageA(dialog, IDC_PREFS_FILE_TYPES, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
}

// A radio button or check box clicked the way the mouse does it.
void Click(HWND dialog, int id)
{
    ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// A double-click on a control, message by message as the system sends them.
void DoubleClick(HWND control)
{
    const LPARAM point = MAKELPARAM(3, 3);
    ::SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageA(control, WM_LBUTTONUP, 0, point);
    ::SendMessageA(control, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    ::SendMessageA(control, WM_LBUTTONUP, 0, point);
}

// Presses a button of the Preferences dialog that opens the File Type Filter
// dialog, which is filled and closed with the given button.
bool RunFileTypeDialog(HWND prefs, int buttonId, const std::string& patterns, const std::string& description,
                       int answer, std::string* shownPatterns = nullptr)
{
    ModalDriver driver("File Type Filter", [&](HWND dialog) {
        if (shownPatterns)
            *shownPatterns = ItemText(dialog, IDC_FILE_TYPE_PATTERNS) + "|" + ItemText(dialog, IDC_FILE_TYPE_DESCRIPTION);
        ::SetDlgItemTextA(dialog, IDC_FILE_TYPE_PATTERNS, patterns.c_str());
        ::SetDlgItemTextA(dialog, IDC_FILE_TYPE_DESCRIPTION, description.c_str());
        ClickButton(dialog, answer);
    });
    if (buttonId == IDC_PREFS_FILE_TYPES)
        ::SendMessageA(prefs, WM_COMMAND, MAKEWPARAM(IDC_PREFS_FILE_TYPES, LBN_DBLCLK),
                       reinterpret_cast<LPARAM>(::GetDlgItem(prefs, IDC_PREFS_FILE_TYPES)));
    else
        ClickButton(prefs, buttonId);
    return driver.Ran();
}

// Double-clicks a swatch and answers the colour dialog: with a colour typed
// into its Red, Green and Blue fields (added to the custom colours when
// asked), then OK; or Cancel when no colour is given.
bool PickColour(HWND swatch, const COLORREF* colour, bool addToCustom = false)
{
    ModalDriver driver("Color", [&](HWND dialog) {
        if (colour) {
            ::SetDlgItemInt(dialog, COLOR_DIALOG_RED, GetRValue(*colour), FALSE);
            ::SetDlgItemInt(dialog, COLOR_DIALOG_GREEN, GetGValue(*colour), FALSE);
            ::SetDlgItemInt(dialog, COLOR_DIALOG_BLUE, GetBValue(*colour), FALSE);
            if (addToCustom)
                ClickButton(dialog, COLOR_DIALOG_ADD_CUSTOM);
            ClickButton(dialog, IDOK);
        } else {
            ClickButton(dialog, IDCANCEL);
        }
    });
    DoubleClick(swatch);
    return driver.Ran();
}

// The colour a swatch paints in its middle, rendered afresh.
COLORREF SwatchColour(HWND swatch)
{
    RECT client;
    ::GetClientRect(swatch, &client);
    HDC screen = ::GetDC(swatch);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::SendMessageA(swatch, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    COLORREF colour = ::GetPixel(memory, client.right / 2, client.bottom / 2);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(swatch, screen);
    return colour;
}

struct PreferencesFixture {
    CleanSettings clean;
    HelpRecorder help;
    ProcessValues savedValues = g_values;
    DWORD savedPlatform = g_shared.version.dwPlatformId;
    RecordingTarget target;

    PreferencesFixture()
    {
        g_values = ProcessValues();
        g_values.monitorChanges = true;
        g_shared.version.dwPlatformId = VER_PLATFORM_WIN32_NT;
        target.filters = ParseFileTypes(AfxLoadString(IDS_DEFAULT_FILE_TYPES));
    }
    ~PreferencesFixture()
    {
        g_values = savedValues;
        g_shared.version.dwPlatformId = savedPlatform;
    }

    // Runs the Preferences command; the action drives the dialog and closes it.
    INT_PTR Run(const std::function<void(HWND)>& action)
    {
        ModalDriver driver("Preferences", action);
        INT_PTR result = RunPreferences(nullptr, target);
        CHECK(driver.Ran());
        return result;
    }
};

} // namespace

TEST_CASE_FIXTURE(PreferencesFixture, "Preferences opens on the values in force; OK without changes writes and does nothing")
{
    g_values.whiteSpaceMode = 2;
    g_values.howCompare = 1;
    g_values.preserveHowCompare = true;
    g_values.sourceColor = RGB(10, 20, 30);
    g_values.masterColor = RGB(200, 100, 50);
    AfxGetApp()->WriteProfileInt(SECTION_PREFERENCES, "PreserveHowCompare", 1);
    AfxGetApp()->WriteProfileInt(SECTION_PREFERENCES, "HowCompare", 1);
    AfxGetApp()->WriteProfileString(SECTION_DIRECTORIES, "Source", "c:\\src");
    const auto before = SettingsSnapshot();
    const ProcessValues valuesBefore = g_values;

    INT_PTR result = Run([](HWND dialog) {
        CHECK(Checked(dialog, IDC_PREFS_WHITE_SPACE_ALL));
        CHECK_FALSE(Checked(dialog, IDC_PREFS_WHITE_SPACE_ENDS));
        CHECK_FALSE(Checked(dialog, IDC_PREFS_WHITE_SPACE_EVERYWHERE));
        CHECK(Checked(dialog, IDC_PREFS_COMPARE_CONTENTS));
        CHECK_FALSE(Checked(dialog, IDC_PREFS_COMPARE_TIMESTAMPS));
        CHECK(Checked(dialog, IDC_PREFS_PRESERVE_HOW_COMPARE));
        CHECK(Checked(dialog, IDC_PREFS_MONITOR_CHANGES));
        CHECK(::IsWindowEnabled(::GetDlgItem(dialog, IDC_PREFS_MONITOR_CHANGES)));
        CHECK(ListLines(dialog) == std::vector<std::string>{ "*.c,*.cpp,*.h,*.rc,*.def\tSource Files", "*.*\tAll Files" });
        CHECK(SelectedLine(dialog) == 0);
        CHECK(SwatchColour(::GetDlgItem(dialog, IDC_PREFS_SOURCE_SWATCH)) == RGB(10, 20, 30));
        CHECK(SwatchColour(::GetDlgItem(dialog, IDC_PREFS_MASTER_SWATCH)) == RGB(200, 100, 50));
        ClickButton(dialog, IDOK);
    });

    CHECK(result == IDOK);
    CHECK(SettingsSnapshot() == before);
    CHECK(target.calls.empty());
    CHECK(g_values.whiteSpaceMode == valuesBefore.whiteSpaceMode);
    CHECK(g_values.howCompare == valuesBefore.howCompare);
    CHECK(g_values.preserveHowCompare);
    CHECK(g_values.monitorChanges);
    CHECK(g_values.sourceColor == valuesBefore.sourceColor);
    CHECK(g_values.masterColor == valuesBefore.masterColor);
}

TEST_CASE_FIXTURE(PreferencesFixture, "Preferences: monitoring can be switched only on Windows NT")
{
    g_shared.version.dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
    g_values.monitorChanges = false;
    Run([](HWND dialog) {
        CHECK_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_PREFS_MONITOR_CHANGES)));
        CHECK_FALSE(Checked(dialog, IDC_PREFS_MONITOR_CHANGES));
        ClickButton(dialog, IDOK);
    });
    CHECK(target.calls.empty());
    CHECK_FALSE(ReadSetting(SECTION_PREFERENCES, "MonitorChanges").exists);
}

TEST_CASE_FIXTURE(PreferencesFixture, "Preferences: each single change is stored, written and put into effect, and only that")
{
    struct Row {
        const char* label;
        std::function<void(HWND)> change;
        std::map<std::string, DWORD> written; // Preferences values expected after OK
        Calls calls;
    };
    const COLORREF teal = RGB(0, 128, 128);
    const COLORREF orange = RGB(255, 128, 0);
    const Row rows[] = {
        { "white space: nothing is compared again", [](HWND d) { Click(d, IDC_PREFS_WHITE_SPACE_EVERYWHERE); },
          { { "WhiteSpace", 1 } }, {} },
        { "white space, the last button", [](HWND d) { Click(d, IDC_PREFS_WHITE_SPACE_ALL); },
          { { "WhiteSpace", 2 } }, {} },
        { "comparison method: the sides are paired again with the new method",
          [](HWND d) { Click(d, IDC_PREFS_COMPARE_CONTENTS); }, { { "HowCompare", 1 } }, { "PairEntries method 1" } },
        { "preserve flag: the method in force is written with it",
          [](HWND d) { Click(d, IDC_PREFS_PRESERVE_HOW_COMPARE); },
          { { "PreserveHowCompare", 1 }, { "HowCompare", 0 } }, {} },
        { "monitoring off: both sides stop, Source first", [](HWND d) { Click(d, IDC_PREFS_MONITOR_CHANGES); },
          { { "MonitorChanges", 0 } }, { "WatchSource off", "WatchMaster off" } },
        { "Source colour: only the Source list repaints",
          [&](HWND d) { CHECK(PickColour(::GetDlgItem(d, IDC_PREFS_SOURCE_SWATCH), &teal)); },
          { { "SourceColor", teal } }, { "SourceColour " + Hex(teal) } },
        { "Master colour: only the Master list repaints",
          [&](HWND d) { CHECK(PickColour(::GetDlgItem(d, IDC_PREFS_MASTER_SWATCH), &orange)); },
          { { "MasterColor", orange } }, { "MasterColour " + Hex(orange) } },
    };
    for (const Row& row : rows) {
        CAPTURE(row.label);
        CleanSettings clean;
        g_values = ProcessValues();
        g_values.monitorChanges = true;
        target.calls.clear();
        Run([&](HWND dialog) {
            row.change(dialog);
            ClickButton(dialog, IDOK);
        });
        std::map<std::string, DWORD> written;
        for (const auto& [name, value] : SettingsSnapshot()) {
            CHECK(value.first == REG_DWORD);
            DWORD number = 0;
            std::memcpy(&number, value.second.data(), std::min<size_t>(value.second.size(), sizeof number));
            written[name] = number;
        }
        std::map<std::string, DWORD> expected;
        for (const auto& [name, value] : row.written)
            expected[std::string(SECTION_PREFERENCES) + "/" + name] = value;
        CHECK(written == expected);
        CHECK(target.calls == row.calls);
        for (const auto& [name, value] : row.written) {
            if (name == "WhiteSpace")
                CHECK(g_values.whiteSpaceMode == static_cast<int>(value));
            if (name == "HowCompare")
                CHECK(g_values.howCompare == static_cast<int>(value));
            if (name == "PreserveHowCompare")
                CHECK(g_values.preserveHowCompare == (value != 0));
            if (name == "MonitorChanges")
                CHECK(g_values.monitorChanges == (value != 0));
            if (name == "SourceColor")
                CHECK(g_values.sourceColor == value);
            if (name == "MasterColor")
                CHECK(g_values.masterColor == value);
        }
    }
}

TEST_CASE_FIXTURE(PreferencesFixture, "Preferences: turning monitoring on watches the Source, then the Master")
{
    g_values.monitorChanges = false;
    Run([](HWND dialog) {
        CHECK_FALSE(Checked(dialog, IDC_PREFS_MONITOR_CHANGES));
        Click(dialog, IDC_PREFS_MONITOR_CHANGES);
        ClickButton(dialog, IDOK);
    });
    CHECK(target.calls == Calls{ "WatchSource on", "WatchMaster on" });
    CHECK(ReadSetting(SECTION_PREFERENCES, "MonitorChanges").AsDword() == 1);
    CHECK(g_values.monitorChanges);
}

TEST_CASE_FIXTURE(PreferencesFixture, "Preferences: every change at once is applied in its fixed order")
{
    PreferenceValues chosen = CurrentPreferences(g_values, target);
    chosen.monitorChanges = 0;
    chosen.masterColour = RGB(1, 2, 3);
    chosen.sourceColour = RGB(4, 5, 6);
    chosen.preserveHowCompare = 1;
    chosen.howCompare = 1;
    chosen.descriptions.pop_back();
    chosen.patternLists.pop_back();
    chosen.whiteSpace = 1;
    ApplyPreferences(chosen, g_values, target, *AfxGetApp());
    CHECK(target.calls == Calls{ "LoadFileTypes", "PairEntries method 1", "SourceColour " + Hex(RGB(4, 5, 6)),
                                 "MasterColour " + Hex(RGB(1, 2, 3)), "WatchSource off", "WatchMaster off" });
    CHECK(ReadSetting(SECTION_PREFERENCES, "FileTypes").AsString() == "*.c,*.cpp,*.h,*.rc,*.def|Source Files||");
    CHECK(ReadSetting(SECTION_PREFERENCES, "HowCompare").AsDword() == 1);
    CHECK(ReadSetting(SECTION_PREFERENCES, "WhiteSpace").AsDword() == 1);
}

TEST_CASE_FIXTURE(PreferencesFixture, "Preferences: filters are added, edited and deleted through the File Type Filter dialog")
{
    SUBCASE("New appends a filter and selects its line; OK writes the list and reloads it")
    {
        Run([](HWND dialog) {
            std::string shown;
            CHECK(RunFileTypeDialog(dialog, IDC_PREFS_FILE_TYPE_NEW, "*.txt", "Text Files", IDOK, &shown));
            CHECK(shown == "|"); // both fields empty
            CHECK(ListLines(dialog).back() == "*.txt\tText Files");
            CHECK(SelectedLine(dialog) == 2);
            ClickButton(dialog, IDOK);
        });
        CHECK(ReadSetting(SECTION_PREFERENCES, "FileTypes").AsString() ==
              "*.c,*.cpp,*.h,*.rc,*.def|Source Files|*.*|All Files|*.txt|Text Files||");
        CHECK(target.calls == Calls{ "LoadFileTypes" });
        REQUIRE(target.filters.size() == 3);
        CHECK(target.filters[2].description == "Text Files");
    }
    SUBCASE("Edit replaces the selected line in place and leaves no line selected")
    {
        Run([](HWND dialog) {
            SelectLine(dialog, 1);
            std::string shown;
            CHECK(RunFileTypeDialog(dialog, IDC_PREFS_FILE_TYPE_EDIT, "*", "Everything", IDOK, &shown));
            CHECK(shown == "*.*|All Files");
            CHECK(ListLines(dialog) ==
                  std::vector<std::string>{ "*.c,*.cpp,*.h,*.rc,*.def\tSource Files", "*\tEverything" });
            CHECK(SelectedLine(dialog) == LB_ERR);
            ClickButton(dialog, IDOK);
        });
        CHECK(ReadSetting(SECTION_PREFERENCES, "FileTypes").AsString() ==
              "*.c,*.cpp,*.h,*.rc,*.def|Source Files|*|Everything||");
        CHECK(target.calls == Calls{ "LoadFileTypes" });
    }
    SUBCASE("a double-click on a line edits it; a change of case alone counts as a change")
    {
        Run([](HWND dialog) {
            CHECK(RunFileTypeDialog(dialog, IDC_PREFS_FILE_TYPES, "*.c,*.cpp,*.h,*.rc,*.def", "source files", IDOK));
            ClickButton(dialog, IDOK);
        });
        CHECK(ReadSetting(SECTION_PREFERENCES, "FileTypes").AsString() ==
              "*.c,*.cpp,*.h,*.rc,*.def|source files|*.*|All Files||");
        CHECK(target.calls == Calls{ "LoadFileTypes" });
    }
    SUBCASE("Cancel in the File Type Filter dialog changes nothing; Edit and Delete without a line do nothing")
    {
        Run([](HWND dialog) {
            SelectLine(dialog, 0);
            CHECK(RunFileTypeDialog(dialog, IDC_PREFS_FILE_TYPE_EDIT, "*.x", "X", IDCANCEL));
            CHECK(RunFileTypeDialog(dialog, IDC_PREFS_FILE_TYPE_NEW, "*.y", "Y", IDCANCEL));
            SelectLine(dialog, -1);
            CHECK_FALSE(RunFileTypeDialog(dialog, IDC_PREFS_FILE_TYPE_EDIT, "*.z", "Z", IDOK));
            ClickButton(dialog, IDC_PREFS_FILE_TYPE_DELETE);
            CHECK(ListLines(dialog).size() == 2);
            ClickButton(dialog, IDOK);
        });
        CHECK_FALSE(ReadSetting(SECTION_PREFERENCES, "FileTypes").exists);
        CHECK(target.calls.empty());
    }
    SUBCASE("deleting every filter stores \"|\", and the default list does not come back")
    {
        Run([](HWND dialog) {
            SelectLine(dialog, 1);
            ClickButton(dialog, IDC_PREFS_FILE_TYPE_DELETE);
            CHECK(ListLines(dialog) == std::vector<std::string>{ "*.c,*.cpp,*.h,*.rc,*.def\tSource Files" });
            CHECK(SelectedLine(dialog) == 0);
            ClickButton(dialog, IDC_PREFS_FILE_TYPE_DELETE);
            CHECK(ListLines(dialog).empty());
            ClickButton(dialog, IDC_PREFS_FILE_TYPE_DELETE); // nothing left: nothing happens
            ClickButton(dialog, IDOK);
        });
        CHECK(ReadSetting(SECTION_PREFERENCES, "FileTypes").AsString() == "|");
        CHECK(target.calls == Calls{ "LoadFileTypes" });
        CHECK(target.filters.empty());
    }
}

TEST_CASE_FIXTURE(PreferencesFixture, "Preferences: Cancel drops every change made in the dialog")
{
    const auto before = SettingsSnapshot();
    const COLORREF teal = RGB(0, 128, 128);
    INT_PTR result = Run([&](HWND dialog) {
        Click(dialog, IDC_PREFS_WHITE_SPACE_ALL);
        Click(dialog, IDC_PREFS_COMPARE_CONTENTS);
        Click(dialog, IDC_PREFS_PRESERVE_HOW_COMPARE);
        Click(dialog, IDC_PREFS_MONITOR_CHANGES);
        CHECK(RunFileTypeDialog(dialog, IDC_PREFS_FILE_TYPE_EDIT, "*.x", "X", IDOK));
        CHECK(RunFileTypeDialog(dialog, IDC_PREFS_FILE_TYPE_NEW, "*.y", "Y", IDOK));
        ClickButton(dialog, IDC_PREFS_FILE_TYPE_DELETE);
        CHECK(PickColour(::GetDlgItem(dialog, IDC_PREFS_SOURCE_SWATCH), &teal));
        CHECK(SwatchColour(::GetDlgItem(dialog, IDC_PREFS_SOURCE_SWATCH)) == teal);
        ClickButton(dialog, IDCANCEL);
    });
    CHECK(result == IDCANCEL);
    CHECK(SettingsSnapshot() == before);
    CHECK(target.calls.empty());
    CHECK(FormatFileTypes(target.filters) == AfxLoadString(IDS_DEFAULT_FILE_TYPES));
    CHECK(g_values.whiteSpaceMode == 0);
    CHECK(g_values.howCompare == 0);
    CHECK_FALSE(g_values.preserveHowCompare);
    CHECK(g_values.monitorChanges);
    CHECK(g_values.sourceColor == 0xFF00FF);
}

TEST_CASE_FIXTURE(PreferencesFixture, "Preferences: a stored value outside its group's range shows no button and OK keeps it")
{
    g_values.whiteSpaceMode = 7;
    g_values.howCompare = -3;
    SUBCASE("left alone: nothing is written and the values stay")
    {
        Run([](HWND dialog) {
            for (int id : { IDC_PREFS_WHITE_SPACE_ENDS, IDC_PREFS_WHITE_SPACE_EVERYWHERE, IDC_PREFS_WHITE_SPACE_ALL,
                            IDC_PREFS_COMPARE_TIMESTAMPS, IDC_PREFS_COMPARE_CONTENTS })
                CHECK_FALSE(Checked(dialog, id));
            ClickButton(dialog, IDOK);
        });
        CHECK(g_values.whiteSpaceMode == 7);
        CHECK(g_values.howCompare == -3);
        CHECK_FALSE(ReadSetting(SECTION_PREFERENCES, "WhiteSpace").exists);
        CHECK_FALSE(ReadSetting(SECTION_PREFERENCES, "HowCompare").exists);
        CHECK(target.calls.empty());
    }
    SUBCASE("a button chosen in one group stores its index; the other group keeps its value")
    {
        Run([](HWND dialog) {
            Click(dialog, IDC_PREFS_WHITE_SPACE_ENDS);
            ClickButton(dialog, IDOK);
        });
        CHECK(g_values.whiteSpaceMode == 0);
        CHECK(ReadSetting(SECTION_PREFERENCES, "WhiteSpace").AsDword() == 0);
        CHECK(g_values.howCompare == -3);
        CHECK_FALSE(ReadSetting(SECTION_PREFERENCES, "HowCompare").exists);
    }
}

TEST_CASE_FIXTURE(PreferencesFixture, "Preferences: the colour swatches open the colour dialog on a double-click only")
{
    const COLORREF teal = RGB(0, 128, 128);
    const COLORREF plum = RGB(142, 69, 133);
    for (int i = 0; i < 16; ++i)
        ColorSwatch::CustomColours()[i] = RGB(255, 255, 255);

    Run([&](HWND dialog) {
        HWND swatch = ::GetDlgItem(dialog, IDC_PREFS_SOURCE_SWATCH);
        // A single click opens nothing.
        {
            ModalDriver colour("Color", [](HWND d) { ClickButton(d, IDCANCEL); });
            const LPARAM point = MAKELPARAM(3, 3);
            ::SendMessageA(swatch, WM_LBUTTONDOWN, MK_LBUTTON, point);
            ::SendMessageA(swatch, WM_LBUTTONUP, 0, point);
            PumpFor(200);
            CHECK_FALSE(colour.Ran());
        }
        // Cancel in the colour dialog keeps the colour.
        CHECK(PickColour(swatch, nullptr));
        CHECK(SwatchColour(swatch) == RGB(255, 0, 255));
        // A colour added to the custom colours is still there the next time.
        CHECK(PickColour(swatch, &plum, true));
        CHECK(SwatchColour(swatch) == plum);
        CHECK(ColorSwatch::CustomColours()[0] == plum);
        CHECK(PickColour(swatch, &teal));
        CHECK(SwatchColour(swatch) == teal);
        CHECK(ColorSwatch::CustomColours()[0] == plum);
        // The swatch repaints on screen, not only when asked to render.
        CHECK(PumpUntil([&] { return ClientPixel(swatch, 4, 4) == teal; }, 2000));
        ClickButton(dialog, IDOK);
    });
    CHECK(g_values.sourceColor == teal);
    CHECK(target.calls == Calls{ "SourceColour " + Hex(teal) });

    // The custom colours outlive the dialog: a later Preferences offers them.
    Run([&](HWND dialog) {
        CHECK(PickColour(::GetDlgItem(dialog, IDC_PREFS_MASTER_SWATCH), nullptr));
        ClickButton(dialog, IDCANCEL);
    });
    CHECK(ColorSwatch::CustomColours()[0] == plum);
}

TEST_CASE_FIXTURE(PreferencesFixture, "Preferences: Help shows topic 5")
{
    Run([](HWND dialog) {
        ClickButton(dialog, IDC_HELP_BUTTON);
        ClickButton(dialog, IDCANCEL);
    });
    REQUIRE(help.Seen().size() == 1);
    CHECK(help.Seen()[0].command == HELP_CONTEXT);
    CHECK(help.Seen()[0].data == HELP_TOPIC_PREFERENCES);
}
