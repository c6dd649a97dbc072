// The file type filters: the "File Type Filter" dialog and its OK button, and
// the list the directory window loads from the registry into its combo.
#include <doctest/doctest.h>

#include <windows.h>

#include "app/file_type_dialog.h"
#include "common/settings_names.h"
#include "directory/chooser/file_type_list.h"
#include "framework/message_box.h"
#include "framework/win_app.h"
#include "help_recorder.h"
#include "modal_driver.h"
#include "resources/resource.h"
#include "test_support.h"

namespace {

// A parent window with an unsorted drop-down list, as the directory window's "Files of Type".
struct ComboHost {
    ComboHost()
    {
        RECT rect = { 0, 0, 300, 200 };
        parent.CreateEx(0, nullptr, "host", WS_OVERLAPPEDWINDOW, rect, nullptr, 0);
        combo = ::CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL, 5, 5, 200,
                                  150, parent.m_hWnd, reinterpret_cast<HMENU>(1007), ::GetModuleHandleA(nullptr),
                                  nullptr);
    }
    std::vector<std::string> Items() const
    {
        std::vector<std::string> items;
        int count = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[256] = "";
            ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        return items;
    }
    int Selected() const { return static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0)); }

    CWnd parent;
    HWND combo = nullptr;
};

void WriteFileTypes(const char* text)
{
    AfxGetApp()->WriteProfileString(SECTION_PREFERENCES, "FileTypes", text);
}

struct DialogState {
    bool okEnabled = false;
};

bool OkEnabled(HWND dialog)
{
    return ::IsWindowEnabled(::GetDlgItem(dialog, IDOK)) != FALSE;
}

} // namespace

TEST_CASE("the filter list is read from the registry into the combo, with the remembered choice")
{
    CleanSettings clean;
    ComboHost host;
    REQUIRE(host.combo);
    FileTypeList list;
    CWinApp& app = *AfxGetApp();

    SUBCASE("no FileTypes value: the default list, the first filter chosen")
    {
        FileTypeList::RememberedChoice choice = list.Load(app, host.combo);
        CHECK(host.Items() == std::vector<std::string>{ "Source Files", "All Files" });
        CHECK(list.patternLists == std::vector<std::string>{ "*.c,*.cpp,*.h,*.rc,*.def", "*.*" });
        CHECK(choice.selectedIndex == 0);
        CHECK(host.Selected() == 0);
        CHECK(choice.patternText.empty());
        // Formatting the default gives back exactly the default text.
        CHECK(list.Format() == AfxLoadString(IDS_DEFAULT_FILE_TYPES));
    }
    SUBCASE("an empty value stands for the default too")
    {
        WriteFileTypes("");
        list.Load(app, host.combo);
        CHECK(host.Items() == std::vector<std::string>{ "Source Files", "All Files" });
    }
    SUBCASE("\"|\" is an empty list: the default does not come back")
    {
        WriteFileTypes("|");
        FileTypeList::RememberedChoice choice = list.Load(app, host.combo);
        CHECK(host.Items().empty());
        CHECK(list.Count() == 0);
        CHECK(choice.selectedIndex == -1);
        CHECK(host.Selected() == CB_ERR);
    }
    SUBCASE("a last record without its closing bars still counts")
    {
        WriteFileTypes("*.txt|Text Files");
        list.Load(app, host.combo);
        CHECK(host.Items() == std::vector<std::string>{ "Text Files" });
        CHECK(list.patternLists == std::vector<std::string>{ "*.txt" });
    }
    SUBCASE("a remembered index past the list selects nothing; the remembered pattern text comes back")
    {
        app.WriteProfileInt(SECTION_POSITION, "FileType", 5);
        app.WriteProfileString(SECTION_POSITION, "FileExtensions", "*.txt");
        FileTypeList::RememberedChoice choice = list.Load(app, host.combo);
        CHECK(host.Items().size() == 2);
        CHECK(choice.selectedIndex == -1);
        CHECK(host.Selected() == CB_ERR);
        CHECK(choice.patternText == "*.txt");
    }
    SUBCASE("a remembered index inside the list is selected")
    {
        app.WriteProfileInt(SECTION_POSITION, "FileType", 1);
        FileTypeList::RememberedChoice choice = list.Load(app, host.combo);
        CHECK(choice.selectedIndex == 1);
        CHECK(host.Selected() == 1);
        // Loading reads only: the remembered values are written by the window's choice.
        CHECK(ReadSetting(SECTION_POSITION, "FileType").AsDword() == 1);
        CHECK_FALSE(ReadSetting(SECTION_PREFERENCES, "FileTypes").exists);
    }
    SUBCASE("loading again replaces the list and the combo's items")
    {
        list.Load(app, host.combo);
        ::SendMessageA(host.combo, CB_SETCURSEL, 1, 0);
        WriteFileTypes("*.a|A|*.b|B|*.c|C||");
        app.WriteProfileInt(SECTION_POSITION, "FileType", 2);
        list.Load(app, host.combo);
        CHECK(host.Items() == std::vector<std::string>{ "A", "B", "C" });
        CHECK(list.descriptions == std::vector<std::string>{ "A", "B", "C" });
        CHECK(host.Selected() == 2);
        WriteFileTypes("|");
        list.Load(app, host.combo);
        CHECK(host.Items().empty());
        CHECK(list.patternLists.empty());
    }
}

