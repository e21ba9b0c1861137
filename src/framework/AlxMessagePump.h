#pragma once

// Delivery of posted messages by a thread that runs no message loop of its own but owns the JUCE
// message manager (the offline renderer between blocks, tests), as an application's loop would.
namespace AlxMessagePump
{
    // Delivers every message posted so far and everything those deliveries post in turn, until
    // the queue is quiet. Call on the thread that owns the JUCE message manager.
    void deliverPending();
}
