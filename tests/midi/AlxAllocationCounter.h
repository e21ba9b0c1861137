#pragma once

// Counts the heap allocations (malloc, calloc and realloc; operator new and JUCE's heap blocks go
// through them) made on the calling thread while it exists. Builds with a sanitizer bring their
// own allocator; there the counter is not available.
class AlxAllocationCounter
{
public:
    AlxAllocationCounter();
    ~AlxAllocationCounter();

    static bool isAvailable();
    int getCount() const { return count; }

private:
    int count = 0;
    int* previous;

    AlxAllocationCounter (const AlxAllocationCounter&) = delete;
    AlxAllocationCounter& operator= (const AlxAllocationCounter&) = delete;
};
