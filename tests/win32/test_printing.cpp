// Printing onto a metafile: what each page holds and where, the document
// calls in success, failure and Cancel, the progress dialog and the messages.
#include <doctest/doctest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "common/process_values.h"
#include "compare_window_fixture.h"
#include "engine/text_buffer.h"
#include "metafile_printer.h"
#include "printing/print_comparison.h"
#include "printing/print_progress_dialog.h"
#include "resources/resource.h"

namespace {

PrintContent ContentOf(CompareWindow& window)
{
    return { window.titleText, window.sourcePath, window.masterPath, &window.sourcePane.buffer,
             &window.masterPane.buffer, static_cast<uint32_t>(window.totalRows), &window.blocks };
}

// Thirty lines "same n"; the given rows changed to "new n" in the Source and "old n" in the Master.
void ThirtyLines(std::initializer_list<int> changed, std::string& source, std::string& master)
{
    for (int line = 0; line < 30; ++line) {
        bool differs = std::find(changed.begin(), changed.end(), line) != changed.end();
        source += (differs ? "new " : "same ") + std::to_string(line) + "\r\n";
        master += (differs ? "old " : "same ") + std::to_string(line) + "\r\n";
    }
}

// Makes the device's page hold exactly `lines` rows.
void PageOfLines(MetafilePrinter& printer, int lines)
{
    printer.adjustMetrics = [lines](PageMetrics& metrics) {
        int margin = metrics.dpiY * PRINT_MARGIN_HUNDREDTHS / 100;
        metrics.height = 2 * margin + metrics.headerHeight + 16 + lines * metrics.lineHeight;
    };
}

// The texts of the rows (not of the header) with x in [from, to).
std::vector<PrintedText> RowTexts(const PrintedPage& page, const PrintLayout& layout, int from, int to)
{
    std::vector<PrintedText> texts;
    for (const PrintedText& text : page.TextsBetween(from, to))
        if (text.y >= layout.firstRowY)
            texts.push_back(text);
    return texts;
}

// The numbers printed in the left (Source) column, top to bottom.
std::vector<std::string> LeftNumbers(const PrintedPage& page, const PrintLayout& layout)
{
    std::vector<std::string> numbers;
    for (const PrintedText& text : RowTexts(page, layout, layout.leftMargin, layout.leftMargin + 1))
        numbers.push_back(text.text);
    return numbers;
}

// The lines of a page other than the header rule and the middle line.
std::vector<PrintedLine> GapRules(const PrintedPage& page, const PrintLayout& layout)
{
    std::vector<PrintedLine> rules;
    for (const PrintedLine& line : page.lines)
        if (line.y1 == line.y2 && line.y1 != layout.ruleY)
            rules.push_back(line);
    return rules;
}

using Calls = std::vector<std::string>;

// Changed characters shown or not for one test (they split a row's texts).
struct MarksShown {
    explicit MarksShown(bool on) : before(g_values.showChangedCharacters) { g_values.showChangedCharacters = on; }
    ~MarksShown() { g_values.showChangedCharacters = before; }
    bool before;
};

} // namespace

TEST_CASE("differences only: rows 10 to 12, one gap rule, then rows 20 and 21, all in the text font")
{
    MarksShown unmarked(false);
    std::string source, master;
    ThirtyLines({ 10, 11, 12, 20, 21 }, source, master);
    CompareWindowFixture fixture(source, master);
    REQUIRE(fixture.created);
    MetafilePrinter printer;
    PrintLayout layout = LayoutOn(printer);

    PrintResult result = PrintToDevice(printer, &fixture.window, ContentOf(fixture.window), true);
    CHECK(result.outcome == PrintOutcome::Printed);
    CHECK(printer.calls == Calls{ "StartDoc", "StartPage 1", "EndPage 1", "EndDoc" });
    CHECK(printer.documentName == "fixture");
    auto pages = printer.Pages();
    REQUIRE(pages.size() == 1);
    CHECK(LeftNumbers(pages[0], layout) == std::vector<std::string>{ "00011:", "00012:", "00013:", "00021:", "00022:" });

    auto rules = GapRules(pages[0], layout);
    REQUIRE(rules.size() == 1);
    // The rule takes the fourth line and runs in its middle across the page.
    CHECK(rules[0].y1 == layout.firstRowY + 3 * layout.lineHeight + layout.lineHeight / 2);
    CHECK(rules[0].x1 == layout.leftMargin);
    CHECK(rules[0].x2 == layout.rightEdge);
    const PrintedText* row20 = pages[0].Find("new 20");
    REQUIRE(row20 != nullptr);
    CHECK(row20->y == layout.firstRowY + 4 * layout.lineHeight);
    for (const PrintedText& text : pages[0].texts)
        if (text.y >= layout.firstRowY)
            CHECK(text.weight == FW_NORMAL);
}

