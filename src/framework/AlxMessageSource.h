#pragma once

#include "framework/AlxMessageSinkList.h"

// Base of every observable object. Observers register here; the object announces its changes
// with postMessage, which queues them for delivery on the message thread.
class AlxMessageSource
{
public:
    AlxMessageSource() = default;
    virtual ~AlxMessageSource() = default;

    void addSink (AlxMessageSink* sink) { sinkList.addSink (sink); }
    void removeSink (AlxMessageSink* sink) { sinkList.removeSink (sink); }
    bool hasSink (AlxMessageSink* sink) const { return sinkList.hasSink (sink); }
    int getNumSinks() const { return sinkList.getNumSinks(); }
    void postMessage (void* source, int code) { sinkList.postMessage (source, code); }

private:
    AlxMessageSinkList sinkList;

    JUCE_DECLARE_NON_COPYABLE (AlxMessageSource)
};
