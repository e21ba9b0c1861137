#pragma once

#include <juce_events/juce_events.h>

#include <atomic>
#include <cstdint>

// One queued notification: which object changed, how (the code), and when.
class AlxMessage : public juce::Message
{
public:
    AlxMessage (void* source_, int code_, std::uint32_t timeMs_) noexcept;
    ~AlxMessage() override;

    void* const source;
    const int code;
    const std::uint32_t timeMs;

    // Milliseconds since the process started.
    static std::uint32_t processClockMs() noexcept;

    // How many messages exist: posted and not yet delivered (or discarded), or being delivered.
    // The queue releases each one after its delivery, so zero means no notification waits.
    static int getNumPending() noexcept { return numPending.load (std::memory_order_acquire); }

private:
    static std::atomic<int> numPending;
};
