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

// A terminal hang-up or Ctrl-C ends the program the same way as a termination request.
TEST (AlxTerminationWatcher, turnsSigtermSighupAndSigintIntoACallOnTheMessageThreadAndPutsTheEarlierHandlerBack)
{
    for (int signalNumber : { SIGTERM, SIGHUP, SIGINT })
    {
        earlierHandlerCalls = 0;
        const auto outerHandler = std::signal (signalNumber, earlierHandler);
        int calls = 0;

        {
            AlxTerminationWatcher watcher ([&] { ++calls; });
            AlxMessageLoop::deliverPending();
            EXPECT_EQ (calls, 0);

            std::raise (signalNumber);
            EXPECT_EQ (calls, 0) << signalNumber; // the handler itself only marks the request
            EXPECT_TRUE (AlxMessageLoop::deliverUntil ([&] { return calls == 1; })) << signalNumber;

            // One request, one call.
            juce::MessageManager::getInstance()->runDispatchLoopUntil (500);
            EXPECT_EQ (calls, 1) << signalNumber;
            EXPECT_EQ (earlierHandlerCalls, 0) << signalNumber;
        }

        std::raise (signalNumber);
        EXPECT_EQ (earlierHandlerCalls, 1) << signalNumber;
        EXPECT_EQ (calls, 1) << signalNumber;
        std::signal (signalNumber, outerHandler);
    }
}