TEST_CASE("the File Type Filter dialog enables OK only for two filled fields without a bar")
{
    HelpRecorder help;
    FileTypeDialog dialog(nullptr);
    struct Step {
        const char* label;
        const char* patterns;
        const char* description;
        bool ok;
    };
    const Step steps[] = {
        { "both empty", "", "", false },
        { "patterns only", "*.txt", "", false },
        { "description only", "", "Text", false },
        { "both filled", "*.txt", "Text", true },
        { "a bar in the patterns", "*.txt|*.c", "Text", false },
        { "a bar in the description", "*.txt", "Text|Files", false },
        { "a lone bar", "|", "Text", false },
        { "both filled again", "*.c,*.h", "C Files", true },
    };
    std::vector<std::string> failures;
    std::string caption, labels;
    bool okAtStart = true, enterKeptOpen = false;
    ModalDriver driver("File Type Filter", [&](HWND hwnd) {
        okAtStart = OkEnabled(hwnd);
        for (HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            char text[64] = "";
            ::GetWindowTextA(child, text, sizeof text);
            labels += std::string(text) + ";";
        }
        for (const Step& step : steps) {
            ::SetDlgItemTextA(hwnd, IDC_FILE_TYPE_PATTERNS, step.patterns);
            ::SetDlgItemTextA(hwnd, IDC_FILE_TYPE_DESCRIPTION, step.description);
            if (OkEnabled(hwnd) != step.ok)
                failures.push_back(step.label);
        }
        // OK by the keyboard while a field holds a bar keeps the dialog open.
        ::SetDlgItemTextA(hwnd, IDC_FILE_TYPE_DESCRIPTION, "C|Files");
        ::SendMessageA(hwnd, WM_COMMAND, IDOK, 0);
        enterKeptOpen = ::IsWindow(hwnd) && ::IsWindowVisible(hwnd);
        ClickButton(hwnd, IDC_HELP_BUTTON);
        ::SetDlgItemTextA(hwnd, IDC_FILE_TYPE_DESCRIPTION, "C Files");
        ClickButton(hwnd, IDOK);
    });
    INT_PTR result = dialog.DoModal();
    REQUIRE(driver.Ran());
    CHECK(failures.empty());
    for (const std::string& failure : failures)
        MESSAGE(failure);
    CHECK_FALSE(okAtStart);
    CHECK(labels == "&File Types:;;&Description:;;OK;Cancel;&Help;");
    CHECK(enterKeptOpen);
    CHECK(result == IDOK);
    CHECK(dialog.patternList == "*.c,*.h");
    CHECK(dialog.description == "C Files");
    REQUIRE(help.Seen().size() == 1);
    CHECK(help.Seen()[0].command == HELP_CONTEXT);
    CHECK(help.Seen()[0].data == 6);
}

TEST_CASE("the File Type Filter dialog shows the filter it is given and Cancel keeps it")
{
    FileTypeDialog dialog(nullptr);
    dialog.patternList = "*.cpp";
    dialog.description = "C++";
    std::string shownPatterns, shownDescription;
    bool okAtStart = false;
    ModalDriver driver("File Type Filter", [&](HWND hwnd) {
        shownPatterns = ItemText(hwnd, IDC_FILE_TYPE_PATTERNS);
        shownDescription = ItemText(hwnd, IDC_FILE_TYPE_DESCRIPTION);
        okAtStart = OkEnabled(hwnd);
        ::SetDlgItemTextA(hwnd, IDC_FILE_TYPE_PATTERNS, "*.x");
        ClickButton(hwnd, IDCANCEL);
    });
    INT_PTR result = dialog.DoModal();
    REQUIRE(driver.Ran());
    CHECK(shownPatterns == "*.cpp");
    CHECK(shownDescription == "C++");
    CHECK(okAtStart);
    CHECK(result == IDCANCEL);
    // The dialog reads its edits on every change; Cancel must not keep those.
    CHECK(dialog.patternList == "*.cpp");
}
