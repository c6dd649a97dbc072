// Characters beyond ASCII in the panes: typed as Windows delivers them,
// stepped over whole, copied, drawn one per cell, merged across encodings.
#include <doctest/doctest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "tests/win32/compare_window_fixture.h"
#include "tests/win32/pane_driver.h"

#include "resources/resource.h"

namespace {

const FileEncoding UTF8 = { EncodingKind::Utf8, false };
const FileEncoding UTF16LE = { EncodingKind::Utf16Le, true };
const FileEncoding LEGACY = { EncodingKind::Legacy, false };

std::string Row(const TextPane& pane, int row)
{
    return std::string(pane.RowText(row));
}

// As a keyboard delivers a character: posted in its UTF-16 form to the focused pane.
void TypeWide(TextPane& pane, const std::u16string& units)
{
    ::SetFocus(pane.m_hWnd);
    for (char16_t unit : units)
        ::PostMessageW(pane.m_hWnd, WM_CHAR, unit, 1);
    PumpFor(20);
}

std::u16string ClipboardUnicode()
{
    std::u16string text;
    if (::OpenClipboard(nullptr)) {
        if (HGLOBAL data = ::GetClipboardData(CF_UNICODETEXT)) {
            text = static_cast<const char16_t*>(::GlobalLock(data));
            ::GlobalUnlock(data);
        }
        ::CloseClipboard();
    }
    return text;
}

} // namespace

TEST_CASE("typed characters go into the store in its own form")
{
    struct Case {
        const char* label;
        FileEncoding encoding;
        std::u16string typed;
        std::string row; // row 0 after typing at column 1 of "ab"
    };
    const Case cases[] = {
        { "é in UTF-8", UTF8, u"\u00E9", "a\xC3\xA9" "b" },
        { "€ in UTF-8", UTF8, u"\u20AC", "a\xE2\x82\xAC" "b" },
        { "Ж in a UTF-16 file's store", UTF16LE, u"\u0416", "a\xD0\x96" "b" },
        { "日 in a UTF-16 file's store", UTF16LE, u"\u65E5", "a\xE6\x97\xA5" "b" },
        { "a surrogate pair joins", UTF8, u"\U0001F600", "a\xF0\x9F\x98\x80" "b" },
        { "é in a legacy store is one byte", LEGACY, u"\u00E9", "a\xE9" "b" },
        { "日 has no legacy form: nothing typed", LEGACY, u"\u65E5", "ab" },
        { "DEL and C1 controls are not typed", UTF8, u"\u007F\u0085", "ab" },
        { "a lone second half is not typed", UTF8, u"\xDC00", "ab" },
    };
    for (const Case& c : cases) {
        CAPTURE(c.label);
        CompareWindowFixture fixture("ab\r\n", "ab\r\n");
        REQUIRE(fixture.created);
        TextPane& source = fixture.window.sourcePane;
        source.buffer.encoding = c.encoding;
        source.MoveCaret(1, 0, 0);
        TypeWide(source, c.typed);
        CHECK(Row(source, 0) == c.row);
        CHECK(source.caret.column == (c.row == "ab" ? 1 : 2));
    }
}

TEST_CASE("a character typed into a UTF-8 file is saved as its bytes, the other lines as they were")
{
    const std::string other = "\xC3\x9C" "bung \xE6\x97\xA5\r\n";
    CompareWindowFixture fixture("K\xC3\xB6ln\r\n" + other, "x\r\n");
    REQUIRE(fixture.created);
    TextPane& source = fixture.window.sourcePane;
    source.buffer.encoding = UTF8;
    source.MoveCaret(4, 0, 0);
    TypeWide(source, u"\u00E9\U0001F600");
    fixture.window.SendMessage(WM_COMMAND, ID_SAVE_SOURCE);
    CHECK(ReadWholeFile(fixture.window.sourcePath) == "K\xC3\xB6ln\xC3\xA9\xF0\x9F\x98\x80\r\n" + other);
}

TEST_CASE("the caret, Backspace and Delete step over whole characters")
{
    // Columns: a=0, é=1, €=2, U+1F600=3, b=4.
    const std::string row = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80" "b";
    struct Case {
        const char* label;
        int column;
        UINT key; // WM_KEYDOWN key, or 0 for Backspace as a character
        int caretAfter;
        std::string rowAfter;
    };
    const Case cases[] = {
        { "Right over a two-byte character", 1, VK_RIGHT, 2, row },
        { "Right over a surrogate pair", 3, VK_RIGHT, 4, row },
        { "Left back over a three-byte character", 3, VK_LEFT, 2, row },
        { "Delete removes é whole", 1, VK_DELETE, 1, "a\xE2\x82\xAC\xF0\x9F\x98\x80" "b" },
        { "Delete removes the pair whole", 3, VK_DELETE, 3, "a\xC3\xA9\xE2\x82\xAC" "b" },
        { "Backspace removes the pair whole", 4, 0, 3, "a\xC3\xA9\xE2\x82\xAC" "b" },
        { "Backspace removes € whole", 3, 0, 2, "a\xC3\xA9\xF0\x9F\x98\x80" "b" },
        { "End stops after the last character", 0, VK_END, 5, row },
    };
    for (const Case& c : cases) {
        CAPTURE(c.label);
        CompareWindowFixture fixture(row + "\r\n", "x\r\n");
        REQUIRE(fixture.created);
        TextPane& source = fixture.window.sourcePane;
        source.buffer.encoding = UTF8;
        ::SetFocus(source.m_hWnd);
        source.MoveCaret(c.column, 0, 0);
        if (c.key)
            PressKey(source, c.key);
        else
            source.SendMessage(WM_CHAR, '\b', 1);
        CHECK(source.caret.column == c.caretAfter);
        CHECK(Row(source, 0) == c.rowAfter);
    }
}

