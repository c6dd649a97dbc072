// Printing for real: the commands go through the Print dialog to the default
// printer, a CUPS queue that writes PDF files (tools/with-printer.sh sets it
// up and names the folder in ZEL_PDF_DIR), and the PDF is read back with
// poppler's tools.
#include <doctest/doctest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "compare_window_fixture.h"
#include "printing/print_layout.h"
#include "printing/print_progress_dialog.h"
#include "resources/resource.h"

namespace {

constexpr DWORD PDF_TIMEOUT = 60000;

std::string PdfDirectory()
{
    const char* directory = std::getenv("ZEL_PDF_DIR");
    return directory ? directory : "";
}

std::string WindowsPath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& character : path)
        if (character == '/')
            character = '\\';
    return path;
}

// What a shell command line on the Linux side prints, standard error too.
// Wine tells neither when a Linux program ends nor its exit code, so the
// output goes to a file that appears under its final name only when complete.
std::string Shell(const std::string& command)
{
    static int counter = 0;
    std::string out = PdfDirectory() + "/shell" + std::to_string(::GetCurrentProcessId()) + "_" +
                      std::to_string(++counter) + ".txt";
    std::string line = "/bin/sh -c \"(" + command + ") > '" + out + ".part' 2>&1; mv '" + out + ".part' '" + out + "'\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return "";
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    std::string windowsOut = WindowsPath(out);
    PumpUntil([&] { return ::GetFileAttributesA(windowsOut.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000);
    std::string text = ReadWholeFile(windowsOut);
    ::DeleteFileA(windowsOut.c_str());
    return text;
}

// The PDF that cups-pdf made of the job with this title, once poppler can read
// it whole; empty when none came within the time.
std::string WaitForPdf(const std::string& title, DWORD timeout = PDF_TIMEOUT)
{
    std::string directory = PdfDirectory();
    std::string found;
    PumpUntil(
        [&] {
            WIN32_FIND_DATAA data;
            HANDLE search = ::FindFirstFileA((WindowsPath(directory) + "\\*" + title + "*.pdf").c_str(), &data);
            if (search == INVALID_HANDLE_VALUE)
                return false;
            ::FindClose(search);
            std::string path = directory + "/" + data.cFileName;
            if (Shell("pdfinfo '" + path + "'").find("Pages:") == std::string::npos)
                return false;
            found = path;
            return true;
        },
        timeout);
    return found;
}

// What a poppler tool (with its options) prints for the PDF.
std::string Poppler(const std::string& tool, const std::string& pdf)
{
    bool toText = tool.rfind("pdftotext", 0) == 0;
    return Shell(tool + " '" + pdf + "'" + (toText ? " -" : ""));
}

std::string Between(const std::string& text, const std::string& from, const std::string& to)
{
    size_t start = text.find(from);
    if (start == std::string::npos)
        return "";
    start += from.size();
    return text.substr(start, text.find(to, start) - start);
}

// Presses OK in the system's Print dialog whenever one appears on this thread.
class PrintDialogAnswerer {
public:
    PrintDialogAnswerer() { m_timer = ::SetTimer(nullptr, 0, 50, OnTimer); }
    ~PrintDialogAnswerer() { ::KillTimer(nullptr, m_timer); }
    static int shown;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        ::EnumThreadWindows(::GetCurrentThreadId(), PressOk, 0);
    }
    static BOOL CALLBACK PressOk(HWND hwnd, LPARAM)
    {
        char className[16] = "";
        char caption[64] = "";
        ::GetClassNameA(hwnd, className, sizeof className);
        ::GetWindowTextA(hwnd, caption, sizeof caption);
        if (lstrcmpA(className, "#32770") == 0 && lstrcmpA(caption, "Print") == 0 && ::IsWindowVisible(hwnd) &&
            ::IsWindowEnabled(hwnd)) {
            ++shown;
            ::PostMessageA(::GetDlgItem(hwnd, IDOK), BM_CLICK, 0, 0);
        }
        return TRUE;
    }
    UINT_PTR m_timer = 0;
};
int PrintDialogAnswerer::shown = 0;

// A title no earlier run used, so each test finds its own PDF.
std::string UniqueTitle(const char* stem)
{
    return stem + std::to_string(::GetCurrentProcessId()) + "x" + std::to_string(::GetTickCount());
}

// Line i of a side: "same i", or "src i" / "mst i" for the changed ones.
void MakeFiles(int lines, int changeEvery, std::string& source, std::string& master)
{
    for (int line = 0; line < lines; ++line) {
        bool differs = changeEvery && line % changeEvery == 5;
        source += (differs ? "src " : "same ") + std::to_string(line) + "\r\n";
        master += (differs ? "mst " : "same ") + std::to_string(line) + "\r\n";
    }
}

int CountOf(const std::string& text, const std::string& what)
{
    int count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

// How many "nnnnn:" line numbers the text holds.
int LineNumbersIn(const std::string& text)
{
    int count = 0;
    for (size_t at = text.find(':'); at != std::string::npos; at = text.find(':', at + 1))
        count += at >= 5 && text.find_first_not_of("0123456789", at - 5) == at;
    return count;
}

} // namespace

TEST_CASE("Print puts the whole comparison on landscape pages of the default printer")
{
    REQUIRE_MESSAGE(!PdfDirectory().empty(), "run through tools/with-printer.sh");
    std::string source, master;
    MakeFiles(200, 40, source, master);
    CompareWindowFixture fixture(source, master);
    REQUIRE(fixture.created);
    fixture.window.titleText = UniqueTitle("zelfull");
    int shownBefore = PrintDialogAnswerer::shown;
    {
        PrintDialogAnswerer answerer;
        fixture.window.SendMessage(WM_COMMAND, ID_FILE_PRINT);
    }
    CHECK(PrintDialogAnswerer::shown == shownBefore + 1);
    CHECK(::IsWindowEnabled(fixture.window.m_hWnd));
    std::string pdf = WaitForPdf(fixture.window.titleText);
    REQUIRE_MESSAGE(!pdf.empty(), "no PDF arrived in " << PdfDirectory());

    std::string info = Poppler("pdfinfo", pdf);
    CAPTURE(info);
    // Landscape: wider than high, either as the page size or as a rotated page.
    std::string size = Between(info, "Page size:", "pts");
    double width = std::atof(size.c_str());
    double height = std::atof(size.substr(size.find('x') + 1).c_str());
    bool rotated = Between(info, "Page rot:", "\n").find("90") != std::string::npos;
    CHECK(((width > height) != rotated));

    std::string text = Poppler("pdftotext", pdf);
    int pages = std::atoi(Between(info, "Pages:", "\n").c_str());
    CHECK(pages >= 2);
    CHECK(text.find(fixture.window.sourcePath) != std::string::npos);
    CHECK(text.find(fixture.window.masterPath) != std::string::npos);
    for (int page = 1; page <= pages; ++page)
        CHECK(text.find("Page " + std::to_string(page)) != std::string::npos);
    CHECK(text.find("Page " + std::to_string(pages + 1)) == std::string::npos);
    CHECK(CountOf(text, "00001:") == 2); // both columns
    CHECK(CountOf(text, "00200:") == 2);
    CHECK(text.find("src 45") != std::string::npos);
    CHECK(text.find("mst 45") != std::string::npos);
    CHECK(text.find("same 199") != std::string::npos);

    // The estimate the progress dialog announced, from the rows the first page
    // holds; it counts one row too many, so it may announce one page more.
    int linesPerPage = LineNumbersIn(Poppler("pdftotext -f 1 -l 1", pdf)) / 2;
    CAPTURE(linesPerPage);
    REQUIRE(linesPerPage > 0);
    CHECK(pages == (200 + linesPerPage - 1) / linesPerPage);
    int estimate = EstimatePages(fixture.window.blocks, false, linesPerPage);
    CHECK((estimate == pages || estimate == pages + 1));

    // Two bold fonts: the header's, and the text font's for the differing rows.
    std::string fonts = Poppler("pdffonts", pdf);
    CAPTURE(fonts);
    CHECK(CountOf(fonts, "-Bold") == 2);
}

TEST_CASE("Print Differences prints only the differing rows, a gap rule's line between separate runs")
{
    REQUIRE_MESSAGE(!PdfDirectory().empty(), "run through tools/with-printer.sh");
    std::string source, master;
    MakeFiles(60, 0, source, master);
    // Rows 10 to 12 and 20, 21 differ.
    for (int line : { 10, 11, 12, 20, 21 }) {
        std::string same = "same " + std::to_string(line) + "\r\n";
        source.replace(source.find(same), same.size(), "src " + std::to_string(line) + "\r\n");
        master.replace(master.find(same), same.size(), "mst " + std::to_string(line) + "\r\n");
    }
    CompareWindowFixture fixture(source, master);
    REQUIRE(fixture.created);
    fixture.window.titleText = UniqueTitle("zeldiff");
    {
        PrintDialogAnswerer answerer;
        fixture.window.SendMessage(WM_COMMAND, ID_PRINT_DIFFERENCES);
    }
    std::string pdf = WaitForPdf(fixture.window.titleText);
    REQUIRE(!pdf.empty());
    std::string text = Poppler("pdftotext", pdf);
    CAPTURE(text);
    for (int line : { 10, 11, 12, 20, 21 })
        CHECK(text.find("src " + std::to_string(line)) != std::string::npos);
    CHECK(text.find("same") == std::string::npos);
    CHECK(CountOf(text, "Page 1") == 1);
    // Differences-only pages print their rows in the text font: the header's is the one bold font.
    std::string fonts = Poppler("pdffonts", pdf);
    CAPTURE(fonts);
    CHECK(CountOf(fonts, "-Bold") == 1);

    // Where the rows sit: the rule takes one line between 00013 and 00021.
    std::string boxes = Poppler("pdftotext -bbox", pdf);
    auto yOf = [&](const std::string& word) {
        std::string tag = Between(boxes, "", ">" + word + "<");
        size_t at = tag.rfind("yMin=\"");
        return at == std::string::npos ? -1.0 : std::atof(tag.c_str() + at + 6);
    };
    double y12 = yOf("00012:"), y13 = yOf("00013:"), y21 = yOf("00021:"), y22 = yOf("00022:");
    REQUIRE(y12 > 0);
    double line = y13 - y12;
    CHECK(line > 0);
    CHECK(y21 - y13 == doctest::Approx(2 * line).epsilon(0.05));
    CHECK(y22 - y21 == doctest::Approx(line).epsilon(0.05));
}

TEST_CASE("Cancel in the Print dialog or in the middle of a job leaves no document behind")
{
    REQUIRE_MESSAGE(!PdfDirectory().empty(), "run through tools/with-printer.sh");
    std::string source, master;
    MakeFiles(3000, 7, source, master);
    CompareWindowFixture fixture(source, master);
    REQUIRE(fixture.created);

    // Cancel in the Print dialog: no job at all.
    std::string dialogTitle = UniqueTitle("zelnojob");
    fixture.window.titleText = dialogTitle;
    {
        DialogAnswerer noMessages;
        struct Canceller {
            static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
            {
                HWND dialog = ::FindWindowA("#32770", "Print");
                if (dialog && ::IsWindowVisible(dialog))
                    ::PostMessageA(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
            }
        };
        UINT_PTR timer = ::SetTimer(nullptr, 0, 50, Canceller::OnTimer);
        fixture.window.SendMessage(WM_COMMAND, ID_FILE_PRINT);
        ::KillTimer(nullptr, timer);
        CHECK(noMessages.Count() == 0);
    }
    CHECK(::IsWindowEnabled(fixture.window.m_hWnd));

    // Cancel in the progress dialog once the second page has begun.
    std::string jobTitle = UniqueTitle("zelcancel");
    fixture.window.titleText = jobTitle;
    static int clickedAtPage;
    static int pagesAnnounced;
    clickedAtPage = 0;
    pagesAnnounced = 0;
    {
        DialogAnswerer noMessages;
        struct Canceller {
            static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
            {
                if (g_printProgress && g_printProgress->pageCounter >= 2 && !clickedAtPage) {
                    clickedAtPage = g_printProgress->pageCounter;
                    pagesAnnounced = g_printProgress->totalPages;
                    ::PostMessageA(g_printProgress->GetDlgItem(IDCANCEL), BM_CLICK, 0, 0);
                }
            }
        };
        UINT_PTR timer = ::SetTimer(nullptr, 0, 10, Canceller::OnTimer);
        {
            PrintDialogAnswerer answerer;
            fixture.window.SendMessage(WM_COMMAND, ID_FILE_PRINT);
        }
        ::KillTimer(nullptr, timer);
        CHECK(noMessages.Count() == 0); // the user's own Cancel is no error
    }
    REQUIRE(clickedAtPage >= 2);
    CHECK(clickedAtPage < pagesAnnounced - 5); // far from the end
    CHECK(::IsWindowEnabled(fixture.window.m_hWnd));

    // Jobs of one queue come out in order: once a later job's PDF is there,
    // the cancelled one would be there too.
    CompareWindowFixture later("a\r\n", "b\r\n");
    REQUIRE(later.created);
    later.window.titleText = UniqueTitle("zelafter");
    {
        PrintDialogAnswerer answerer;
        later.window.SendMessage(WM_COMMAND, ID_FILE_PRINT);
    }
    REQUIRE(!WaitForPdf(later.window.titleText).empty());
    CHECK(WaitForPdf(jobTitle, 0).empty());
    CHECK(WaitForPdf(dialogTitle, 0).empty());
}
