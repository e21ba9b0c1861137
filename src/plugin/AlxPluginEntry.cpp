#include "core/AlxPlimsarFilter.h"
#include "framework/AlxMessagePump.h"

namespace
{
    // Waits until the message thread has delivered everything posted so far. The tree announces
    // its loaded state through posted messages, and some of them (the MIDI input and output
    // choices) make the modules drop held notes; delivered in the middle of the host's first
    // blocks, they would lose the chord the host just sent. A message thread that does not run
    // is waited for a short while only.
    void deliverPostedMessages()
    {
        auto* messages = juce::MessageManager::getInstance();

        if (messages->isThisTheMessageThread())
        {
            AlxMessagePump::deliverPending();
            return;
        }

        auto delivered = std::make_shared<juce::WaitableEvent>();
        juce::MessageManager::callAsync ([delivered] { delivered->signal(); });
        delivered->wait (2000);
    }
}

// The plug-in wrappers create the processor through this function.
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    auto* filter = new AlxPlimsarFilter();
    filter->initialise();
    deliverPostedMessages();
    return filter;
}
