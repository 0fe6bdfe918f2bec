// Replaced global operator new/delete that count usable block sizes while counting is on. The block
// size comes from malloc_usable_size on both sides, so a block freed while counting subtracts exactly
// what it added.
#include "AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace bench {
namespace {

std::atomic<bool> counting{false};
std::atomic<int64_t> currentBytes{0};
std::atomic<int64_t> peakBytes{0};
std::atomic<int64_t> allocationCount{0};

void NoteAllocated(void* block) {
    if (block == nullptr || !counting.load(std::memory_order_relaxed)) {
        return;
    }
    const auto size = static_cast<int64_t>(malloc_usable_size(block));
    const int64_t now = currentBytes.fetch_add(size, std::memory_order_relaxed) + size;
    int64_t peak = peakBytes.load(std::memory_order_relaxed);
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
    }
    allocationCount.fetch_add(1, std::memory_order_relaxed);
}

void NoteFreed(void* block) {
    if (block == nullptr || !counting.load(std::memory_order_relaxed)) {
        return;
    }
    currentBytes.fetch_sub(static_cast<int64_t>(malloc_usable_size(block)), std::memory_order_relaxed);
}

void* Allocate(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    NoteAllocated(block);
    return block;
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
    const auto align = static_cast<std::size_t>(alignment);
    // aligned_alloc wants a size that is a multiple of the alignment.
    const std::size_t rounded = ((size == 0 ? 1 : size) + align - 1) / align * align;
    void* block = std::aligned_alloc(align, rounded);
    NoteAllocated(block);
    return block;
}

void Free(void* block) {
    NoteFreed(block);
    std::free(block);
}

}  // namespace

void AllocationCounter::Start() {
    currentBytes = 0;
    peakBytes = 0;
    allocationCount = 0;
    counting = true;
}

AllocationFigures AllocationCounter::Stop() {
    AllocationFigures figures = Snapshot();
    counting = false;
    return figures;
}

AllocationFigures AllocationCounter::Snapshot() {
    return {currentBytes.load(), peakBytes.load(), allocationCount.load()};
}

}  // namespace bench

void* operator new(std::size_t size) {
    void* block = bench::Allocate(size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return bench::Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return bench::Allocate(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    void* block = bench::AllocateAligned(size, alignment);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return operator new(size, alignment);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return bench::AllocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return bench::AllocateAligned(size, alignment);
}

void operator delete(void* block) noexcept {
    bench::Free(block);
}
void operator delete[](void* block) noexcept {
    bench::Free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    bench::Free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    bench::Free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    bench::Free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    bench::Free(block);
}
void operator delete(void* block, std::align_val_t) noexcept {
    bench::Free(block);
}
void operator delete[](void* block, std::align_val_t) noexcept {
    bench::Free(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
    bench::Free(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
    bench::Free(block);
}
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    bench::Free(block);
}
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    bench::Free(block);
}
