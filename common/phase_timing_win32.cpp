#include "common/phase_timing.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace phase_timing {

bool g_enabled = false;

namespace {

FILE* g_file = nullptr;
double g_startMs = 0; // ms from process creation to Start
LARGE_INTEGER g_startCount;
LARGE_INTEGER g_frequency;

ULONGLONG FileTimeValue(const FILETIME& time)
{
    return (ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

} // namespace

void Start()
{
    const char* path = std::getenv("ZELVANE_TIMINGS");
    if (!path || !*path || g_file)
        return;
    g_file = std::fopen(path, "a");
    if (!g_file)
        return;
    // The creation time is only as fine as the system clock; the marks after
    // it use the performance counter (the precise clock is Windows 8 and later).
    FILETIME created, exited, kernel, user, now;
    ::GetSystemTimeAsFileTime(&now);
    ::QueryPerformanceFrequency(&g_frequency);
    ::QueryPerformanceCounter(&g_startCount);
    if (::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user))
        g_startMs = double(FileTimeValue(now) - FileTimeValue(created)) / 10000.0;
    g_enabled = true;
    Mark("start");
}

void Mark(const char* phase)
{
    if (!g_file)
        return;
    LARGE_INTEGER count;
    ::QueryPerformanceCounter(&count);
    double ms = g_startMs + double(count.QuadPart - g_startCount.QuadPart) * 1000.0 / double(g_frequency.QuadPart);
    std::fprintf(g_file, "%s\t%.1f\n", phase, ms);
    std::fflush(g_file);
}

} // namespace phase_timing
