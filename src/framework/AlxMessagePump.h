#pragma once

// Delivery of posted messages by a thread that runs no message loop of its own but owns the JUCE
// message manager (the offline renderer between blocks, tests), as an application's loop would.
namespace AlxMessagePump
{
    // Delivers every message posted so far and everything those deliveries post in turn, until
    // the queue is quiet. Call on the thread that owns the JUCE message manager.
    void deliverPending();

    // The same when one of our messages waits, and nothing at all otherwise, for a caller that
    // delivers after every short step (a block) but only now and then has anything to deliver.
    // JUCE's own queued calls (timers, async updates) wait for the next delivery that runs.
    void deliverPosted();
}
