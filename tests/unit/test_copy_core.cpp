// The portable pieces of copying and watching: the chunk pipeline against
// sources that return short reads or fail and sinks that fail, with reading
// on its own thread, the progress arithmetic on 64-bit sizes,
// the answers of the copy questions, and the paths a side watches or falls
// back to.
#include <doctest/doctest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <stdexcept>
#include <string>

#include "directory/copy/copy_answers.h"
#include "directory/copy/copy_stream.h"
#include "directory/copy/flush_ahead.h"
#include "directory/monitor/monitor_paths.h"

namespace {

// Hands out its bytes in pieces of the given sizes (cycling), then the end;
// throws after failAfter bytes when that is set.
class ScriptedSource : public ByteSource {
public:
    ScriptedSource(std::string data, std::vector<uint32_t> pieces, size_t failAfter = std::string::npos)
        : m_data(std::move(data)), m_pieces(std::move(pieces)), m_failAfter(failAfter) {}
    uint32_t ReadSome(void* buffer, uint32_t count) override
    {
        if (m_offset >= m_failAfter)
            throw std::runtime_error("read error");
        uint32_t piece = m_pieces[m_next++ % m_pieces.size()];
        size_t n = std::min<size_t>({ piece, count, m_data.size() - m_offset });
        std::memcpy(buffer, m_data.data() + m_offset, n);
        m_offset += n;
        return static_cast<uint32_t>(n);
    }
    size_t Offset() const { return m_offset; } // once the copy has returned


private:
    std::string m_data;
    std::vector<uint32_t> m_pieces;
    size_t m_failAfter;
    size_t m_offset = 0;
    size_t m_next = 0;
};

class StringSink : public ByteSink {
public:
    void Write(const void* buffer, uint32_t count) override
    {
        if (text.size() >= failAfter)
            throw std::runtime_error("disk full");
        text.append(static_cast<const char*>(buffer), count);
    }
    std::string text;
    size_t failAfter = std::string::npos;
};

class RecordingProgress : public CopyProgress {
public:
    void Start(uint64_t total) override { this->total = total; }
    void BytesDone(uint64_t done) override
    {
        CHECK(done >= last);
        last = done;
        ++calls;
        if (cancelAfterCalls && calls >= cancelAfterCalls)
            cancelled = true;
    }
    bool IsCancelled() override { return cancelled; }
    uint64_t total = 0;
    uint64_t last = 0;
    int calls = 0;
    int cancelAfterCalls = 0;
    bool cancelled = false;
};

std::string Pattern(size_t size)
{
    std::string text(size, '\0');
    for (size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>('a' + (i * 7 + i / 251) % 26);
    return text;
}

} // namespace

TEST_CASE("copy loop: short reads are written as they come and the copy goes on to the end")
{
    struct Row {
        const char* label;
        size_t size;
        std::vector<uint32_t> pieces;
    };
    const Row rows[] = {
        { "empty source", 0, { COPY_CHUNK } },
        { "whole chunks", 3 * COPY_CHUNK, { COPY_CHUNK } },
        { "one byte at a time", 3000, { 1 } },
        { "uneven pieces across chunk ends", 2 * COPY_CHUNK + 12345, { 7, COPY_CHUNK - 3, 100000, 1 } },
        // A full first chunk starts reading ahead; every piece after it
        // crosses from the reading thread and must land in order.
        { "read ahead, then uneven pieces", 3 * COPY_CHUNK + 999, { COPY_CHUNK, 1, 4095, COPY_CHUNK - 7, 13 } },
        { "read ahead over the whole ring", (COPY_CHUNKS_IN_FLIGHT + 3) * COPY_CHUNK + 1, { COPY_CHUNK } },
    };
    for (const Row& row : rows) {
        CAPTURE(row.label);
        std::string data = Pattern(row.size);
        ScriptedSource source(data, row.pieces);
        StringSink sink;
        RecordingProgress progress;
        std::vector<char> buffer;
        uint64_t copied = 0;
        CHECK(CopyStream(source, sink, progress, buffer, &copied));
        CHECK(sink.text == data);
        CHECK(copied == row.size);
        CHECK(progress.last == row.size);
        CHECK(buffer.size() <= COPY_CHUNKS_IN_FLIGHT * size_t(COPY_CHUNK)); // bounded, whatever the size
    }
}

TEST_CASE("copy loop: a failing read is an error, not an end; cancel stops between chunks")
{
    std::string data = Pattern(3 * COPY_CHUNK);
    std::vector<char> buffer;
    {
        ScriptedSource source(data, { COPY_CHUNK }, COPY_CHUNK + 10);
        StringSink sink;
        RecordingProgress progress;
        CHECK_THROWS_AS(CopyStream(source, sink, progress, buffer), std::runtime_error);
    }
    {
        ScriptedSource source(data, { COPY_CHUNK });
        StringSink sink;
        RecordingProgress progress;
        progress.cancelAfterCalls = 1;
        uint64_t copied = 0;
        CHECK_FALSE(CopyStream(source, sink, progress, buffer, &copied));
        CHECK(copied == COPY_CHUNK);
        CHECK(sink.text.size() == COPY_CHUNK);
    }
}

TEST_CASE("copy pipeline: cancel or a failed write stops reading, which never runs more than the ring ahead")
{
    std::string data = Pattern(20 * COPY_CHUNK);
    std::vector<char> buffer;
    struct Row {
        const char* label;
        int cancelAfterCalls;
        size_t sinkFailsAfter;
        size_t written;
    };
    const Row rows[] = {
        { "cancelled after the second chunk", 2, std::string::npos, 2 * COPY_CHUNK },
        { "the third write fails", 0, 2 * COPY_CHUNK, 2 * COPY_CHUNK },
    };
    for (const Row& row : rows) {
        CAPTURE(row.label);
        ScriptedSource source(data, { COPY_CHUNK });
        StringSink sink;
        sink.failAfter = row.sinkFailsAfter;
        RecordingProgress progress;
        progress.cancelAfterCalls = row.cancelAfterCalls;
        if (row.cancelAfterCalls)
            CHECK_FALSE(CopyStream(source, sink, progress, buffer));
        else
            CHECK_THROWS_WITH_AS(CopyStream(source, sink, progress, buffer), "disk full", std::runtime_error);
        CHECK(sink.text == data.substr(0, row.written));
        CHECK(source.Offset() <= row.written + COPY_CHUNKS_IN_FLIGHT * size_t(COPY_CHUNK));
    }
}

TEST_CASE("early flushes: none below a step; every one asked for has run by Finish, whose error is the first")
{
    struct Row {
        const char* label;
        std::vector<uint64_t> written;
        std::vector<unsigned long> results; // of the flushes in turn, the last repeating
        unsigned long expected;
    };
    const Row rows[] = {
        { "a small file", { 1000, FLUSH_AHEAD_STEP - 1 }, { 0 }, 0 },
        { "one step", { FLUSH_AHEAD_STEP }, { 0 }, 0 },
        { "the first flush fails", { FLUSH_AHEAD_STEP }, { 112 }, 112 },
        { "a failure is not undone by later flushes", { FLUSH_AHEAD_STEP, 3 * FLUSH_AHEAD_STEP }, { 112, 0 }, 112 },
    };
    for (const Row& row : rows) {
        CAPTURE(row.label);
        size_t calls = 0; // only the flushing thread counts until Finish returns
        FlushAhead flushAhead([&] { return row.results[std::min(calls++, row.results.size() - 1)]; });
        for (uint64_t total : row.written)
            flushAhead.Written(total);
        CHECK(flushAhead.Finish() == row.expected);
        CHECK((calls > 0) == (row.written.back() >= FLUSH_AHEAD_STEP));
    }
}

TEST_CASE("progress bar position: proportional, steady and full at the end for any 64-bit size")
{
    const uint64_t GB = 1ull << 30;
    struct Row {
        const char* label;
        uint64_t done, total;
        uint32_t range, expected;
    };
    const Row rows[] = {
        { "empty file is full", 0, 0, 1000, 1000 },
        { "start", 0, 100, 1000, 0 },
        { "half of a small file", 50, 100, 1000, 500 },
        { "half of 6 GB", 3 * GB, 6 * GB, 1000, 500 },
        { "just under 4 GB of 8 GB", 4 * GB - 1, 8 * GB, 1000, 499 },
        { "a file that grew", 200, 100, 1000, 1000 },
        { "near 2^64, a quarter", UINT64_MAX / 4, UINT64_MAX, 1000, 249 },
        { "near 2^64, almost done", UINT64_MAX - 1, UINT64_MAX, 1000, 999 },
    };
    for (const Row& row : rows) {
        CAPTURE(row.label);
        CHECK(ProgressPosition(row.done, row.total, row.range) == row.expected);
    }
    // Over a 5 GB file in 1 MB chunks the bar never goes back and reaches every tenth.
    const uint64_t total = 5 * GB + 123;
    uint32_t previous = 0;
    std::set<uint32_t> seen;
    for (uint64_t done = 0; done < total; done += COPY_CHUNK) {
        uint32_t position = ProgressPosition(done, total, 1000);
        CHECK(position >= previous);
        previous = position;
        seen.insert(position / 100);
    }
    CHECK(seen.size() == 10);
    CHECK(ProgressPosition(total, total, 1000) == 1000);
}

TEST_CASE("copy questions: only Yes and Yes to All go ahead; Yes to All stands for the rest of the run")
{
    struct Row {
        const char* label;
        int answer;
        bool goesAhead, stands;
    };
    const Row rows[] = {
        { "Yes", COPY_ANSWER_YES, true, false },
        { "No", COPY_ANSWER_NO, false, false },
        { "Escape or closing the box", COPY_ANSWER_CANCEL, false, false },
        { "Yes to All", COPY_ANSWER_YES_TO_ALL, true, true },
        { "a box that could not be shown", -1, false, false },
    };
    for (const Row& row : rows) {
        CAPTURE(row.label);
        StandingAnswer answer;
        CHECK(answer.Accept(row.answer) == row.goesAhead);
        CHECK(answer.Stands() == row.stands);
    }
    StandingAnswer answer;
    answer.Accept(COPY_ANSWER_YES_TO_ALL);
    answer.Accept(COPY_ANSWER_NO);
    CHECK(answer.Stands());
}

TEST_CASE("newer target: by DOS date, then time, as unsigned words")
{
    const uint16_t day = (46 << 9) | (5 << 5) | 17;      // 2026-05-17
    const uint16_t late = 0xB800;                        // 23:00:00, past 0x7FFF
    const uint16_t early = (9 << 11) | (30 << 5) | 5;    // 09:30:10
    const uint16_t laterDay = (46 << 9) | (5 << 5) | 18; // the day after
    CHECK(IsTargetNewer(day, late, day, early));
    CHECK_FALSE(IsTargetNewer(day, early, day, late));
    CHECK_FALSE(IsTargetNewer(day, early, day, early));
    CHECK(IsTargetNewer(laterDay, 0, day, late));
    CHECK_FALSE(IsTargetNewer(day, late, laterDay, 0));
    CHECK(IsTargetNewer(0xFE00, 0, 0x7E00, 0)); // a year past 2043 against an earlier one
}

TEST_CASE("watch paths: the top-level directory, drive roots and UNC shares")
{
    struct Row {
        const char* directory;
        const char* tree;
        const char* files;
    };
    const Row rows[] = {
        { "", "", "" },
        { "d:", "d:\\", "d:\\" },
        { "d:\\src", "d:\\src", "d:\\src" },
        { "d:\\src\\lib\\x", "d:\\src", "d:\\src\\lib\\x" },
        { "\\\\server\\share", "\\\\server\\share", "\\\\server\\share" },
        { "\\\\server\\share\\top", "\\\\server\\share\\top", "\\\\server\\share\\top" },
        { "\\\\server\\share\\top\\sub\\x", "\\\\server\\share\\top", "\\\\server\\share\\top\\sub\\x" },
    };
    for (const Row& row : rows) {
        CAPTURE(row.directory);
        WatchPaths paths = WatchPathsFor(row.directory);
        CHECK(paths.tree == row.tree);
        CHECK(paths.files == row.files);
    }
}

TEST_CASE("a removed directory: the side moves to the nearest existing ancestor, else the Windows directory")
{
    const std::string windows = "c:\\windows";
    struct Row {
        const char* label;
        const char* directory;
        std::set<std::string> existing;
        const char* expected;
    };
    const Row rows[] = {
        { "still there", "d:\\a\\b", { "d:", "d:\\a", "d:\\a\\b" }, "d:\\a\\b" },
        { "parent", "d:\\a\\b", { "d:", "d:\\a" }, "d:\\a" },
        { "up to the root", "d:\\a\\b\\c", { "d:" }, "d:" },
        { "trailing backslash", "d:\\a\\", { "d:", "d:\\a" }, "d:\\a" },
        { "drive gone", "e:\\a\\b", {}, "c:\\windows" },
        { "UNC share", "\\\\srv\\share\\a\\b", { "\\\\srv\\share" }, "\\\\srv\\share" },
        { "UNC share gone", "\\\\srv\\share\\a", {}, "c:\\windows" },
        { "no directory at all", "", {}, "c:\\windows" },
    };
    for (const Row& row : rows) {
        CAPTURE(row.label);
        int asked = 0;
        auto isDirectory = [&](const std::string& path) {
            ++asked;
            return row.existing.count(path) > 0;
        };
        CHECK(NearestExistingDirectory(row.directory, isDirectory, windows) == row.expected);
        CHECK(asked <= 8); // each step is shorter: no loop
    }
}
