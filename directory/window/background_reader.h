// BackgroundReader: the one thread on which the directory window reads files
// (contents of pairs, folders' trees), so that the window answers while it
// reads. Each Start cancels the job before it; answers are collected under a
// lock, the window takes them on its own thread with Take (on a timer), and
// the end of a job is posted to it.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <utility>
#include <vector>

#include "directory/core/status_reading.h"

class BackgroundReader {
public:
    struct Answers {
        unsigned job = 0;
        std::vector<std::pair<size_t, int>> pairs;   // index into the job's pairs, status
        std::vector<std::pair<size_t, int>> folders; // index into the job's folders, state
        bool finished = false;                       // the job has given every answer
    };

    BackgroundReader();
    ~BackgroundReader();
    BackgroundReader(const BackgroundReader&) = delete;
    BackgroundReader& operator=(const BackgroundReader&) = delete;

    // Cancels the running job and starts this one; message goes to window as
    // answers arrive. Returns the job's number.
    unsigned Start(ReadingJob job, HWND window, UINT message);
    // Cancels the running job: none of its answers will be taken.
    void Cancel();
    // Cancels and ends the thread, waiting for it.
    void Stop();
    // The current job's answers since the last Take.
    Answers Take();

private:
    class Sink;
    static DWORD WINAPI ThreadProc(void* self);
    void Run();
    void Deliver(unsigned job, bool isPair, size_t index, int status, bool finished);

    mutable CRITICAL_SECTION m_lock;
    HANDLE m_thread = nullptr;
    HANDLE m_wake = nullptr;
    std::atomic<unsigned> m_current{ 0 };
    bool m_quit = false;
    std::unique_ptr<ReadingJob> m_next;
    HWND m_window = nullptr;
    UINT m_message = 0;
    Answers m_answers;
    bool m_posted = false;
};
