// Memory in the operating system's large pages. On the virtual machines the program runs on,
// the first touch of every 4 KB page costs tens of microseconds (measured: 96 MB touched page
// by page took 450 to 790 ms, in 2 MB pages 15 to 75 ms), so a 600-dpi sheet of 134 MB spent
// most of its composition in the kernel. Large rasters, file buffers and the heap of the
// design's records therefore ask for 2 MB pages where the system gives them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace vlr {

inline constexpr size_t kLargePageBytes = size_t{2} << 20;

// A block of at least bytes bytes, aligned to 64, its content undefined; blocks of a large page
// and more are mapped on their own and advised for large pages. Null when the memory cannot be
// had (also for 0 bytes).
void* AllocateLarge(size_t bytes);
// Gives back a block of AllocateLarge; bytes is the size it was asked for.
void ReleaseLarge(void* block, size_t bytes);

// A block of AllocateLarge owned by its holder.
class LargeBuffer {
public:
    LargeBuffer() = default;
    // Null when the memory cannot be had.
    explicit LargeBuffer(size_t bytes);
    ~LargeBuffer();
    LargeBuffer(LargeBuffer&& other) noexcept;
    LargeBuffer& operator=(LargeBuffer&& other) noexcept;
    LargeBuffer(const LargeBuffer&) = delete;
    LargeBuffer& operator=(const LargeBuffer&) = delete;

    uint8_t* data() const { return data_; }
    size_t size() const { return size_; }
    bool isNull() const { return data_ == nullptr; }

private:
    uint8_t* data_ = nullptr;
    size_t size_ = 0;
};

// Once at program start, before the design's records are made: the heap grows in steps of
// many megabytes that are advised for large pages, and keeps what it has grown to rather than
// shrinking and growing again page by page. Does nothing where the allocator is not the
// system's own (the sanitizers').
void UseLargePagesForTheHeap();

} // namespace vlr
