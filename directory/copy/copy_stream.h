// The byte-moving heart of a file copy, free of the platform: a pipeline of
// bounded chunks that writes whatever each read returned, in the order read,
// and the arithmetic that turns 64-bit byte counts into steady positions of a
// progress bar.
#pragma once

#include <cstdint>
#include <vector>

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to count bytes; 0 means the end. Fewer than asked is not the
    // end (the caller asks again). An error throws.
    virtual uint32_t ReadSome(void* buffer, uint32_t count) = 0;
};

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Writes all count bytes or throws.
    virtual void Write(const void* buffer, uint32_t count) = 0;
};

class CopyProgress {
public:
    virtual ~CopyProgress() = default;
    // A file of this many bytes (as its length said before reading) starts.
    virtual void Start(uint64_t totalBytes) = 0;
    // Bytes written so far; called after every chunk.
    virtual void BytesDone(uint64_t done) = 0;
    virtual bool IsCancelled() = 0;
};

// Large enough that the system, not the loop, sets the pace; small enough
// that a file of any size never needs more memory than a few of these.
constexpr uint32_t COPY_CHUNK = 1u << 20;
// How far reading may run ahead of writing, in chunks: enough to keep both
// busy while one of them stalls for a moment.
constexpr uint32_t COPY_CHUNKS_IN_FLIGHT = 4;

// Copies until the source reports its end; false when cancelled between
// chunks. The source is read on a thread of its own (on the calling one when
// no thread can be had) while the sink is written, and the progress told and
// asked, on the calling thread. An error from either side is thrown here,
// once reading has stopped. `buffer` holds the chunks in flight. Returns the
// bytes copied through *copied when given.
bool CopyStream(ByteSource& source, ByteSink& sink, CopyProgress& progress, std::vector<char>& buffer,
                uint64_t* copied = nullptr);

// The bar position for `done` of `total` bytes on a bar of 0 … range:
// proportional, never past the range (a file that grew while copying),
// and full for an empty file. Exact for every 64-bit size.
uint32_t ProgressPosition(uint64_t done, uint64_t total, uint32_t range);
