// Built into both window-test programs, the UTF-8 one and the legacy one:
// 8-bit text goes through the user's legacy code page, and the directory
// window draws names as characters whatever the process's code page.
#include <doctest/doctest.h>

#include <string>

#include "common/code_pages_win32.h"
#include "directory_window_fixture.h"
#include "engine/text_encoding.h"
#include "text_pixels.h"

namespace {

std::wstring Wide(const std::string& text)
{
    return ProcessTextToWide(text);
}

// A file named name + ".txt" and a subdirectory named name, made through the
// wide calls so that the name does not depend on the process's code page.
void MakeNamed(const TempDirectory& directory, const std::wstring& name)
{
    std::wstring base = Wide(directory.Path()) + L"\\" + name;
    REQUIRE(::CreateDirectoryW(base.c_str(), nullptr));
    HANDLE file = ::CreateFileW((base + L".txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    REQUIRE(file != INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, "same", 4, &written, nullptr);
    // One fixed time on both sides: files made a moment apart could fall on
    // two sides of a 2-second DOS time and be drawn as differing.
    FILETIME fixed = { 0x5A000000u, 0x01D80000u };
    ::SetFileTime(file, nullptr, nullptr, &fixed);
    ::CloseHandle(file);
}

void RemoveNamed(const TempDirectory& directory, const std::wstring& name)
{
    std::wstring base = Wide(directory.Path()) + L"\\" + name;
    ::DeleteFileW((base + L".txt").c_str());
    ::RemoveDirectoryW(base.c_str());
}

// The screen against the name drawn with DrawTextW in the control's font,
// within a few pixels to the right of where the area starts (a list view's
// item rectangle is not quite the one it hands to the drawing); in a UTF-8
// process the narrow drawing the lists had before must not match.
void CheckNameDrawn(HWND control, const RECT& area, const std::wstring& name)
{
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
    COLORREF background = ::GetSysColor(COLOR_WINDOW);
    COLORREF ink = ::GetSysColor(COLOR_WINDOWTEXT);
    RECT drawn = { 0, 0, area.right - area.left - 4, area.bottom - area.top };
    std::vector<COLORREF> expected = TextPixels::Drawn(drawn, font, name, background, ink);
    CHECK(TextPixels::Ink(expected, background) > 20);
    std::vector<COLORREF> screen = TextPixels::OnScreen(control, area);
    int width = area.right - area.left;
    int matchedAt = -1;
    for (int shift = 0; shift <= 4 && matchedAt < 0; ++shift) {
        std::vector<COLORREF> part;
        for (size_t at = 0; at < screen.size(); ++at)
            if (int(at % width) >= shift && int(at % width) < drawn.right + shift)
                part.push_back(screen[at]);
        if (part == expected)
            matchedAt = shift;
    }
    CHECK(matchedAt >= 0);
    if (g_codePages.processUtf8) {
        std::string bytes;
        Utf16ToStore(std::u16string(name.begin(), name.end()), true, bytes);
        CHECK(TextPixels::Drawn(drawn, font, name, background, ink, &bytes) != expected);
    }
}

} // namespace

TEST_CASE("8-bit text is read and written in the user's legacy code page")
{
    CHECK(g_codePages.processUtf8 == (::GetACP() == CP_UTF8));
    CHECK(LegacyCodePage() != CP_UTF8);
    if (LegacyCodePage() != 1252) {
        MESSAGE("the rows below are for Windows Latin 1; this system's legacy code page is ", LegacyCodePage());
        return;
    }
    struct Row {
        std::string label;
        std::u16string text;
        std::string bytes;
        bool held;
    };
    const Row rows[] = {
        { "a Latin 1 letter", u"\u00E9", "\xE9", true },
        { "the euro sign, where Latin 1 has a control", u"\u20AC", "\x80", true },
        { "a letter held only by a best fit", u"\u0100", "?", false },
        { "a character of another script", u"\u65E5", "?", false },
        { "a surrogate pair, one substitute per unit", u"\U0001F600", "??", false },
    };
    for (const Row& row : rows) {
        CAPTURE(row.label);
        std::string bytes;
        CHECK(Utf16ToStore(row.text, false, bytes) == row.held);
        CHECK(bytes == row.bytes);
        if (row.held)
            CHECK(StoreToUtf16(row.bytes, false) == row.text);
    }
    CHECK(g_codePages.legacyByte[0x9F] == u'\u0178');
}

TEST_CASE("the directory window draws names as characters, and item texts at the item's top")
{
    // A name the process's code page can hold: without UTF-8 only Latin 1 is sure.
    const std::wstring name = g_codePages.processUtf8 ? L"Gr\u00FC\u00DFe \u65E5\u672C" : L"Gr\u00FC\u00DFe K\u00F6ln";
    TempDirectory source, master;
    MakeNamed(source, name);
    MakeNamed(master, name);
    {
        DirectoryWindowFixture fixture;
        REQUIRE(fixture.Open(source.Path(), master.Path()));
        FileListView& list = fixture.window.sourceFiles;
        REQUIRE(list.RowCount() == 1);
        // Neither selected nor focused: plain colours, no focus rectangle.
        LVITEMA none = {};
        none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        list.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
        ::SetFocus(fixture.Item(IDC_PATTERN));

        {
            INFO("the file list's name cell");
            RECT row = {};
            row.left = LVIR_BOUNDS;
            list.SendMessage(LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
            RECT cell = { row.left + 8, row.top, row.left + list.ColumnWidth(0), row.bottom };
            CheckNameDrawn(list.m_hWnd, cell, name);
        }
        {
            INFO("the directory list's subdirectory item, at the item's top");
            DirectoryListBox& directories = fixture.window.sourceDirectories;
            int levels = directories.LevelCount();
            REQUIRE(directories.SendMessage(LB_GETCOUNT) == levels + 1);
            RECT item = {};
            directories.SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(levels), reinterpret_cast<LPARAM>(&item));
            RECT text = { item.left + 4 * levels + 20, item.top, item.right, item.bottom };
            CheckNameDrawn(directories.m_hWnd, text, name);
        }
        {
            INFO("the drive combo's letter, at the item's top");
            DriveCombo& drives = fixture.window.sourceDrives;
            HFONT font = reinterpret_cast<HFONT>(drives.SendMessage(WM_GETFONT));
            COLORREF background = ::GetSysColor(COLOR_WINDOW);
            COLORREF ink = ::GetSysColor(COLOR_WINDOWTEXT);
            // The item starts left of the bitmap so that only its text lands there.
            std::vector<COLORREF> drawn = TextPixels::Painted(40, 16, [&](HDC dc) {
                ::SelectObject(dc, font);
                ::SetBkColor(dc, background);
                ::SetTextColor(dc, ink);
                DRAWITEMSTRUCT draw = {};
                draw.CtlType = ODT_COMBOBOX;
                draw.itemAction = ODA_DRAWENTIRE;
                draw.hwndItem = drives.m_hWnd;
                draw.hDC = dc;
                draw.rcItem = { -20, 0, 40, 16 };
                draw.itemData = 2;
                drives.DrawItem(draw);
            });
            CHECK(drawn == TextPixels::Drawn({ 0, 0, 40, 16 }, font, L"c:", background, ink));
        }
    }
    RemoveNamed(source, name);
    RemoveNamed(master, name);
}
