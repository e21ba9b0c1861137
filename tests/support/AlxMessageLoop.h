#pragma once

#include <functional>

// Delivery of posted messages in tests. All observer traffic is asynchronous, so a test posts,
// then delivers, then looks.
namespace AlxMessageLoop
{
    // Delivers messages until the condition holds; false when the timeout passed first. The
    // timeout only bounds a failing test: on a loaded machine (or under the sanitizers) a
    // condition that holds can take many times longer than on a quiet one.
    bool deliverUntil (const std::function<bool()>& condition, int timeoutMs = 30000);

    // Delivers everything posted so far, and what those deliveries post in turn.
    void deliverPending();
}
