// Copy throughput by the program's own code path: CopySelected on one large
// file with its progress dialog live (shown, painted, Cancel clickable), the
// target replaced each run. Prints the median time and rate of the runs, and
// Wine's own CopyFileA on the same file for reference.
//   copy_throughput.exe SOURCE_DIRECTORY TARGET_DIRECTORY FILE_NAME [RUNS]
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/orvinta_app.h"
#include "directory/copy_one_file.h"
#include "directory/copy_selected.h"

OrvintaApp theApp;

namespace {

double Now()
{
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * double(counter.QuadPart) / double(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
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
    const int runs = argc > 4 ? std::atoi(argv[4]) : 5;
    const std::string source = from + "\\" + name, target = to + "\\" + name;

    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(source.c_str(), GetFileExInfoStandard, &data)) {
        std::fprintf(stderr, "no file %s\n", source.c_str());
        return 2;
    }
    const double megabytes = ((double(data.nFileSizeHigh) * 4294967296.0) + data.nFileSizeLow) / 1048576.0;

    std::vector<double> ours, wine, bare;
    for (int run = 0; run < runs; ++run) {
        Counter counter;
        double start = Now();
        CopySelected(nullptr, from, to, { name }, &counter);
        ours.push_back(Now() - start);
        if (counter.copied != 1) {
            std::fprintf(stderr, "the copy failed\n");
            return 1;
        }
        // The replaced file stays: the next run replaces it again, as a user's copy would.
        start = Now();
        ::CopyFileA(source.c_str(), (target + ".wine").c_str(), FALSE);
        wine.push_back(Now() - start);
        ::DeleteFileA((target + ".wine").c_str());
        Quiet quiet;
        start = Now();
        CopyOneFile(source, target, quiet);
        bare.push_back(Now() - start);
    }
    std::printf("size_mb=%.1f runs=%d\n", megabytes, runs);
    std::printf("copyselected median_ms=%.1f mb_per_s=%.1f\n", Median(ours), megabytes * 1000.0 / Median(ours));
    std::printf("copyonefile_without_dialog median_ms=%.1f mb_per_s=%.1f\n", Median(bare),
                megabytes * 1000.0 / Median(bare));
    std::printf("wine_copyfile median_ms=%.1f mb_per_s=%.1f\n", Median(wine), megabytes * 1000.0 / Median(wine));
    return 0;
}
