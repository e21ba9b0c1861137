#pragma once

#include <cstddef>

// Counts the heap allocations (malloc, calloc and realloc; operator new and JUCE's heap blocks go
// through them) made on the calling thread while it exists, and keeps the largest size asked
// for. Builds with a sanitizer bring their own allocator; there the counter is not available.
class AlxAllocationCounter
{
public:
    AlxAllocationCounter();
    ~AlxAllocationCounter();

    static bool isAvailable();
    int getCount() const { return count; }
    size_t getLargest() const { return largest; }

    // Called by the allocation functions for every block asked for on this thread.
    static void noteAllocation (size_t bytes);

private:
    int count = 0;
    size_t largest = 0;
    AlxAllocationCounter* previous;

    AlxAllocationCounter (const AlxAllocationCounter&) = delete;
    AlxAllocationCounter& operator= (const AlxAllocationCounter&) = delete;
};
