#include "framework/AlxMessage.h"
#include "framework/AlxMessageSource.h"
#include "support/AlxMessageLoop.h"
#include "support/AlxRecordingSink.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <memory>
#include <thread>

namespace
{
    // A sink that runs an action when a message reaches it, then records the call.
    struct ActingSink : AlxMessageSink
    {
        std::function<void()> action;
        int calls = 0;

        void handleMessage (void*, int, std::uint32_t) override
        {
            ++calls;

            if (action)
                action();
        }
    };
}

TEST (AlxMessageSinkList, deliversToEverySinkRegisteredAtDeliveryFromTheHighestAddressDown)
{
    AlxMessageSource source;
    std::array<ActingSink, 4> sinks;
    std::vector<AlxMessageSink*> order;

    for (auto& s : sinks)
    {
        s.action = [&order, &s] { order.push_back (&s); };
        source.addSink (&s);
    }

    source.postMessage (&source, 0x105);
    AlxMessageLoop::deliverPending();

    ASSERT_EQ (order.size(), sinks.size());
    for (size_t i = 1; i < order.size(); ++i)
        EXPECT_GT (order[i - 1], order[i]);
}

TEST (AlxMessageSinkList, carriesSourceCodeAndProcessTime)
{
    AlxMessageSource source;
    int subject = 0;
    AlxRecordingSink sink;
    source.addSink (&sink);

    const auto before = AlxMessage::processClockMs();
    source.postMessage (&subject, AlxMessageCode::make (33, 1));
    AlxMessageLoop::deliverPending();

    ASSERT_EQ (sink.records.size(), 1u);
    EXPECT_EQ (sink.records[0].source, &subject);
    EXPECT_EQ (sink.records[0].kind(), 33);
    EXPECT_EQ (sink.records[0].reason(), 1);
    EXPECT_GE (AlxMessage::processClockMs(), before);
}

TEST (AlxMessageSinkList, aSourceWithoutSinksPostsNothingThatALaterSinkCouldSee)
{
    AlxMessageSource source;
    source.postMessage (&source, 0x105);

    AlxRecordingSink late;
    source.addSink (&late);
    AlxMessageLoop::deliverPending();

    EXPECT_TRUE (late.records.empty());
}

TEST (AlxMessageSinkList, aSinkRemovedBeforeDeliveryIsNotCalled)
{
    AlxMessageSource source;
    AlxRecordingSink stays, leaves;
    source.addSink (&stays);
    source.addSink (&leaves);

    source.postMessage (&source, 0x105);
    source.removeSink (&leaves);
    AlxMessageLoop::deliverPending();

    EXPECT_EQ (stays.records.size(), 1u);
    EXPECT_TRUE (leaves.records.empty());
}

TEST (AlxMessageSinkList, registeringTwiceAndRemovingOnceLeavesTheSinkUnregistered)
{
    AlxMessageSource source;
    AlxRecordingSink sink;
    source.addSink (&sink);
    source.addSink (&sink);
    source.addSink (nullptr);
    EXPECT_EQ (source.getNumSinks(), 1);

    source.removeSink (&sink);
    EXPECT_EQ (source.getNumSinks(), 0);

    AlxRecordingSink stranger;
    source.removeSink (&stranger);
    EXPECT_EQ (source.getNumSinks(), 0);
}

TEST (AlxMessageSinkList, sinksMayRemoveThemselvesOrOthersDuringDeliveryWithoutDoubleCalls)
{
    for (int victim = 0; victim < 4; ++victim)
    {
        for (int remover = 0; remover < 4; ++remover)
        {
            AlxMessageSource source;
            std::array<ActingSink, 4> sinks;
            for (auto& s : sinks)
                source.addSink (&s);

            sinks[(size_t) remover].action = [&] { source.removeSink (&sinks[(size_t) victim]); };
            source.postMessage (&source, 0x105);
            AlxMessageLoop::deliverPending();

            for (size_t i = 0; i < sinks.size(); ++i)
            {
                // Delivery runs from the highest address down: a victim above the remover was
                // already called; one below it (or the remover itself) is skipped or was called.
                const bool victimCalledFirst = &sinks[(size_t) victim] > &sinks[(size_t) remover];
                const int expected = ((int) i == victim && victim != remover && ! victimCalledFirst) ? 0 : 1;
                EXPECT_EQ (sinks[i].calls, expected) << "victim " << victim << " remover " << remover << " sink " << i;
            }
        }
    }
}