TEST_CASE("full printing: every row with its line numbers, the differing rows and Master-only rows in bold")
{
    CompareWindowFixture fixture("one\r\ntwo\r\nthree\r\n", "one\r\nTWO\r\nthree\r\nonly in master\r\n");
    REQUIRE(fixture.created);
    MetafilePrinter printer;
    PrintLayout layout = LayoutOn(printer);
    REQUIRE(PrintToDevice(printer, &fixture.window, ContentOf(fixture.window), false).outcome ==
            PrintOutcome::Printed);
    auto pages = printer.Pages();
    REQUIRE(pages.size() == 1);
    const PrintedPage& page = pages[0];

    struct Row {
        const char* text;
        int slot;
        int x;
        int weight;
    } rows[] = {
        { "00001:", 0, layout.leftMargin, FW_NORMAL },
        { "one", 0, layout.leftMargin + 7 * layout.charWidth, FW_NORMAL },
        { "two", 1, layout.leftMargin + 7 * layout.charWidth, FW_BOLD },
        { "TWO", 1, layout.rightColumnX + 7 * layout.charWidth, FW_BOLD },
        { "three", 2, layout.leftMargin + 7 * layout.charWidth, FW_NORMAL },
        { "only in master", 3, layout.rightColumnX + 7 * layout.charWidth, FW_BOLD },
    };
    for (const Row& row : rows) {
        CAPTURE(row.text);
        const PrintedText* text = page.Find(row.text);
        REQUIRE(text != nullptr);
        CHECK(text->y == layout.firstRowY + row.slot * layout.lineHeight);
        CHECK(text->x == row.x);
        CHECK(text->weight == row.weight);
        CHECK(text->face == "Courier New");
    }
    // The Master number of the Master-only row is bold; its Source half holds nothing.
    auto masterNumbers = page.TextsBetween(layout.rightColumnX, layout.rightColumnX + 1);
    REQUIRE(masterNumbers.size() == 4 + 1); // four numbers and the Master path of the header
    CHECK(masterNumbers.back().text == "00004:");
    CHECK(masterNumbers.back().weight == FW_BOLD);
    CHECK(LeftNumbers(page, layout) == std::vector<std::string>{ "00001:", "00002:", "00003:" });
    int lastRowY = layout.firstRowY + 3 * layout.lineHeight;
    for (const PrintedText& text : page.TextsBetween(layout.leftMargin, layout.middleX))
        CHECK(text.y != lastRowY);
    CHECK(GapRules(page, layout).empty());
}

TEST_CASE("the changed characters are underlined on paper, in full and in differences-only printing")
{
    using Runs = std::vector<std::pair<std::string, bool>>; // the texts of a half row, underlined or not
    struct Case {
        const char* label;
        bool differencesOnly;
        bool marks;
        int weight;
        Runs source, master;
    };
    const Case cases[] = {
        { "full", false, true, FW_BOLD, { { "a = ", false }, { "1", true }, { " + ", false }, { "b", true }, { ";", false } },
          { { "a = ", false }, { "2", true }, { " + ", false }, { "c", true }, { ";", false } } },
        { "differences only", true, true, FW_NORMAL,
          { { "a = ", false }, { "1", true }, { " + ", false }, { "b", true }, { ";", false } },
          { { "a = ", false }, { "2", true }, { " + ", false }, { "c", true }, { ";", false } } },
        { "marks turned off", false, false, FW_BOLD, { { "a = 1 + b;", false } }, { { "a = 2 + c;", false } } },
    };
    for (const Case& c : cases) {
        CAPTURE(c.label);
        MarksShown shown(c.marks);
        CompareWindowFixture fixture("a = 1 + b;\r\n", "a = 2 + c;\r\n");
        REQUIRE(fixture.created);
        MetafilePrinter printer;
        PrintLayout layout = LayoutOn(printer);
        REQUIRE(PrintToDevice(printer, &fixture.window, ContentOf(fixture.window), c.differencesOnly).outcome ==
                PrintOutcome::Printed);
        auto pages = printer.Pages();
        REQUIRE(pages.size() == 1);
        auto runsOf = [&](int textX, int end) {
            Runs runs;
            for (const PrintedText& text : RowTexts(pages[0], layout, textX, end)) {
                runs.emplace_back(text.text, text.underline);
                CHECK(text.weight == c.weight);
            }
            return runs;
        };
        CHECK(runsOf(layout.leftMargin + 7 * layout.charWidth, layout.middleX) == c.source);
        CHECK(runsOf(layout.rightColumnX + 7 * layout.charWidth, layout.rightEdge) == c.master);
        const PrintedText* marked = pages[0].Find(c.marks ? "1" : "a = 1 + b;");
        REQUIRE(marked != nullptr);
        CHECK(marked->x == layout.leftMargin + (c.marks ? 11 : 7) * layout.charWidth);
    }
}

