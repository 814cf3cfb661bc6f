#include "support/failing_allocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace lumbra::test {
namespace {

std::atomic<uint64_t> allocations{0};
// Allocations still let through before the one that fails; negative when none is to fail.
std::atomic<int64_t> untilFailure{-1};
std::atomic<bool> failed{false};

void* Allocate(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (untilFailure.load(std::memory_order_relaxed) >= 0 && untilFailure.fetch_sub(1) == 0) {
        failed = true;
        return nullptr;
    }
    return std::malloc(size == 0 ? 1 : size);
}

}  // namespace

uint64_t AllocationCount() { return allocations.load(); }

void FailAllocationAfter(uint64_t successes) {
    failed = false;
    untilFailure = static_cast<int64_t>(successes);
}

bool AllocationFailed() { return failed.load(); }

void StopFailingAllocations() { untilFailure = -1; }

}  // namespace lumbra::test

// Every form that allocates goes through Allocate and every form that frees through free, so
// that memory never passes between this pair and another one.
void* operator new(std::size_t size) {
    if (void* block = lumbra::test::Allocate(size)) return block;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return lumbra::test::Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return lumbra::test::Allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