TEST (AlxMessageSinkList, aSinkAddedDuringDeliveryDoesNotDisturbTheRest)
{
    AlxMessageSource source;
    std::array<ActingSink, 3> sinks;
    ActingSink added;
    source.addSink (&sinks[0]);
    source.addSink (&sinks[2]);
    sinks[2].action = [&] { source.addSink (&added); source.addSink (&sinks[1]); };

    source.postMessage (&source, 0x105);
    AlxMessageLoop::deliverPending();

    EXPECT_EQ (sinks[0].calls, 1);
    EXPECT_EQ (sinks[2].calls, 1);
    EXPECT_LE (sinks[1].calls, 1);
    EXPECT_LE (added.calls, 1);
}

TEST (AlxMessageSinkList, messagesArriveInPostingOrderAndEachReachesAllSinksFirst)
{
    AlxMessageSource source;
    std::vector<int> seen;
    ActingSink a, b;
    AlxRecordingSink recorder;
    source.addSink (&recorder);
    recorder.onMessage = [&] (void*, int code) { seen.push_back (code); };

    for (int code = 1; code <= 50; ++code)
        source.postMessage (&source, code);

    AlxMessageLoop::deliverPending();

    ASSERT_EQ (seen.size(), 50u);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ (seen[(size_t) i], i + 1);
}

TEST (AlxMessageSinkList, destroyingASourceWithPendingMessagesDeliversNothing)
{
    AlxRecordingSink sink;
    {
        auto source = std::make_unique<AlxMessageSource>();
        source->addSink (&sink);
        source->postMessage (source.get(), 0x105);
    }

    AlxMessageLoop::deliverPending();
    EXPECT_TRUE (sink.records.empty());
}

TEST (AlxMessageSinkList, aSinkMayDestroyTheSourceWhileBeingToldAboutIt)
{
    auto source = std::make_unique<AlxMessageSource>();
    ActingSink destroyer, other;
    source->addSink (&destroyer);
    source->addSink (&other);
    destroyer.action = [&] { source.reset(); };
    other.action = [&] { source.reset(); };

    source->postMessage (source.get(), 0x105);
    source->postMessage (source.get(), 0x105);
    AlxMessageLoop::deliverPending();

    EXPECT_EQ (source, nullptr);
    EXPECT_EQ (destroyer.calls + other.calls, 1);
}

// Several threads post while the message thread keeps adding and removing sinks; every message
// posted while a permanent sink is registered reaches it exactly once.
TEST (AlxMessageSinkList, concurrentPostingWhileSinksComeAndGo)
{
    AlxMessageSource source;
    AlxRecordingSink permanent;
    source.addSink (&permanent);

    constexpr int threads = 4, postsPerThread = 2000;
    std::atomic<int> running { threads };
    std::vector<std::thread> posters;

    for (int t = 0; t < threads; ++t)
        posters.emplace_back ([&source, &running, t]
        {
            for (int i = 0; i < postsPerThread; ++i)
                source.postMessage (&source, AlxMessageCode::make (40 + t, 5));

            --running;
        });

    std::array<ActingSink, 8> transient;
    int round = 0;

    while (running > 0)
    {
        auto& s = transient[(size_t) (round++ % (int) transient.size())];

        if (source.hasSink (&s))
            source.removeSink (&s);
        else
            source.addSink (&s);

        juce::MessageManager::getInstance()->runDispatchLoopUntil (1);
    }

    for (auto& p : posters)
        p.join();

    for (auto& s : transient)
        source.removeSink (&s);

    AlxMessageLoop::deliverUntil ([&] { return permanent.records.size() >= (size_t) (threads * postsPerThread); });
    AlxMessageLoop::deliverPending();

    EXPECT_EQ (permanent.records.size(), (size_t) (threads * postsPerThread));
    for (int t = 0; t < threads; ++t)
        EXPECT_EQ (permanent.countKind (40 + t), postsPerThread);
}
