#include "framework/AlxMessage.h"

namespace
{
    const double processStartMs = juce::Time::getMillisecondCounterHiRes();
}

std::uint32_t AlxMessage::processClockMs() noexcept
{
    return (std::uint32_t) (juce::Time::getMillisecondCounterHiRes() - processStartMs);
}