TEST_CASE("the page frame: both paths, the page number, the rule under the header and the middle line")
{
    CompareWindowFixture fixture("a\r\n", "b\r\n");
    REQUIRE(fixture.created);
    MetafilePrinter printer;
    PrintLayout layout = LayoutOn(printer);
    PrintContent content = ContentOf(fixture.window);
    content.sourcePath = "C:\\source\\" + std::string(300, 's') + ".txt";
    content.masterPath = "C:\\master\\" + std::string(300, 'm') + ".txt";
    REQUIRE(PrintToDevice(printer, &fixture.window, content, false).outcome == PrintOutcome::Printed);
    auto pages = printer.Pages();
    REQUIRE(pages.size() == 1);
    const PrintedPage& page = pages[0];

    const PrintedText* sourcePath = page.Find(content.sourcePath);
    const PrintedText* masterPath = page.Find(content.masterPath);
    const PrintedText* pageText = page.Find("Page 1");
    REQUIRE(sourcePath != nullptr);
    REQUIRE(masterPath != nullptr);
    REQUIRE(pageText != nullptr);
    for (const PrintedText* text : { sourcePath, masterPath, pageText }) {
        CAPTURE(text->text);
        CHECK(text->y == layout.topMargin);
        CHECK(text->face == "Arial");
        CHECK(text->weight == FW_BOLD);
        CHECK(text->clippedToRect);
    }
    // Long paths stop at the middle line (Source) and before the page number (Master).
    CHECK(sourcePath->x == layout.leftMargin);
    CHECK(sourcePath->clipRect.right == layout.middleX);
    CHECK(masterPath->x == layout.rightColumnX);
    CHECK(masterPath->clipRect.right == pageText->x);
    CHECK(pageText->clipRect.right == layout.rightEdge);
    CHECK(pageText->x < layout.rightEdge);
    CHECK(pageText->x > layout.rightEdge - 20 * layout.charWidth);

    REQUIRE(page.lines.size() == 2);
    const PrintedLine& rule = page.lines[0];
    const PrintedLine& middle = page.lines[1];
    CHECK(rule.penWidth == 3);
    CHECK((rule.x1 == layout.leftMargin && rule.x2 == layout.rightEdge && rule.y1 == layout.ruleY &&
           rule.y2 == layout.ruleY));
    CHECK(middle.penWidth == 3);
    CHECK((middle.x1 == layout.middleX && middle.x2 == layout.middleX && middle.y1 == layout.topMargin &&
           middle.y2 == layout.bottomY));
}

TEST_CASE("a long line is cut to its column and clipped at the column's edge; tabs every four characters")
{
    std::string longLine(600, 'x');
    CompareWindowFixture fixture(longLine + "\r\nab\tc\r\n", longLine + "\r\nab\tc\r\n");
    REQUIRE(fixture.created);
    MetafilePrinter printer;
    PrintLayout layout = LayoutOn(printer);
    REQUIRE(layout.charsPerColumn < 600);
    REQUIRE(PrintToDevice(printer, &fixture.window, ContentOf(fixture.window), false).outcome ==
            PrintOutcome::Printed);
    auto pages = printer.Pages();
    REQUIRE(pages.size() == 1);

    auto source = RowTexts(pages[0], layout, layout.leftMargin + 7 * layout.charWidth, layout.middleX);
    auto master = RowTexts(pages[0], layout, layout.rightColumnX + 7 * layout.charWidth, layout.rightEdge);
    REQUIRE(source.size() == 3); // the long line, then "ab" and "c" either side of the tab
    REQUIRE(master.size() == 3);
    CHECK(source[0].text == std::string(layout.charsPerColumn, 'x'));
    CHECK(source[0].hasRegion);
    CHECK(source[0].region.left == layout.leftMargin);
    CHECK(source[0].region.right == layout.middleX - layout.charWidth);
    CHECK(source[0].region.bottom - source[0].region.top == layout.lineHeight);
    CHECK(master[0].region.left == layout.rightColumnX);
    CHECK(master[0].region.right == layout.rightEdge);

    int textX = layout.leftMargin + 7 * layout.charWidth;
    CHECK(source[1].text == "ab");
    CHECK(source[2].text == "c");
    CHECK(source[2].x == textX + 4 * layout.charWidth);
    CHECK(master[2].x == layout.rightColumnX + 7 * layout.charWidth + 4 * layout.charWidth);
}

