#include "support/AlxMessageLoop.h"

#include <juce_events/juce_events.h>

namespace
{
    // Messages are delivered in posting order, so once a marker posted after them arrives,
    // everything before it has been delivered.
    struct Marker : juce::MessageListener
    {
        void handleMessage (const juce::Message&) override { ++received; }
        int received = 0;
    };

    // Chains of re-posting (domain -> parameter -> link -> observer) are a few levels deep.
    constexpr int markerRounds = 8;
}

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
        Marker marker;

        for (int round = 1; round <= markerRounds; ++round)
        {
            marker.postMessage (new juce::Message());
            deliverUntil ([&] { return marker.received >= round; });
        }
    }
}
