// The one response to exhausted memory: a line on standard output and exit status 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

[[noreturn]] void StopOutOfMemory();

// malloc, or the stop when it fails. Never returns null.
void* AllocateOrStop(size_t count, size_t size);

// Allocator for the standard containers the argument set keeps, so that they never throw.
template <typename T>
struct CStopAllocator
{
    using value_type = T;

    CStopAllocator() = default;
    template <typename U>
    CStopAllocator(const CStopAllocator<U>&) {}

    T* allocate(size_t n) { return static_cast<T*>(AllocateOrStop(n, sizeof(T))); }
    void deallocate(T* p, size_t) { std::free(p); }

    template <typename U>
    bool operator==(const CStopAllocator<U>&) const { return true; }
    template <typename U>
    bool operator!=(const CStopAllocator<U>&) const { return false; }
};