TEST_CASE("the page shows the characters of each file's store, cut to the column by characters")
{
    MarksShown unmarked(false);
    std::string wide;
    for (int i = 0; i < 300; ++i)
        wide += "\xC3\xA9";
    CompareWindowFixture fixture("K\xC3\xB6ln \xE6\x97\xA5\r\n" + wide + "\r\n", "K\xF6ln\r\nx\r\n");
    REQUIRE(fixture.created);
    fixture.window.sourcePane.buffer.encoding = { EncodingKind::Utf8, false };
    fixture.window.masterPane.buffer.encoding = { EncodingKind::Legacy, false };
    MetafilePrinter printer;
    PrintLayout layout = LayoutOn(printer);
    REQUIRE(layout.charsPerColumn < 300);
    REQUIRE(PrintToDevice(printer, &fixture.window, ContentOf(fixture.window), false).outcome ==
            PrintOutcome::Printed);
    auto pages = printer.Pages();
    REQUIRE(pages.size() == 1);
    auto source = RowTexts(pages[0], layout, layout.leftMargin + 7 * layout.charWidth, layout.middleX);
    auto master = RowTexts(pages[0], layout, layout.rightColumnX + 7 * layout.charWidth, layout.rightEdge);
    REQUIRE(source.size() == 2);
    REQUIRE(master.size() == 2);
    CHECK(source[0].text == "K\xC3\xB6ln \xE6\x97\xA5");
    CHECK(master[0].text == "K\xC3\xB6ln");
    CHECK(source[1].text == wide.substr(0, 2 * static_cast<size_t>(layout.charsPerColumn)));
}

TEST_CASE("pages filled exactly, in full and in differences-only printing")
{
    SUBCASE("ten rows on pages of five: two pages, no third")
    {
        CompareWindowFixture fixture(NumberedLines("line ", 10), NumberedLines("line ", 10));
        REQUIRE(fixture.created);
        MetafilePrinter printer;
        PageOfLines(printer, 5);
        REQUIRE(LayoutOn(printer).linesPerPage == 5);
        PrintResult result = PrintToDevice(printer, &fixture.window, ContentOf(fixture.window), false);
        CHECK(result.outcome == PrintOutcome::Printed);
        CHECK(result.pagesPrinted == 2);
        CHECK(printer.calls ==
              Calls{ "StartDoc", "StartPage 1", "EndPage 1", "StartPage 2", "EndPage 2", "EndDoc" });
        auto pages = printer.Pages();
        REQUIRE(pages.size() == 2);
        CHECK(pages[1].Find("Page 2") != nullptr);
        CHECK(pages[1].Find("line 9") != nullptr);
    }
    SUBCASE("five differing rows fill the page; the equal rows after them give a page with its header only")
    {
        MarksShown unmarked(false);
        std::string source, master;
        ThirtyLines({ 0, 1, 2, 3, 4 }, source, master);
        CompareWindowFixture fixture(source, master);
        REQUIRE(fixture.created);
        MetafilePrinter printer;
        PageOfLines(printer, 5);
        PrintResult result = PrintToDevice(printer, &fixture.window, ContentOf(fixture.window), true);
        CHECK(result.outcome == PrintOutcome::Printed);
        auto pages = printer.Pages();
        REQUIRE(pages.size() == 2);
        CHECK(pages[0].texts.size() == 3 + 5 * 4); // header, then number and text on both halves
        CHECK(pages[1].texts.size() == 3);
        CHECK(pages[1].Find("Page 2") != nullptr);
    }
}

