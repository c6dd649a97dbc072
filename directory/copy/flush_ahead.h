// Sends a file's written data on its way to the disk while later chunks are
// still being written, so that the flush that must end the copy finds little
// left to do. The early flushes run on a thread of their own, one at a time;
// the copy never waits for them until Finish.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

// An early flush starts each time this much more has been written.
constexpr uint64_t FLUSH_AHEAD_STEP = 32ull << 20;

class FlushAhead {
public:
    // flush returns 0, or the system's error code.
    explicit FlushAhead(std::function<unsigned long()> flush);
    // Waits for a flush under way: the file must outlive it.
    ~FlushAhead();
    FlushAhead(const FlushAhead&) = delete;
    FlushAhead& operator=(const FlushAhead&) = delete;

    // Bytes written so far.
    void Written(uint64_t total);
    // Waits until every early flush asked for has run; the first one's
    // error, or 0. A failure must not be lost: the system may report it once.
    unsigned long Finish();

private:
    void Run();

    std::function<unsigned long()> m_flush;
    uint64_t m_nextStep = FLUSH_AHEAD_STEP;
    bool m_tried = false;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_wanted = false;
    bool m_busy = false;
    bool m_stopping = false;
    unsigned long m_error = 0;
};
