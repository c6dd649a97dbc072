#include "directory/copy/copy_stream.h"

bool CopyStream(ByteSource& source, ByteSink& sink, CopyProgress& progress, std::vector<char>& buffer,
                uint64_t* copied)
{
    if (buffer.size() < COPY_CHUNK)
        buffer.resize(COPY_CHUNK);
    uint64_t done = 0;
    bool finished = false;
    while (!finished) {
        if (progress.IsCancelled()) {
            if (copied)
                *copied = done;
            return false;
        }
        // A short read is not the end: only a read of nothing is. A source
        // that shrank ends early, one that grew is copied to its new end.
        uint32_t got = source.ReadSome(buffer.data(), COPY_CHUNK);
        if (got == 0) {
            finished = true;
        } else {
            sink.Write(buffer.data(), got);
            done += got;
        }
        progress.BytesDone(done);
    }
    if (copied)
        *copied = done;
    return true;
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