TEST_CASE("an empty comparison prints one page with its header and ends the document")
{
    TextBuffer source;
    TextBuffer master;
    std::vector<DiffBlock> blocks;
    PrintContent content = { "empty", "C:\\a.txt", "C:\\b.txt", &source, &master, 0, &blocks };
    MetafilePrinter printer;
    PrintResult result = PrintToDevice(printer, nullptr, content, false);
    CHECK(result.outcome == PrintOutcome::Printed);
    CHECK(printer.calls == Calls{ "StartDoc", "StartPage 1", "EndPage 1", "EndDoc" });
    auto pages = printer.Pages();
    REQUIRE(pages.size() == 1);
    CHECK(pages[0].texts.size() == 3);
    CHECK(pages[0].Find("Page 1") != nullptr);
}

TEST_CASE("rows an edit added past the compared rows are printed too")
{
    CompareWindowFixture fixture("a\r\nb\r\n", "a\r\nb\r\n");
    REQUIRE(fixture.created);
    auto edit = fixture.window.sourcePane.buffer.ReplaceRows(1, 1, "b\r\nadded 1\r\nadded 2");
    MetafilePrinter printer;
    REQUIRE(PrintToDevice(printer, &fixture.window, ContentOf(fixture.window), false).outcome ==
            PrintOutcome::Printed);
    auto pages = printer.Pages();
    REQUIRE(pages.size() == 1);
    CHECK(pages[0].Find("added 2") != nullptr);
}

TEST_CASE("a page that holds no row is refused before the document starts")
{
    CompareWindowFixture fixture("a\r\n", "b\r\n");
    REQUIRE(fixture.created);
    MetafilePrinter printer;
    printer.adjustMetrics = [](PageMetrics& metrics) { metrics.height = metrics.headerHeight * 2; };
    PrintResult result = PrintToDevice(printer, &fixture.window, ContentOf(fixture.window), false);
    CHECK(result.outcome == PrintOutcome::NoRoom);
    CHECK(printer.calls.empty());
    CHECK(g_printProgress == nullptr);
    CHECK(::IsWindowEnabled(fixture.window.m_hWnd));
}

TEST_CASE("a printer that refuses the document or a page: the document is aborted and the failure kept")
{
    struct Row {
        const char* label;
        int MetafilePrinter::*failure;
        int at;
        PrintOutcome outcome;
        int failedPage;
        Calls calls;
    } rows[] = {
        { "StartDoc fails: nothing to abort", &MetafilePrinter::failStartDoc, 1, PrintOutcome::StartFailed, 0,
          { "StartDoc" } },
        { "the first StartPage fails", &MetafilePrinter::failStartPage, 1, PrintOutcome::PageFailed, 1,
          { "StartDoc", "StartPage 1", "AbortDoc" } },
        { "the second StartPage fails", &MetafilePrinter::failStartPage, 2, PrintOutcome::PageFailed, 2,
          { "StartDoc", "StartPage 1", "EndPage 1", "StartPage 2", "AbortDoc" } },
        { "the first EndPage fails", &MetafilePrinter::failEndPage, 1, PrintOutcome::PageFailed, 1,
          { "StartDoc", "StartPage 1", "EndPage 1", "AbortDoc" } },
        { "the last EndPage fails", &MetafilePrinter::failEndPage, 2, PrintOutcome::PageFailed, 2,
          { "StartDoc", "StartPage 1", "EndPage 1", "StartPage 2", "EndPage 2", "AbortDoc" } },
        { "EndDoc fails", &MetafilePrinter::failEndDoc, 1, PrintOutcome::EndFailed, 0,
          { "StartDoc", "StartPage 1", "EndPage 1", "StartPage 2", "EndPage 2", "EndDoc", "AbortDoc" } },
    };
    CompareWindowFixture fixture(NumberedLines("line ", 8), NumberedLines("line ", 8));
    REQUIRE(fixture.created);
    for (const Row& row : rows) {
        CAPTURE(row.label);
        MetafilePrinter printer;
        PageOfLines(printer, 5);
        printer.*row.failure = row.at;
        PrintResult result = PrintToDevice(printer, &fixture.window, ContentOf(fixture.window), false);
        CHECK(result.outcome == row.outcome);
        CHECK(result.failedPage == row.failedPage);
        CHECK(printer.calls == row.calls);
        CHECK(g_printProgress == nullptr);
        CHECK(::IsWindowEnabled(fixture.window.m_hWnd));
    }
}

