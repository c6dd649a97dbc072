// Scans two directories, pairs their files and computes every status as the
// directory window does, timing the scans and the status pass separately.
// With --recursive both whole trees are scanned as in "Include Subdirectories",
// and --list names each file by its relative path on disk.
//   dirbench [--recursive] [--method 0|1] [--pattern TEXT] [--list] [--repeat K] SOURCE_DIR MASTER_DIR
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "directory/core/compare_status.h"
#include "directory/core/pair_entries.h"
#include "directory/core/scan_files.h"
#include "directory/core/scan_tree.h"

namespace {

int Usage()
{
    std::fprintf(stderr,
                 "usage: dirbench [--recursive] [--method 0|1] [--pattern TEXT] [--list] [--repeat K] SOURCE_DIR MASTER_DIR\n");
    return 2;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

bool IsDirectory(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

int main(int argc, char** argv)
{
    int method = 0;
    std::string pattern = "*.*";
    bool list = false;
    bool recursive = false;
    long repeat = 5;
    std::vector<std::string> directories;
    for (int k = 1; k < argc; ++k) {
        if (!std::strcmp(argv[k], "--method") && k + 1 < argc) {
            const char* value = argv[++k];
            if (std::strcmp(value, "0") && std::strcmp(value, "1"))
                return Usage();
            method = value[0] - '0';
        } else if (!std::strcmp(argv[k], "--pattern") && k + 1 < argc) {
            pattern = argv[++k];
        } else if (!std::strcmp(argv[k], "--repeat") && k + 1 < argc) {
            repeat = std::strtol(argv[++k], nullptr, 10);
            if (repeat < 1)
                return Usage();
        } else if (!std::strcmp(argv[k], "--recursive")) {
            recursive = true;
        } else if (!std::strcmp(argv[k], "--list")) {
            list = true;
        } else if (argv[k][0] == '-' && argv[k][1] != '\0') {
            return Usage();
        } else {
            directories.push_back(argv[k]);
        }
    }
    if (directories.size() != 2)
        return Usage();
    for (const std::string& directory : directories) {
        if (!IsDirectory(directory)) {
            std::fprintf(stderr, "dirbench: %s is not a directory\n", directory.c_str());
            return 2;
        }
    }

    std::vector<double> scanTimes, statusTimes;
    FileEntryArray source, master;
    std::vector<PairedRow> rows;
    for (long run = 0; run < repeat; ++run) {
        ClearFiles(source);
        ClearFiles(master);
        auto start = std::chrono::steady_clock::now();
        ScanSide(source, directories[0], pattern, recursive);
        ScanSide(master, directories[1], pattern, recursive);
        scanTimes.push_back(MillisecondsSince(start));
        start = std::chrono::steady_clock::now();
        rows = PairEntries(source, master, StatusOfPair(directories[0], directories[1], method));
        statusTimes.push_back(MillisecondsSince(start));
    }

    size_t same = 0, differs = 0, sourceOnly = 0, masterOnly = 0;
    for (const PairedRow& row : rows) {
        const char* kind;
        const FileEntry* shown = row.source ? row.source : row.master;
        if (!row.master) {
            kind = "source-only";
            ++sourceOnly;
        } else if (!row.source) {
            kind = "master-only";
            ++masterOnly;
        } else if (row.source->status == 0) {
            kind = "same";
            ++same;
        } else {
            kind = "differs";
            ++differs;
        }
        if (list)
            std::printf("%s %s\n", kind, (recursive ? shown->fileName : shown->DisplayName()).c_str());
    }
    std::printf("rows=%zu same=%zu differs=%zu source_only=%zu master_only=%zu scan_ms=%.3f status_ms=%.3f\n",
                rows.size(), same, differs, sourceOnly, masterOnly, Median(scanTimes), Median(statusTimes));
    return 0;
}