TEST_CASE("Copy puts the characters on the clipboard as UTF-16, and the legacy bytes as CF_TEXT")
{
    struct Case {
        const char* label;
        FileEncoding encoding;
        std::string row;
        std::u16string unicode;
        std::string legacy;
    };
    const Case cases[] = {
        { "a UTF-8 row", UTF8, "Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln", u"Gr\u00FC\u00DFe aus K\u00F6ln",
          "Gr\xFC\xDF" "e aus K\xF6ln" },
        // WideCharToMultiByte gives one default character per UTF-16 unit.
        { "a character outside the basic plane", UTF16LE, "x\xF0\x9F\x98\x80", u"x\U0001F600", "x??" },
        { "a legacy row", LEGACY, "K\xF6ln", u"K\u00F6ln", "K\xF6ln" },
    };
    for (const Case& c : cases) {
        CAPTURE(c.label);
        CompareWindowFixture fixture(c.row + "\r\n", "x\r\n");
        REQUIRE(fixture.created);
        TextPane& source = fixture.window.sourcePane;
        source.buffer.encoding = c.encoding;
        ::SetFocus(source.m_hWnd);
        source.MoveCaret(0, 0, 0);
        PressKey(source, VK_END);
        source.anchor = { 0, 0 };
        fixture.window.SendMessage(WM_COMMAND, ID_EDIT_COPY);
        CHECK(ClipboardUnicode() == c.unicode);
        REQUIRE(::OpenClipboard(nullptr));
        HGLOBAL text = ::GetClipboardData(CF_TEXT);
        CHECK(::GetClipboardData(CF_LOCALE) != nullptr);
        CHECK((text && std::string(static_cast<const char*>(::GlobalLock(text))) == c.legacy));
        if (text)
            ::GlobalUnlock(text);
        ::CloseClipboard();
    }
}

TEST_CASE("pasting UTF-16 into a UTF-8 store keeps every character")
{
    CompareWindowFixture fixture("ab\r\n", "x\r\n");
    REQUIRE(fixture.created);
    TextPane& source = fixture.window.sourcePane;
    source.buffer.encoding = UTF8;
    REQUIRE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    const std::u16string wide = u"\u65E5\u0416\U0001F600";
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(char16_t));
    std::copy_n(wide.c_str(), wide.size() + 1, static_cast<char16_t*>(::GlobalLock(block)));
    ::GlobalUnlock(block);
    ::SetClipboardData(CF_UNICODETEXT, block);
    ::CloseClipboard();
    ::SetFocus(source.m_hWnd);
    source.MoveCaret(1, 0, 0);
    source.SendMessage(WM_PASTE);
    CHECK(Row(source, 0) == "a\xE6\x97\xA5\xD0\x96\xF0\x9F\x98\x80" "b");
    CHECK(source.caret.column == 4);
}

