#include "midi/AlxAllocationCounter.h"

#include <algorithm>

namespace
{
    // Constant-initialised, so reading it from inside malloc never allocates.
    thread_local AlxAllocationCounter* threadCounter = nullptr;
}

AlxAllocationCounter::AlxAllocationCounter() : previous (threadCounter)
{
    threadCounter = this;
}

AlxAllocationCounter::~AlxAllocationCounter()
{
    threadCounter = previous;
}

void AlxAllocationCounter::noteAllocation (size_t bytes)
{
    if (auto* counter = threadCounter)
    {
        ++counter->count;
        counter->largest = std::max (counter->largest, bytes);
    }
}

// gcc names the sanitizers by macros, clang (before version 17) only through __has_feature.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
 #define ALX_SANITIZER_ALLOCATOR 1
#elif defined(__has_feature)
 #if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
  #define ALX_SANITIZER_ALLOCATOR 1
 #endif
#endif

#ifdef ALX_SANITIZER_ALLOCATOR

bool AlxAllocationCounter::isAvailable() { return false; }

#else

bool AlxAllocationCounter::isAvailable() { return true; }

// The C library's allocator under its internal names; these definitions take the place of the
// public ones for the whole test program and only add the count.
extern "C"
{
    void* __libc_malloc (size_t size);
    void* __libc_calloc (size_t count, size_t size);
    void* __libc_realloc (void* block, size_t size);

    void* malloc (size_t size) noexcept
    {
        AlxAllocationCounter::noteAllocation (size);
        return __libc_malloc (size);
    }

    void* calloc (size_t count, size_t size) noexcept
    {
        AlxAllocationCounter::noteAllocation (count * size);
        return __libc_calloc (count, size);
    }

    void* realloc (void* block, size_t size) noexcept
    {
        AlxAllocationCounter::noteAllocation (size);
        return __libc_realloc (block, size);
    }
}

#endif
