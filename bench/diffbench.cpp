// Loads two files and aligns them as a comparison window would, timing the
// load and the comparison separately.
//   diffbench [--whitespace N] [--blocks] [--repeat K] [--load-only] SOURCE [MASTER]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/comparison_progress.h"
#include "engine/difference_engine.h"
#include "engine/text_buffer.h"
#include "framework/exceptions.h"

namespace {

class NeverCancel : public ComparisonProgress {
public:
    void SetRange(uint32_t) override {}
    void SetPos(uint32_t) override {}
    bool IsCancelled() override { return false; }
    void PumpMessages() override {}
};

int Usage()
{
    std::fprintf(stderr, "usage: diffbench [--whitespace N] [--blocks] [--repeat K] [--load-only] SOURCE [MASTER]\n");
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

} // namespace

int main(int argc, char** argv)
{
    int mode = 0;
    bool printBlocks = false;
    bool loadOnly = false;
    long repeat = 5;
    std::vector<std::string> files;
    for (int k = 1; k < argc; ++k) {
        if (!std::strcmp(argv[k], "--whitespace") && k + 1 < argc) {
            mode = std::atoi(argv[++k]);
        } else if (!std::strcmp(argv[k], "--repeat") && k + 1 < argc) {
            repeat = std::strtol(argv[++k], nullptr, 10);
            if (repeat < 1)
                return Usage();
        } else if (!std::strcmp(argv[k], "--blocks")) {
            printBlocks = true;
        } else if (!std::strcmp(argv[k], "--load-only")) {
            loadOnly = true;
        } else if (argv[k][0] == '-' && argv[k][1] != '\0') {
            return Usage();
        } else {
            files.push_back(argv[k]);
        }
    }
    if (files.size() != 2 && !(loadOnly && files.size() == 1))
        return Usage();

    std::vector<double> loadTimes, compareTimes;
    const char* encodings[2] = {"", ""};
    std::vector<DiffBlock> blocks;
    uint32_t totalRows = 0;
    try {
        for (long run = 0; run < repeat; ++run) {
            TextBuffer source, master;
            auto start = std::chrono::steady_clock::now();
            for (size_t side = 0; side < files.size(); ++side) {
                if (!(side == 0 ? source : master).Load(files[side])) {
                    std::fprintf(stderr, "diffbench: cannot read %s\n", files[side].c_str());
                    return 2;
                }
            }
            loadTimes.push_back(MillisecondsSince(start));
            if (loadOnly) {
                encodings[0] = EncodingName(source.encoding);
                encodings[1] = EncodingName(master.encoding);
                continue;
            }
            NeverCancel progress;
            start = std::chrono::steady_clock::now();
            CompareBuffers(source, master, mode, progress, blocks, totalRows);
            compareTimes.push_back(MillisecondsSince(start));
        }
    } catch (const CException& exception) {
        std::fprintf(stderr, "diffbench: %s\n", exception.GetErrorMessage().c_str());
        return 2;
    }

    if (loadOnly) {
        for (size_t side = 0; side < files.size(); ++side)
            std::printf("%s=%s ", side == 0 ? "source" : "master", encodings[side]);
        std::printf("load_ms=%.3f\n", Median(loadTimes));
        return 0;
    }
    size_t differences = 0;
    for (const DiffBlock& block : blocks) {
        if (printBlocks)
            std::printf("%u %u %u %u %u %u\n", unsigned(block.kind), unsigned(block.sourceStart),
                        unsigned(block.sourceCount), unsigned(block.masterStart), unsigned(block.masterCount),
                        unsigned(block.firstRow));
        differences += block.kind != BLOCK_EQUAL;
    }
    std::printf("rows=%u blocks=%zu differences=%zu load_ms=%.3f compare_ms=%.3f\n", unsigned(totalRows),
                blocks.size(), differences, Median(loadTimes), Median(compareTimes));
    return 0;
}