TEST_CASE("Cancel in the middle of a job aborts the document without ending it")
{
    CompareWindowFixture fixture(NumberedLines("line ", 20), NumberedLines("line ", 20));
    REQUIRE(fixture.created);
    MetafilePrinter printer;
    PageOfLines(printer, 5);
    bool ownerDisabled = false;
    std::string pageShown;
    printer.onStartPage = [&](int page) {
        REQUIRE(g_printProgress != nullptr);
        ownerDisabled = !::IsWindowEnabled(fixture.window.m_hWnd);
        if (page == 2) {
            char text[64] = "";
            ::GetDlgItemTextA(g_printProgress->m_hWnd, IDC_PRINT_PAGE, text, sizeof text);
            pageShown = text;
            // The user's click, waiting in the queue for the job to let it through.
            ::PostMessageA(g_printProgress->GetDlgItem(IDCANCEL), BM_CLICK, 0, 0);
        }
    };
    PrintResult result = PrintToDevice(printer, &fixture.window, ContentOf(fixture.window), false);
    CHECK(result.outcome == PrintOutcome::Cancelled);
    CHECK(result.pagesPrinted == 1);
    CHECK(ownerDisabled);
    CHECK(pageShown == "Page 2 of 5"); // (5 + 20 + 1) / 5
    CHECK(printer.calls == Calls{ "StartDoc", "StartPage 1", "EndPage 1", "StartPage 2", "AbortDoc" });
    CHECK(g_printProgress == nullptr);
    CHECK(::IsWindowEnabled(fixture.window.m_hWnd));
}

TEST_CASE("the progress dialog counts pages from 0 and steps its bar; Cancel raises the flag and hides it")
{
    PrintProgressDialog progress(nullptr, 7, "notes.txt");
    REQUIRE(progress.m_hWnd != nullptr);
    HWND dialog = progress.m_hWnd;
    char text[128] = "";
    ::GetWindowTextA(dialog, text, sizeof text);
    CHECK(std::string(text) == "Zelvane");
    ::GetDlgItemTextA(dialog, IDC_PRINT_FILE, text, sizeof text);
    CHECK(std::string(text) == "Printing: notes.txt");
    ::GetDlgItemTextA(dialog, IDC_PRINT_PAGE, text, sizeof text);
    CHECK(std::string(text) == "Page 0 of 7");
    HWND bar = ::GetDlgItem(dialog, IDC_PRINT_BAR);
    CHECK(::SendMessageA(bar, PBM_GETRANGE, FALSE, 0) == 7);
    CHECK(::SendMessageA(bar, PBM_GETPOS, 0, 0) == 1);

    CHECK(progress.NextPage() == 1);
    ::GetDlgItemTextA(dialog, IDC_PRINT_PAGE, text, sizeof text);
    CHECK(std::string(text) == "Page 1 of 7");
    CHECK(::SendMessageA(bar, PBM_GETPOS, 0, 0) == 2);

    CHECK_FALSE(progress.IsCancelled());
    CHECK(::IsWindowVisible(dialog));
    g_printProgress = &progress;
    CHECK(PrintAbortProc(nullptr, 0) == TRUE);
    ::PostMessageA(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    CHECK(PrintAbortProc(nullptr, 0) == FALSE);
    g_printProgress = nullptr;
    CHECK(progress.IsCancelled());
    CHECK_FALSE(::IsWindowVisible(dialog));
}

TEST_CASE("what the user is told when a job does not print")
{
    struct Row {
        PrintOutcome outcome;
        int failedPage;
        const char* text; // empty: no message
    } rows[] = {
        { PrintOutcome::Printed, 0, "" },
        { PrintOutcome::Cancelled, 0, "" },
        { PrintOutcome::NoRoom, 0, "Unable to print a.txt: the printer's page is too small to hold a single line" },
        { PrintOutcome::StartFailed, 0, "Error printing a.txt: the printer did not start the document" },
        { PrintOutcome::PageFailed, 3, "Error printing a.txt: the printer did not accept page 3" },
        { PrintOutcome::EndFailed, 0, "Error printing a.txt: the printer did not finish the document" },
    };
    for (const Row& row : rows) {
        CAPTURE(row.text);
        DialogAnswerer answerer({ IDOK });
        PrintResult result;
        result.outcome = row.outcome;
        result.failedPage = row.failedPage;
        ReportPrintResult(nullptr, result, "a.txt");
        if (*row.text) {
            REQUIRE(answerer.Count() == 1);
            CHECK(answerer.At(0).caption == "Zelvane Error");
            CHECK(answerer.At(0).text == row.text);
        } else {
            CHECK(answerer.Count() == 0);
        }
    }
}
