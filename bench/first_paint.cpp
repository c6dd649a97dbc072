// How long the comparison window takes, in-process and by the program's own
// code path: from process start to the first painted rows, then paging from
// the top to the bottom with Page Down, then closing.
//   first_paint.exe SOURCE MASTER
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/orvinta_app.h"
#include "common/code_pages_win32.h"
#include "common/process_values.h"
#include "common/settings_names.h"
#include "compare_window/compare_window.h"
#include "engine/gauge.h"

OrvintaApp theApp;

namespace {

double MillisecondsSince(const FILETIME& start)
{
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER a, b;
    a.LowPart = start.dwLowDateTime;
    a.HighPart = start.dwHighDateTime;
    b.LowPart = now.dwLowDateTime;
    b.HighPart = now.dwHighDateTime;
    return double(b.QuadPart - a.QuadPart) / 10000.0;
}

double Now()
{
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * double(counter.QuadPart) / double(frequency.QuadPart);
}

void Drain()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: first_paint SOURCE MASTER\n");
        return 2;
    }
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    theApp.m_appName = "ORVINTA";
    theApp.SetRegistryKey(COMPANY_KEY);
    LoadPlatformCodePages();
    Gauge::Register();

    CompareWindow window;
    window.titleText = "benchmark";
    window.sourcePath = argv[1];
    window.masterPath = argv[2];
    double beforeCreate = MillisecondsSince(created);
    if (!window.Create() || !window.comparisonResult) {
        std::fprintf(stderr, "the window could not be created\n");
        return 1;
    }
    double afterCreate = MillisecondsSince(created);
    ::ShowWindow(window.m_hWnd, SW_SHOWNORMAL);
    ::UpdateWindow(window.m_hWnd);
    double firstPaint = MillisecondsSince(created);

    ::SetFocus(window.sourcePane.m_hWnd);
    Drain();
    std::vector<double> pages;
    while (window.topRow + 1 < window.totalRows) {
        int before = window.topRow;
        double start = Now();
        window.sourcePane.SendMessage(WM_KEYDOWN, VK_NEXT, 1);
        ::UpdateWindow(window.sourcePane.m_hWnd);
        ::UpdateWindow(window.masterPane.m_hWnd);
        Drain();
        pages.push_back(Now() - start);
        if (window.topRow == before)
            break;
    }
    double closeStart = Now();
    window.SendMessage(WM_CLOSE);
    double close = Now() - closeStart;

    std::sort(pages.begin(), pages.end());
    double total = 0;
    for (double page : pages)
        total += page;
    std::printf("rows=%d start_to_create_ms=%.1f create_ms=%.1f first_paint_ms=%.1f\n", window.totalRows,
                beforeCreate, afterCreate - beforeCreate, firstPaint);
    std::printf("page_down pages=%zu median_ms=%.2f max_ms=%.2f total_ms=%.1f close_ms=%.1f\n", pages.size(),
                pages.empty() ? 0.0 : pages[pages.size() / 2], pages.empty() ? 0.0 : pages.back(), total, close);
    return 0;
}
