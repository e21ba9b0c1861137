#include "framework/AlxMessagePump.h"

#include "framework/AlxMessage.h"

#include <juce_events/juce_events.h>

namespace
{
    // Messages are delivered in posting order: once a marker posted behind them arrives, all
    // that came before it has been delivered.
    struct Marker : juce::MessageListener
    {
        void handleMessage (const juce::Message&) override { arrived = true; }
        bool arrived = false;
    };
}

void AlxMessagePump::deliverPending()
{
    auto* messageManager = juce::MessageManager::getInstance();

    // With the marker queued, every call dispatches without waiting: one message where the
    // system queue hands them out singly, or (Linux) the whole queue, including what its
    // deliveries post meanwhile. Either way a round whose marker arrived with the first call has
    // left nothing behind; any other round may have posted more, so another round follows.
    for (int calls = 2; calls > 1;)
    {
        Marker marker;
        marker.postMessage (new juce::Message());

        for (calls = 0; ! marker.arrived; ++calls)
            messageManager->runDispatchLoopUntil (0);
    }
}

void AlxMessagePump::deliverPosted()
{
    // Delivering costs a marker's allocation and a trip through the system queue; most steps
    // post nothing.
    if (AlxMessage::getNumPending() > 0)
        deliverPending();
}
