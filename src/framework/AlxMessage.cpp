#include "framework/AlxMessage.h"

namespace
{
    const double processStartMs = juce::Time::getMillisecondCounterHiRes();
}

std::atomic<int> AlxMessage::numPending { 0 };

AlxMessage::AlxMessage (void* source_, int code_, std::uint32_t timeMs_) noexcept
    : source (source_), code (code_), timeMs (timeMs_)
{
    numPending.fetch_add (1, std::memory_order_release);
}

AlxMessage::~AlxMessage()
{
    numPending.fetch_sub (1, std::memory_order_release);
}

std::uint32_t AlxMessage::processClockMs() noexcept
{
    return (std::uint32_t) (juce::Time::getMillisecondCounterHiRes() - processStartMs);
}
