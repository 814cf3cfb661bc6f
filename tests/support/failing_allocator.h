#pragma once
// Allocation through operator new that fails on demand, as on a machine out of memory: the
// failing allocation throws std::bad_alloc. A test program that calls these functions gets
// this file's operator new and delete (plain malloc and free otherwise).
#include <cstdint>

namespace lumbra::test {

// Allocations made through operator new since the program started.
uint64_t AllocationCount();

// Lets `successes` more allocations through and makes the next one fail; only that one fails.
void FailAllocationAfter(uint64_t successes);

// True once the failure asked for has happened.
bool AllocationFailed();

// Cancels a failure that has not happened yet.
void StopFailingAllocations();

}  // namespace lumbra::test
