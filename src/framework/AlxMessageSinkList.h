#pragma once

#include "framework/AlxMessageSink.h"

#include <juce_events/juce_events.h>

#include <vector>

// The registered observers of one source, and the queue endpoint their messages go through.
// Sinks are kept sorted by address, without duplicates, and are not owned. Posting is allowed
// from any thread; delivery happens on the message thread, to the sinks registered at delivery
// time, from the highest address down. The list's lock is never held while a sink runs, so a
// sink may add or remove sinks, post, or even destroy the source it is being told about.
class AlxMessageSinkList : public juce::MessageListener
{
public:
    AlxMessageSinkList() = default;
    ~AlxMessageSinkList() override = default;

    void addSink (AlxMessageSink* sink);
    void removeSink (AlxMessageSink* sink);
    bool hasSink (AlxMessageSink* sink) const;
    int getNumSinks() const;

    // Queues one message unless nobody listens: a sink registered later never sees it.
    void postMessage (void* source, int code);

    void handleMessage (const juce::Message& message) override;

private:
    std::vector<AlxMessageSink*>::iterator find (AlxMessageSink* sink);

    juce::CriticalSection lock;
    std::vector<AlxMessageSink*> sinks;

    JUCE_DECLARE_NON_COPYABLE (AlxMessageSinkList)
};
