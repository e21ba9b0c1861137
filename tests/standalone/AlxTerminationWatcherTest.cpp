#include "standalone/AlxTerminationWatcher.h"

#include "support/AlxMessageLoop.h"

#include <gtest/gtest.h>

namespace
{
    volatile std::sig_atomic_t earlierHandlerCalls = 0;

    extern "C" void earlierHandler (int)
    {
        earlierHandlerCalls = earlierHandlerCalls + 1;
    }
}

TEST (AlxTerminationWatcher, turnsSigtermIntoACallOnTheMessageThreadAndPutsTheEarlierHandlerBack)
{
    const auto outerHandler = std::signal (SIGTERM, earlierHandler);
    int calls = 0;

    {
        AlxTerminationWatcher watcher ([&] { ++calls; });
        AlxMessageLoop::deliverPending();
        EXPECT_EQ (calls, 0);

        std::raise (SIGTERM);
        EXPECT_EQ (calls, 0); // the handler itself only marks the request
        EXPECT_TRUE (AlxMessageLoop::deliverUntil ([&] { return calls == 1; }));

        // One request, one call.
        juce::MessageManager::getInstance()->runDispatchLoopUntil (500);
        EXPECT_EQ (calls, 1);
        EXPECT_EQ (earlierHandlerCalls, 0);
    }

    std::raise (SIGTERM);
    EXPECT_EQ (earlierHandlerCalls, 1);
    EXPECT_EQ (calls, 1);
    std::signal (SIGTERM, outerHandler);
}
