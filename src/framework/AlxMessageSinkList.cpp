#include "framework/AlxMessageSinkList.h"

#include "framework/AlxMessage.h"

#include <algorithm>
#include <functional>

std::vector<AlxMessageSink*>::iterator AlxMessageSinkList::find (AlxMessageSink* sink)
{
    return std::lower_bound (sinks.begin(), sinks.end(), sink, std::less<AlxMessageSink*>());
}

void AlxMessageSinkList::addSink (AlxMessageSink* sink)
{
    if (sink == nullptr)
        return;

    const juce::ScopedLock sl (lock);
    auto it = find (sink);

    if (it == sinks.end() || *it != sink)
        sinks.insert (it, sink);
}

void AlxMessageSinkList::removeSink (AlxMessageSink* sink)
{
    const juce::ScopedLock sl (lock);
    auto it = find (sink);

    if (it != sinks.end() && *it == sink)
    {
        sinks.erase (it);
        sinks.shrink_to_fit();
    }
}

bool AlxMessageSinkList::hasSink (AlxMessageSink* sink) const
{
    const juce::ScopedLock sl (lock);
    return std::binary_search (sinks.begin(), sinks.end(), sink, std::less<AlxMessageSink*>());
}

int AlxMessageSinkList::getNumSinks() const
{
    const juce::ScopedLock sl (lock);
    return (int) sinks.size();
}

void AlxMessageSinkList::postMessage (void* source, int code)
{
    // The lock also serialises juce::MessageListener::postMessage, whose weak reference to
    // this list is created lazily and must not be created by two threads at once.
    const juce::ScopedLock sl (lock);

    if (sinks.empty())
        return;

    juce::MessageListener::postMessage (new AlxMessage (source, code, AlxMessage::processClockMs()));
}

void AlxMessageSinkList::handleMessage (const juce::Message& message)
{
    auto* m = dynamic_cast<const AlxMessage*> (&message);

    if (m == nullptr)
        return;

    // A sink may destroy the source (and with it this list) while it runs.
    const juce::WeakReference<juce::MessageListener> self (this);

    // After each call the next recipient is the registered sink just below the one called, found
    // again by address: sinks added or removed meanwhile (the called one included) neither shift
    // the walk onto a sink twice nor make it skip one.
    lock.enter();
    AlxMessageSink* sink = sinks.empty() ? nullptr : sinks.back();

    while (sink != nullptr)
    {
        lock.exit();
        sink->handleMessage (m->source, m->code, m->timeMs);

        if (self == nullptr)
            return;

        lock.enter();
        auto next = find (sink);
        sink = next == sinks.begin() ? nullptr : *(next - 1);
    }

    lock.exit();
}
