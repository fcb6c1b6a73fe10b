// Large pages on Linux: anonymous mappings advised with madvise, and the C library's heap
// grown ahead and advised the same way.
#include "platform/largepages.h"

#include <cstdlib>
#include <iterator>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#define VLR_OWN_ALLOCATOR 0 // the sanitizer's allocator must see every block to check it
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VLR_OWN_ALLOCATOR 0
#else
#define VLR_OWN_ALLOCATOR 1
#endif
#else
#define VLR_OWN_ALLOCATOR 1
#endif

namespace vlr {

namespace {

constexpr size_t kAlignment = 64;

size_t RoundUp(size_t value, size_t step) {
    return (value + step - 1) / step * step;
}

bool Mapped(size_t bytes) {
    return VLR_OWN_ALLOCATOR && bytes >= kLargePageBytes;
}

} // namespace

void* AllocateLarge(size_t bytes) {
    if (bytes == 0 || bytes > SIZE_MAX - 2 * kLargePageBytes) {
        return nullptr;
    }
    if (!Mapped(bytes)) {
        return std::aligned_alloc(kAlignment, RoundUp(bytes, kAlignment));
    }
    // Mapped with a large page to spare, then cut to whole large pages on large-page bounds,
    // so that every page of the block can be a large one.
    const size_t length = RoundUp(bytes, kLargePageBytes);
    const size_t mapped = length + kLargePageBytes;
    void* area = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED) {
        return nullptr;
    }
    const auto start = reinterpret_cast<uintptr_t>(area);
    const uintptr_t aligned = RoundUp(start, kLargePageBytes);
    if (aligned > start) {
        ::munmap(area, aligned - start);
    }
    const uintptr_t end = start + mapped, blockEnd = aligned + length;
    if (end > blockEnd) {
        ::munmap(reinterpret_cast<void*>(blockEnd), end - blockEnd);
    }
    auto* block = reinterpret_cast<void*>(aligned);
    ::madvise(block, length, MADV_HUGEPAGE); // a hint: without it the block has small pages
    return block;
}

void ReleaseLarge(void* block, size_t bytes) {
    if (block == nullptr) {
        return;
    }
    if (Mapped(bytes)) {
        ::munmap(block, RoundUp(bytes, kLargePageBytes));
    } else {
        std::free(block);
    }
}

LargeBuffer::LargeBuffer(size_t bytes) : data_(static_cast<uint8_t*>(AllocateLarge(bytes))) {
    size_ = data_ ? bytes : 0;
}

LargeBuffer::~LargeBuffer() {
    ReleaseLarge(data_, size_);
}

LargeBuffer::LargeBuffer(LargeBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

LargeBuffer& LargeBuffer::operator=(LargeBuffer&& other) noexcept {
    if (this != &other) {
        ReleaseLarge(data_, size_);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

void UseLargePagesForTheHeap() {
    if (!VLR_OWN_ALLOCATOR) {
        return;
    }
    // The heap is grown once by this much address space (only what is touched takes memory) and
    // kept: a design of 100,000 items takes about 100 MB.
    constexpr size_t kReserve = size_t{256} << 20;
    constexpr size_t kDefaultTopPad = size_t{128} << 10;
    // Blocks below 32 MB come from the heap, larger ones are mapped on their own.
    constexpr int kMapThreshold = 32 << 20;
    if (mallopt(M_TOP_PAD, int(kReserve)) == 0) {
        return;
    }
    mallopt(M_TRIM_THRESHOLD, int(kReserve + kReserve / 4));
    mallopt(M_MMAP_THRESHOLD, kMapThreshold);
    // Small blocks until the heap has to grow, which it then does by the reserve.
    const auto before = reinterpret_cast<uintptr_t>(::sbrk(0));
    void* probes[16] = {};
    size_t taken = 0;
    while (taken < std::size(probes) && reinterpret_cast<uintptr_t>(::sbrk(0)) == before) {
        probes[taken++] = std::malloc(64 << 10);
    }
    const auto after = reinterpret_cast<uintptr_t>(::sbrk(0));
    for (size_t i = 0; i < taken; ++i) {
        std::free(probes[i]);
    }
    mallopt(M_TOP_PAD, int(kDefaultTopPad));
    if (before == uintptr_t(-1) || after <= before + kLargePageBytes) {
        return; // the heap does not grow by the program break here
    }
    const uintptr_t from = RoundUp(before, kLargePageBytes);
    const uintptr_t to = after / kLargePageBytes * kLargePageBytes;
    if (to > from) {
        ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
    }
}

} // namespace vlr
