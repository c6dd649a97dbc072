// ORVINTA.EXE started on two directories: the lists it paints and the
// comparison window a double click opens.
#include <doctest/doctest.h>

#include <vector>

#include "test_support.h"

#include <commctrl.h>

namespace {

class DirectoryProgram {
public:
    explicit DirectoryProgram(const std::string& arguments)
    {
        char path[MAX_PATH];
        ::GetModuleFileNameA(nullptr, path, sizeof path);
        std::string program = path;
        program = program.substr(0, program.find_last_of('\\') + 1) + "ORVINTA.EXE";
        std::string line = "ORVINTA.EXE " + arguments;
        std::vector<char> buffer(line.begin(), line.end());
        buffer.push_back('\0');
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        started = ::CreateProcessA(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &startup, &m_process) != 0;
    }
    ~DirectoryProgram()
    {
        if (!started)
            return;
        if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(m_process.hProcess, 99);
        ::CloseHandle(m_process.hProcess);
        ::CloseHandle(m_process.hThread);
    }
    struct Search {
        DWORD process;
        const char* className;
        HWND found;
    };
    static BOOL CALLBACK FindProgramWindow(HWND hwnd, LPARAM data)
    {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        char name[64] = "";
        ::GetClassNameA(hwnd, name, sizeof name);
        if (owner == s->process && ::IsWindowVisible(hwnd) && lstrcmpA(name, s->className) == 0) {
            s->found = hwnd;
            return FALSE;
        }
        return TRUE;
    }
    HWND WaitForWindow(const char* className, DWORD timeout = 15000) const
    {
        Search search = { m_process.dwProcessId, className, nullptr };
        auto find = [&] {
            search.found = nullptr;
            ::EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        };
        PumpUntil(find, timeout);
        return search.found;
    }
    bool WaitForExit(DWORD timeout = 15000) const
    {
        return ::WaitForSingleObject(m_process.hProcess, timeout) == WAIT_OBJECT_0;
    }
    bool started = false;

private:
    PROCESS_INFORMATION m_process = {};
};

struct Band {
    COLORREF colour;
    int top;
    int bottom;
};

// The runs of colour down a column of the list's rows, below its header, as
// on the screen (another process's window surface is not readable here).
std::vector<Band> Bands(HWND list, int x)
{
    RECT client, header;
    ::GetClientRect(list, &client);
    ::GetWindowRect(::GetDlgItem(list, 0) ? ::GetDlgItem(list, 0) : ::GetWindow(list, GW_CHILD), &header);
    ::MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&header), 2);
    std::vector<Band> bands;
    HDC dc = ::GetDC(nullptr);
    for (int y = header.bottom + 1; y < client.bottom; ++y) {
        POINT point = { x, y };
        ::ClientToScreen(list, &point);
        COLORREF colour = ::GetPixel(dc, point.x, point.y);
        if (bands.empty() || bands.back().colour != colour)
            bands.push_back({ colour, y, y });
        bands.back().bottom = y;
    }
    ::ReleaseDC(nullptr, dc);
    // Thin lines (a border, the gap under the header) are not rows.
    std::vector<Band> rows;
    for (const Band& band : bands)
        if (band.bottom - band.top >= 3 && (rows.empty() || rows.back().colour != band.colour))
            rows.push_back(band);
    return rows;
}

std::string Text(HWND hwnd)
{
    char text[512] = "";
    ::SendMessageA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

} // namespace

TEST_CASE("ORVINTA on two directories paints the differing rows and opens a double-clicked pair")
{
    CleanSettings clean;
    TempDirectory source, master;
    source.Write("a.txt", "one\r\n");
    master.Write("a.txt", "three\r\n");
    source.Write("b.txt", "same\r\n");
    master.Write("b.txt", "same\r\n");
    source.Write("c.txt", "only\r\n");
    const std::string pattern = "*.*";
    WriteRawSetting("Position", "FileExtensions", REG_SZ, pattern.c_str(), 4);
    DirectoryProgram program("\"" + source.Path() + "\" \"" + master.Path() + "\"");
    REQUIRE(program.started);
    HWND dialog = program.WaitForWindow("#32770");
    REQUIRE(dialog != nullptr);
    HWND left = ::GetDlgItem(dialog, 1013);
    HWND right = ::GetDlgItem(dialog, 1014);
    REQUIRE(PumpUntil([&] { return ::SendMessageA(left, LVM_GETITEMCOUNT, 0, 0) == 3; }, 10000));
    CHECK(::SendMessageA(right, LVM_GETITEMCOUNT, 0, 0) == 3);
    const COLORREF white = ::GetSysColor(COLOR_WINDOW);
    std::vector<Band> leftBands, rightBands;
    // Painting follows the rows; poll until the rows are on screen.
    PumpUntil(
        [&] {
            leftBands = Bands(left, 3);
            rightBands = Bands(right, 3);
            return leftBands.size() >= 4;
        },
        5000);
    std::string seen;
    for (const Band& band : leftBands)
        seen += std::to_string(band.top) + "-" + std::to_string(band.bottom) + ":" + std::to_string(band.colour) + " ";
    CAPTURE(seen);
    REQUIRE(leftBands.size() >= 4);
    CHECK(leftBands[0].colour == RGB(255, 0, 255)); // a.txt differs
    CHECK(leftBands[1].colour == white);            // b.txt is the same
    CHECK(leftBands[2].colour == RGB(255, 0, 255)); // c.txt has no partner
    CHECK(leftBands[3].colour == white);
    REQUIRE(rightBands.size() >= 2);
    CHECK(rightBands[0].colour == RGB(255, 255, 0));
    CHECK(rightBands[1].colour == white); // b.txt, the empty row and below
    CHECK(rightBands[1].bottom > leftBands[2].bottom);

    POINT point = { 30, (leftBands[0].top + leftBands[0].bottom) / 2 };
    POINT screen = point;
    ::ClientToScreen(left, &screen);
    ::SetCursorPos(screen.x, screen.y);
    LPARAM at = MAKELPARAM(point.x, point.y);
    ::PostMessageA(left, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageA(left, WM_LBUTTONUP, 0, at);
    ::PostMessageA(left, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::PostMessageA(left, WM_LBUTTONUP, 0, at);
    HWND frame = program.WaitForWindow("ZelvaneFrame109");
    REQUIRE(frame != nullptr);
    CHECK(Text(frame) == "Zelvane - a.txt");
    CHECK_FALSE(::IsWindowVisible(dialog));
    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    REQUIRE(PumpUntil([&] { return ::IsWindowVisible(dialog) != 0; }, 10000));
    ::PostMessageA(dialog, WM_CLOSE, 0, 0);
    CHECK(program.WaitForExit());
    CHECK(ReadSetting("Directories", "Source").AsString() == source.Path());
}
