// Copy throughput by the program's own code path: CopySelected on one large
// file with its progress dialog live (shown, painted, Cancel clickable), the
// target replaced each run. For reference, in the same iterations: CopyOneFile
// without a dialog, Wine's own CopyFileA (which neither flushes the copy to
// disk nor goes through a temporary file), and CopyFileA followed by a flush
// of the copy, the like-for-like floor. The variants take turns, so a busy
// machine slows them alike; the fastest and the median run are printed, and
// the ratios of the dialog's copy to the floor.
//   copy_throughput.exe SOURCE_DIRECTORY TARGET_DIRECTORY FILE_NAME [RUNS]
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/orvinta_app.h"
#include "directory/copy/copy_one_file.h"
#include "directory/copy/copy_selected.h"

OrvintaApp theApp;

namespace {

double Now()
{
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * double(counter.QuadPart) / double(frequency.QuadPart);
}

class Quiet : public CopyProgress {
public:
    void Start(uint64_t) override {}
    void BytesDone(uint64_t) override {}
    bool IsCancelled() override { return false; }
};

class Counter : public CopyListener {
public:
    void FileCopied(const std::string&) override { ++copied; }
    int copied = 0;
};

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double Fastest(const std::vector<double>& times)
{
    return *std::min_element(times.begin(), times.end());
}

void Report(const char* label, const std::vector<double>& times, double megabytes)
{
    double median = Median(times);
    std::printf("%s min_ms=%.1f median_ms=%.1f mb_per_s_at_median=%.1f\n", label, Fastest(times), median,
                megabytes * 1000.0 / median);
}

// Wine's copy made durable the way ours is: the copy's data on the disk.
bool CopyFileFlushed(const std::string& source, const std::string& target)
{
    if (!::CopyFileA(source.c_str(), target.c_str(), FALSE))
        return false;
    HANDLE file = ::CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BOOL flushed = ::FlushFileBuffers(file);
    ::CloseHandle(file);
    return flushed != FALSE;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: copy_throughput SOURCE_DIRECTORY TARGET_DIRECTORY FILE_NAME [RUNS]\n");
        return 2;
    }
    theApp.m_appName = "ORVINTA";
    ::InitCommonControls();
    const std::string from = argv[1], to = argv[2], name = argv[3];
    const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 7;
    const std::string source = from + "\\" + name, target = to + "\\" + name;

    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(source.c_str(), GetFileExInfoStandard, &data)) {
        std::fprintf(stderr, "no file %s\n", source.c_str());
        return 2;
    }
    const double megabytes = ((double(data.nFileSizeHigh) * 4294967296.0) + data.nFileSizeLow) / 1048576.0;

    std::vector<double> ours, bare, wine, wineFlushed;
    for (int run = 0; run < runs; ++run) {
        Counter counter;
        double start = Now();
        CopySelected(nullptr, from, to, { name }, &counter);
        ours.push_back(Now() - start);
        if (counter.copied != 1) {
            std::fprintf(stderr, "the copy failed\n");
            return 1;
        }
        Quiet quiet;
        start = Now();
        CopyOneFile(source, target, quiet);
        bare.push_back(Now() - start);

        start = Now();
        ::CopyFileA(source.c_str(), target.c_str(), FALSE);
        wine.push_back(Now() - start);

        start = Now();
        if (!CopyFileFlushed(source, target)) {
            std::fprintf(stderr, "CopyFileA and its flush failed\n");
            return 1;
        }
        wineFlushed.push_back(Now() - start);
    }
    std::printf("size_mb=%.1f runs=%d\n", megabytes, runs);
    Report("copyselected_with_dialog", ours, megabytes);
    Report("copyonefile_without_dialog", bare, megabytes);
    Report("wine_copyfile", wine, megabytes);
    Report("wine_copyfile_flush", wineFlushed, megabytes);
    std::printf("dialog_over_copyfile_flush fastest=%.2fx median=%.2fx\n", Fastest(ours) / Fastest(wineFlushed),
                Median(ours) / Median(wineFlushed));
    return 0;
}
