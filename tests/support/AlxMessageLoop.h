#pragma once

#include <functional>

// Delivery of posted messages in tests. All observer traffic is asynchronous, so a test posts,
// then delivers, then looks.
namespace AlxMessageLoop
{
    // Delivers messages until the condition holds; false when the timeout passed first.
    bool deliverUntil (const std::function<bool()>& condition, int timeoutMs = 5000);

    // Delivers everything posted so far, and what those deliveries post in turn.
    void deliverPending();
}
