#include "directory/window/background_reader.h"

#include "framework/critical_section_lock.h"

class BackgroundReader::Sink : public ReadingResults {
public:
    Sink(BackgroundReader& reader, unsigned job) : m_reader(reader), m_job(job) {}
    void PairRead(size_t index, int status) override { m_reader.Deliver(m_job, true, index, status, false); }
    void FolderJudged(size_t index, int status) override { m_reader.Deliver(m_job, false, index, status, false); }
    bool Cancelled() const override { return m_reader.m_current.load() != m_job; }

private:
    BackgroundReader& m_reader;
    unsigned m_job;
};

BackgroundReader::BackgroundReader()
{
    ::InitializeCriticalSection(&m_lock);
}

BackgroundReader::~BackgroundReader()
{
    Stop();
    ::DeleteCriticalSection(&m_lock);
}

unsigned BackgroundReader::Start(ReadingJob job, HWND window, UINT message)
{
    CriticalSectionLock lock(m_lock);
    if (!m_thread) {
        m_quit = false;
        m_wake = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
        m_thread = m_wake ? ::CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr) : nullptr;
    }
    unsigned number = ++m_current;
    m_window = window;
    m_message = message;
    m_answers = Answers();
    m_answers.job = number;
    m_posted = false;
    if (!m_thread) {
        // No thread to be had: read here rather than never.
        Sink sink(*this, number);
        RunReadingJob(job, sink);
        Deliver(number, true, 0, 0, true);
        return number;
    }
    m_next = std::make_unique<ReadingJob>(std::move(job));
    ::SetEvent(m_wake);
    return number;
}

void BackgroundReader::Cancel()
{
    CriticalSectionLock lock(m_lock);
    ++m_current;
    m_next.reset();
    m_answers = Answers();
    m_answers.job = m_current;
}

void BackgroundReader::Stop()
{
    HANDLE thread;
    {
        CriticalSectionLock lock(m_lock);
        ++m_current;
        m_next.reset();
        m_quit = true;
            thread = m_thread;
        m_thread = nullptr;
        if (m_wake)
            ::SetEvent(m_wake);
    }
    if (thread) {
        ::WaitForSingleObject(thread, INFINITE);
        ::CloseHandle(thread);
    }
    if (m_wake) {
        ::CloseHandle(m_wake);
        m_wake = nullptr;
    }
}

BackgroundReader::Answers BackgroundReader::Take()
{
    CriticalSectionLock lock(m_lock);
    Answers taken = std::move(m_answers);
    m_answers = Answers();
    m_answers.job = taken.job;
    m_posted = false;
    return taken;
}

DWORD WINAPI BackgroundReader::ThreadProc(void* self)
{
    static_cast<BackgroundReader*>(self)->Run();
    return 0;
}

void BackgroundReader::Run()
{
    for (;;) {
        ::WaitForSingleObject(m_wake, INFINITE);
        std::unique_ptr<ReadingJob> job;
        unsigned number;
        {
            CriticalSectionLock lock(m_lock);
            if (m_quit)
                return;
            job = std::move(m_next);
            number = m_current;
        }
        if (!job)
            continue;
        Sink sink(*this, number);
        try {
            RunReadingJob(*job, sink);
        } catch (...) {
            // A job that failed half-way leaves its unread pairs not known.
        }
        Deliver(number, true, 0, 0, true);
    }
}

void BackgroundReader::Deliver(unsigned job, bool isPair, size_t index, int status, bool finished)
{
    CriticalSectionLock lock(m_lock);
    if (job != m_current)
        return;
    if (!finished) {
        (isPair ? m_answers.pairs : m_answers.folders).emplace_back(index, status);
        return;
    }
    // Every message costs the reading a round trip to the server under Wine:
    // the window takes answers on its own clock and hears only of the end.
    m_answers.finished = true;
    if (!m_posted) {
        m_posted = true;
        ::PostMessageA(m_window, m_message, 0, 0);
    }
}
