#include "OutOfMemory.h"

#include <cstdio>

void StopOutOfMemory()
{
    std::puts("out of memory\n");
    std::exit(1);
}

void* AllocateOrStop(size_t count, size_t size)
{
    if (size != 0 && count > SIZE_MAX / size)
        StopOutOfMemory();
    void* p = std::malloc(count * size != 0 ? count * size : 1);
    if (p == nullptr)
        StopOutOfMemory();
    return p;
}
