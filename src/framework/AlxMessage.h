#pragma once

#include <juce_events/juce_events.h>

#include <cstdint>

// One queued notification: which object changed, how (the code), and when.
class AlxMessage : public juce::Message
{
public:
    AlxMessage (void* source_, int code_, std::uint32_t timeMs_) noexcept
        : source (source_), code (code_), timeMs (timeMs_) {}

    void* const source;
    const int code;
    const std::uint32_t timeMs;

    // Milliseconds since the process started.
    static std::uint32_t processClockMs() noexcept;
};