TEST_CASE("a UTF-8 row shows the same pixels as its characters drawn in the pane's font")
{
    // Characters the raster Courier holds; the row is equal on both sides, so white.
    const std::string row = "Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln";
    const std::wstring shown = L"Gr\u00FC\u00DFe aus K\u00F6ln";
    CompareWindowFixture fixture(row + "\r\n", row + "\r\n");
    REQUIRE(fixture.created);
    TextPane& source = fixture.window.sourcePane;
    source.buffer.encoding = UTF8;
    PaneImage pane(source.m_hWnd, PaneImage::RENDERED);

    HDC dc = ::CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader = { sizeof info.bmiHeader, pane.width, -source.rowHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0 };
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);
    RECT band = { 0, 0, pane.width, source.rowHeight };
    ::FillRect(dc, &band, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    HGDIOBJ oldFont = ::SelectObject(dc, source.font);
    ::SetBkMode(dc, TRANSPARENT);
    ::TextOutW(dc, 0, 0, shown.c_str(), static_cast<int>(shown.size()));
    ::SelectObject(dc, oldFont);
    const auto* expected = static_cast<const DWORD*>(bits);
    int differing = 0;
    int ink = 0;
    for (int y = 0; y < source.rowHeight; ++y) {
        for (int x = 0; x < pane.width; ++x) {
            const DWORD pixel = expected[static_cast<size_t>(y) * pane.width + x] & 0xFFFFFF;
            const COLORREF colour = RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
            differing += pane.At(x, y) != colour;
            ink += colour != RGB(255, 255, 255);
        }
    }
    ::SelectObject(dc, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    CHECK(ink > 0);
    CHECK(differing == 0);
}

TEST_CASE("a difference block merged between files of different encodings keeps its characters")
{
    struct Case {
        const char* label;
        FileEncoding source, master;
        std::string sourceRow, masterRow;
    };
    const Case cases[] = {
        { "UTF-8 into legacy", UTF8, LEGACY, "K\xC3\xB6ln", "K\xF6ln" },
        { "legacy into a UTF-16 file's store", LEGACY, UTF16LE, "K\xF6ln", "K\xC3\xB6ln" },
        { "a character legacy cannot hold becomes the substitute", UTF8, LEGACY, "\xE6\x97\xA5", "?" },
    };
    for (const Case& c : cases) {
        CAPTURE(c.label);
        CompareWindowFixture fixture("same\r\n" + c.sourceRow + "\r\n", "same\r\nBonn\r\n");
        REQUIRE(fixture.created);
        fixture.window.sourcePane.buffer.encoding = c.source;
        fixture.window.masterPane.buffer.encoding = c.master;
        ::SetFocus(fixture.window.sourcePane.m_hWnd);
        fixture.window.sourcePane.MoveCaret(0, 1, MOVE_BOTH);
        fixture.window.SendMessage(WM_COMMAND, ID_COPY_SOURCE_DIFFERENCE);
        CHECK(Row(fixture.window.masterPane, 1) == c.masterRow);
    }
}

TEST_CASE("the status bar names each file's encoding")
{
    struct Case {
        const char* label;
        FileEncoding source, master;
        const char* sourceText;
        const char* masterText;
    };
    const Case cases[] = {
        { "UTF-16 LE against legacy", UTF16LE, LEGACY, "S UTF-16 LE", "M ANSI" },
        { "UTF-8 with and without a mark", { EncodingKind::Utf8, true }, UTF8, "S UTF-8 BOM", "M UTF-8" },
        { "UTF-16 BE", { EncodingKind::Utf16Be, true }, LEGACY, "S UTF-16 BE", "M ANSI" },
    };
    CompareWindowFixture fixture("a\r\n", "b\r\n");
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    const int sourceIndex = window.statusBar.CommandToIndex(IDS_SOURCE_ENCODING);
    const int masterIndex = window.statusBar.CommandToIndex(IDS_MASTER_ENCODING);
    // Right after the two line indicators.
    CHECK(sourceIndex == window.masterPane.statusPaneIndex + 1);
    CHECK(masterIndex == sourceIndex + 1);
    CHECK(window.statusBar.GetPaneText(sourceIndex) == "S " + std::string(EncodingName(window.sourcePane.buffer.encoding)));
    for (const Case& c : cases) {
        CAPTURE(c.label);
        window.sourcePane.buffer.encoding = c.source;
        window.masterPane.buffer.encoding = c.master;
        window.ShowEncodings();
        fixture.Idle();
        CHECK(window.statusBar.GetPaneText(sourceIndex) == c.sourceText);
        CHECK(window.statusBar.GetPaneText(masterIndex) == c.masterText);
        char shown[64] = {};
        window.statusBar.SendMessage(SB_GETTEXTA, static_cast<WPARAM>(sourceIndex), reinterpret_cast<LPARAM>(shown));
        CHECK(std::string(shown) == c.sourceText);
    }
}

TEST_CASE("a character typed into a UTF-16 LE file is saved in UTF-16 LE with its mark, the other lines as they were")
{
    auto littleEndian = [](const std::u16string& text) {
        std::string bytes;
        for (char16_t unit : text) {
            bytes += static_cast<char>(unit & 0xFF);
            bytes += static_cast<char>(unit >> 8);
        }
        return bytes;
    };
    const std::string mark = "\xFF\xFE";
    const std::u16string before = u"K\u00F6ln\r\n", after = u"\u65E5\u672C\r\nend\r\n";
    CompareWindowFixture fixture(mark + littleEndian(before + u"Bonn\r\n" + after), "x\r\n");
    REQUIRE(fixture.created);
    CompareWindow& window = fixture.window;
    const int index = window.statusBar.CommandToIndex(IDS_SOURCE_ENCODING);
    char shown[64] = {};
    window.statusBar.SendMessage(SB_GETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(shown));
    CHECK(std::string(shown) == "S UTF-16 LE");

    TextPane& source = window.sourcePane;
    source.MoveCaret(4, 1, 0);
    TypeWide(source, u"\u00E9");
    window.SendMessage(WM_COMMAND, ID_SAVE_SOURCE);
    CHECK(ReadWholeFile(window.sourcePath) == mark + littleEndian(before + u"Bonn\u00E9\r\n" + after));
}
