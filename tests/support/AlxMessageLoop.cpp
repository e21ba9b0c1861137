#include "support/AlxMessageLoop.h"

#include "framework/AlxMessagePump.h"

#include <juce_events/juce_events.h>

namespace AlxMessageLoop
{
    bool deliverUntil (const std::function<bool()>& condition, int timeoutMs)
    {
        auto* mm = juce::MessageManager::getInstance();
        const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

        while (! condition())
        {
            if (juce::Time::getMillisecondCounter() >= end)
                return false;

            // Dispatches one message, or waits a millisecond when none is pending.
            mm->runDispatchLoopUntil (0);
        }

        return true;
    }

    void deliverPending()
    {
        AlxMessagePump::deliverPending();
    }
}
