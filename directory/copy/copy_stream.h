// The byte-moving heart of a file copy, free of the platform: a loop over
// bounded chunks that writes whatever each read returned, and the arithmetic
// that turns 64-bit byte counts into steady positions of a progress bar.
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
// that a file of any size never needs more memory than this.
constexpr uint32_t COPY_CHUNK = 1u << 20;

// Copies until the source reports its end; false when cancelled between
// chunks. Returns the bytes copied through *copied when given.
bool CopyStream(ByteSource& source, ByteSink& sink, CopyProgress& progress, std::vector<char>& buffer,
                uint64_t* copied = nullptr);

// The bar position for `done` of `total` bytes on a bar of 0 … range:
// proportional, never past the range (a file that grew while copying),
// and full for an empty file. Exact for every 64-bit size.
uint32_t ProgressPosition(uint64_t done, uint64_t total, uint32_t range);
