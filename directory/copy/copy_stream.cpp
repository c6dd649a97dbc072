#include "directory/copy/copy_stream.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

struct Chunk {
    uint32_t count = 0; // 0: the end of the source
    std::exception_ptr error;
};

// The chunks in flight, filled in turn by the reader and emptied in the same
// turn by the writer. The slot being filled is never one still to be written:
// at most COPY_CHUNKS_IN_FLIGHT are filled at once.
class ChunkRing {
public:
    ChunkRing(ByteSource& source, std::vector<char>& buffer) : m_source(source), m_buffer(buffer) {}

    char* Data(size_t slot) { return m_buffer.data() + slot * COPY_CHUNK; }

    // The reading side, until the end, an error or Stop.
    void ReadAll()
    {
        while (FillNext()) {
        }
    }

    // Reads one chunk into the next free slot; false once reading is over.
    bool FillNext()
    {
        size_t slot;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_space.wait(lock, [this] { return m_stopped || m_filled < COPY_CHUNKS_IN_FLIGHT; });
            if (m_stopped)
                return false;
            slot = (m_oldest + m_filled) % COPY_CHUNKS_IN_FLIGHT;
        }
        Chunk chunk;
        try {
            chunk.count = m_source.ReadSome(Data(slot), COPY_CHUNK);
        } catch (...) {
            chunk.error = std::current_exception();
        }
        const bool more = chunk.count != 0 && !chunk.error;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_chunks[slot] = std::move(chunk);
            ++m_filled;
        }
        m_ready.notify_one();
        return more;
    }

    // The writing side: the oldest chunk, waited for, or read here when no
    // thread reads. It stays put until Release.
    Chunk Oldest(size_t& slot, bool readHere)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (readHere && m_filled == 0) {
            m_oldest = 0; // reading here needs only the first chunk of the buffer
            lock.unlock();
            FillNext();
            lock.lock();
        }
        m_ready.wait(lock, [this] { return m_filled > 0; });
        slot = m_oldest;
        return m_chunks[slot];
    }

    void Release()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_oldest = (m_oldest + 1) % COPY_CHUNKS_IN_FLIGHT;
            --m_filled;
        }
        m_space.notify_one();
    }

    void Stop()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stopped = true;
        }
        m_space.notify_all();
    }

private:
    ByteSource& m_source;
    std::vector<char>& m_buffer;
    std::mutex m_mutex;
    std::condition_variable m_space;
    std::condition_variable m_ready;
    Chunk m_chunks[COPY_CHUNKS_IN_FLIGHT];
    size_t m_oldest = 0;
    size_t m_filled = 0;
    bool m_stopped = false;
};

// Whatever way the copy ends (done, cancelled, thrown), reading has stopped
// and its thread is gone before the source and the buffer can go.
class ReadingThread {
public:
    explicit ReadingThread(ChunkRing& ring) : m_ring(ring) {}
    ~ReadingThread()
    {
        if (!m_thread.joinable())
            return;
        m_ring.Stop();
        m_thread.join();
    }
    void Start()
    {
        if (m_tried)
            return;
        m_tried = true;
        try {
            m_thread = std::thread(&ChunkRing::ReadAll, &m_ring);
        } catch (const std::system_error&) {
            // Out of threads: the writing side goes on reading each chunk itself.
        }
    }
    bool Running() const { return m_thread.joinable(); }

private:
    ChunkRing& m_ring;
    std::thread m_thread;
    bool m_tried = false;
};

} // namespace

bool CopyStream(ByteSource& source, ByteSink& sink, CopyProgress& progress, std::vector<char>& buffer,
                uint64_t* copied)
{
    // One chunk until reading ahead starts: many small files must not each
    // pay for the memory of a whole ring.
    if (buffer.size() < COPY_CHUNK)
        buffer.resize(COPY_CHUNK);
    ChunkRing ring(source, buffer);
    ReadingThread reader(ring);
    uint64_t done = 0;
    bool finished = false;
    while (!finished && !progress.IsCancelled()) {
        // A short read is not the end: only a read of nothing is. A source
        // that shrank ends early, one that grew is copied to its new end.
        size_t slot = 0;
        Chunk chunk = ring.Oldest(slot, !reader.Running());
        if (chunk.error)
            std::rethrow_exception(chunk.error);
        if (chunk.count == 0) {
            finished = true;
        } else {
            // A source that fills a whole chunk has more to come: from here
            // on it is read while this side writes. Small files never pay
            // for a thread.
            if (chunk.count == COPY_CHUNK && !reader.Running()) {
                buffer.resize(size_t(COPY_CHUNK) * COPY_CHUNKS_IN_FLIGHT); // keeps the chunk read
                reader.Start();
            }
            sink.Write(ring.Data(slot), chunk.count);
            done += chunk.count;
            ring.Release();
        }
        progress.BytesDone(done);
    }
    if (copied)
        *copied = done;
    return finished;
}

uint32_t ProgressPosition(uint64_t done, uint64_t total, uint32_t range)
{
    if (total == 0 || done >= total)
        return range;
    if (range == 0 || done <= UINT64_MAX / range)
        return static_cast<uint32_t>(done * range / total);
    // Past 2^64 / range the product would overflow; total is then so large
    // that dividing it first loses far less than one step. Rounding the
    // divisor up keeps the bar short of full until the end.
    return static_cast<uint32_t>(done / (total / range + 1));
}
