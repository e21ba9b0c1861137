#pragma once

// The render's message thread is the thread that processes: between blocks it delivers what the
// processor posted, as the standalone application's message loop would.
namespace AlxRenderMessagePump
{
    // Delivers every message posted so far and everything those deliveries post in turn, until
    // the queue is quiet. Call on the thread that owns the JUCE message manager.
    void deliverPending();
}
