#include "framework/AlxMessage.h"
#include "framework/AlxMessagePump.h"
#include "framework/AlxMessageSource.h"
#include "support/AlxRecordingSink.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
    // Notes the arrival of a plain JUCE message, as JUCE's own queued calls arrive.
    struct JuceListener : juce::MessageListener
    {
        explicit JuceListener (std::vector<std::string>& log_) : log (log_) {}
        void handleMessage (const juce::Message&) override { log.push_back ("juce"); }
        std::vector<std::string>& log;
    };

    struct AlxMessagePumpTest : ::testing::Test
    {
        void SetUp() override
        {
            AlxMessagePump::deliverPending();
            ASSERT_EQ (AlxMessage::getNumPending(), 0);
            source.addSink (&sink);
            sink.onMessage = [this] (void*, int code) { log.push_back (std::to_string (code)); };
        }

        std::vector<std::string> log;
        AlxMessageSource source;
        AlxRecordingSink sink;
    };
}

TEST_F (AlxMessagePumpTest, deliverPostedWaitsForOneOfOurMessagesThenDeliversEverythingInPostingOrder)
{
    JuceListener juce (log);
    juce.postMessage (new juce::Message());
    AlxMessagePump::deliverPosted();
    EXPECT_TRUE (log.empty());

    source.postMessage (&source, 0x105);
    // A delivery that posts again is followed within the same call.
    sink.onMessage = [this] (void*, int code)
    {
        log.push_back (std::to_string (code));

        if (code == 0x105)
            source.postMessage (&source, 0x205);
    };
    source.postMessage (&source, 0x305);
    EXPECT_EQ (AlxMessage::getNumPending(), 2);

    AlxMessagePump::deliverPosted();
    EXPECT_EQ (log, (std::vector<std::string> { "juce", std::to_string (0x105), std::to_string (0x305), std::to_string (0x205) }));
    EXPECT_EQ (AlxMessage::getNumPending(), 0);
}

TEST_F (AlxMessagePumpTest, nothingWaitsAfterASilentPostOrAMessageWhoseSourceWentAway)
{
    // Without sinks nothing is posted.
    AlxMessageSource silent;
    silent.postMessage (&silent, 0x105);
    EXPECT_EQ (AlxMessage::getNumPending(), 0);

    // A message whose sink list is gone is discarded when its turn comes.
    auto doomed = std::make_unique<AlxMessageSource>();
    doomed->addSink (&sink);
    doomed->postMessage (doomed.get(), 0x105);
    doomed.reset();
    EXPECT_EQ (AlxMessage::getNumPending(), 1);

    AlxMessagePump::deliverPosted();
    EXPECT_TRUE (log.empty());
    EXPECT_EQ (AlxMessage::getNumPending(), 0);
}
