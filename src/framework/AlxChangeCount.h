#pragma once

#include <atomic>
#include <cstdint>

// Counts the changes that can alter what a setting reads as: a parameter's value or modulation
// source, where a link points (program switches), a domain's values or their texts. The audio
// thread keeps what it read from its settings (AlxBlockCache) from block to block while the count
// stays put, instead of taking every setting's locks again for every block. One count serves the
// whole process: a change anywhere only makes readers resolve again, never keeps them from it.
class AlxChangeCount
{
public:
    // Call after the change is stored: a reader that sees the new count sees the change.
    static void bump() { count.fetch_add (1, std::memory_order_acq_rel); }
    // Read before resolving: a change made while resolving counts as one after it.
    static std::uint64_t current() { return count.load (std::memory_order_acquire); }

private:
    static inline std::atomic<std::uint64_t> count { 0 };
};
