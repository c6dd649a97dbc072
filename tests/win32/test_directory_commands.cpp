// The directory window's commands: its menus and system menu, help, the
// About box and the "Compare Files" dialog.
#include <doctest/doctest.h>

#include "directory_window_fixture.h"
#include "help_recorder.h"
#include "modal_driver.h"

namespace {

std::string MenuText(HMENU menu, UINT id)
{
    char text[128] = "";
    ::GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
    return text;
}

void SetEdit(HWND dialog, int id, const std::string& text)
{
    ::SetDlgItemTextA(dialog, id, text.c_str()); // sends EN_CHANGE
}

} // namespace

TEST_CASE("the system menu carries the window's commands, and they run from there")
{
    TempDirectory source, master;
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    HWND hwnd = fixture.window.m_hWnd;
    HMENU system = ::GetSystemMenu(hwnd, FALSE);
    CHECK(MenuText(system, ID_DIRECTORY_ABOUT) == "&About...");
    CHECK(MenuText(system, ID_DIRECTORY_COMPARE) == "&Compare...");
    CHECK(MenuText(system, ID_DIRECTORY_PREFERENCES) == "&Preferences...");
    CHECK(MenuText(system, ID_DIRECTORY_HELP_CONTENTS) == "&Help Topics");
    HMENU menu = ::GetMenu(hwnd);
    CHECK(MenuText(menu, ID_DIRECTORY_EXIT) == "E&xit");
    CHECK(MenuText(menu, ID_DIRECTORY_ABOUT) == "&About ORVINTA");

    ModalDriver about("About Zelvane", [](HWND dialog) { ClickButton(dialog, IDOK); });
    fixture.window.SendMessage(WM_SYSCOMMAND, ID_DIRECTORY_ABOUT, 0);
    CHECK(about.Ran());

    HelpRecorder help;
    fixture.window.SendMessage(WM_SYSCOMMAND, ID_DIRECTORY_HELP_CONTENTS, 0);
    ClickButton(hwnd, IDC_DIRECTORY_HELP);
    REQUIRE(help.Seen().size() == 2);
    CHECK(help.Seen()[0].command == HELP_FINDER);
    CHECK(help.Seen()[1].command == HELP_CONTEXT);
    CHECK(help.Seen()[1].data == 7);

    fixture.window.SendMessage(WM_COMMAND, ID_DIRECTORY_EXIT, 0);
    CHECK_FALSE(::IsWindow(hwnd));
    REQUIRE(help.Seen().size() == 3);
    CHECK(help.Seen()[2].command == HELP_QUIT);
}

TEST_CASE("Compare Files: OK needs both names, Help shows its topic, OK compares the two files")
{
    TempDirectory source, master;
    std::string left = source.Write("left.txt", "1\r\n");
    std::string right = master.Write("right.txt", "2\r\n");
    DirectoryWindowFixture fixture;
    REQUIRE(fixture.Open(source.Path(), master.Path()));
    HelpRecorder help;
    bool okAtStart = true, okWithOne = true, okWithBoth = false;
    ModalDriver dialog("Compare Files", [&](HWND box) {
        okAtStart = ::IsWindowEnabled(::GetDlgItem(box, IDOK)) != 0;
        SetEdit(box, IDC_LEFT_FILE, left);
        okWithOne = ::IsWindowEnabled(::GetDlgItem(box, IDOK)) != 0;
        SetEdit(box, IDC_RIGHT_FILE, right);
        okWithBoth = ::IsWindowEnabled(::GetDlgItem(box, IDOK)) != 0;
        ClickButton(box, IDC_COMPARE_HELP);
        ClickButton(box, IDOK);
    });
    CompareWindowDriver comparison;
    fixture.window.SendMessage(WM_COMMAND, ID_DIRECTORY_COMPARE, 0);
    CHECK(dialog.Ran());
    CHECK_FALSE(okAtStart);
    CHECK_FALSE(okWithOne);
    CHECK(okWithBoth);
    REQUIRE_FALSE(help.Seen().empty()); // the comparison window closes help as it goes
    CHECK(help.Seen()[0].command == HELP_CONTEXT);
    CHECK(help.Seen()[0].data == 4);
    CHECK(CompareWindowDriver::s_title == "Zelvane - ");
    CHECK(::IsWindowVisible(fixture.window.m_hWnd));
    REQUIRE(fixture.window.sourceFiles.RowCount() == 2); // left.txt, and right.txt facing an empty row
    CHECK(fixture.window.sourceFiles.GetEntry(0)->mark == 0);
    CHECK(fixture.window.masterFiles.GetEntry(1)->mark == 0);
}

TEST_CASE("the browse directory is the chosen file's directory")
{
    CHECK(CompareFilesDialog::DirectoryPart("c:\\work\\new\\main.c") == "c:\\work\\new");
    CHECK(CompareFilesDialog::DirectoryPart("main.c") == "");
    CHECK(CompareFilesDialog::DirectoryPart("c:\\main.c") == "c:\\");
}
