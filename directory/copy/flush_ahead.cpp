#include "directory/copy/flush_ahead.h"

#include <system_error>
#include <utility>

FlushAhead::FlushAhead(std::function<unsigned long()> flush) : m_flush(std::move(flush)) {}

FlushAhead::~FlushAhead()
{
    Finish();
}

void FlushAhead::Written(uint64_t total)
{
    if (total < m_nextStep)
        return;
    m_nextStep = total + FLUSH_AHEAD_STEP;
    if (!m_tried) {
        m_tried = true;
        try {
            m_thread = std::thread(&FlushAhead::Run, this);
        } catch (const std::system_error&) {
            // Without a thread the final flush does it all, as it always may.
        }
    }
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        // One still running covers this step's data when it ends; another
        // request would only queue the disk behind it.
        if (m_busy || m_wanted)
            return;
        m_wanted = true;
    }
    m_changed.notify_all();
}

unsigned long FlushAhead::Finish()
{
    if (m_thread.joinable()) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stopping = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }
    return m_error;
}

void FlushAhead::Run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_wanted || m_stopping; });
        if (!m_wanted)
            return;
        m_wanted = false;
        m_busy = true;
        lock.unlock();
        unsigned long error = m_flush();
        lock.lock();
        m_busy = false;
        if (error && !m_error)
            m_error = error;
    }
}
