#include "midi/AlxAllocationCounter.h"
#include "midi/AlxMidiStageFixture.h"

namespace
{
    class AlxMidiStageAllocationTest : public AlxMidiStageFixture
    {
    protected:
        AlxMidiStageAllocationTest()
        {
            standInForTrigger();
            hostBuffer.ensureSize (8192);
            enable (inputGroup(), { "Keys" });
        }

        // Blocks of the two stages as the root runs them, fed as a busy session would feed them:
        // host MIDI, a device playing, notes from the trigger that end in later blocks. The
        // transport's clock moves on, but the transport itself does not run: its bar and beat
        // announcements are messages, and posting one allocates it. Answers the allocations made
        // while the stages processed.
        int allocationsIn (int blocks)
        {
            auto& root = host.getRoot();
            int allocations = 0;

            for (int i = 0; i < blocks; ++i)
            {
                hostBuffer.clear();
                hostBuffer.addEvent (juce::MidiMessage::noteOn (3, 60 + i % 12, (juce::uint8) 90), 7);
                hostBuffer.addEvent (juce::MidiMessage::noteOff (3, 60 + (i + 11) % 12), 9);
                hostBuffer.addEvent (juce::MidiMessage::midiClock(), 300);
                triggerEvents().clear();
                triggerEvents().addEvent (juce::MidiMessage::noteOn (1, 72, (juce::uint8) 100), 10);
                triggerEvents().addEvent (juce::MidiMessage::noteOff (1, 72), blockSize + 100);
                service.deliver ("Keys", juce::MidiMessage::noteOn (3, 48 + i % 12, (juce::uint8) 90));

                const juce::ScopedLock sl (host.getProcessor().getCallbackLock());
                root.getHostMidiCable().attach (&hostBuffer, false);

                {
                    AlxAllocationCounter counter;
                    input().process (blockSize);
                    output().process (blockSize);
                    allocations += counter.getCount();
                }

                root.getHostMidiCable().attach (nullptr, false);
                transport().advanceSampleCounter (blockSize);
            }

            return allocations;
        }

        juce::MidiBuffer hostBuffer;
    };
}

TEST_F (AlxMidiStageAllocationTest, steadyBlocksAllocateNothing)
{
    if (! AlxAllocationCounter::isAvailable())
        GTEST_SKIP() << "a sanitizer owns the allocator in this build";

    struct Case
    {
        const char* source;
        const char* inputChannel;
        const char* destination;
    };

    const Case cases[] {
        { "VST/AU host", "All", "VST host" },
        { "VST/AU host", "3", "Built-in synth" },
        { "Track", "All", "VST host" },
        { "Keys", "All", "Built-in synth" },
        { "Keys", "3", "Not connected" },
    };

    transport().postPlay();
    host.deliver();

    for (auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.source) + " / " + c.inputChannel + " -> " + c.destination);
        choose (*input().getDeviceParameter(), c.source);
        choose (*input().getChannelParameter(), c.inputChannel);
        choose (*output().getDeviceParameter(), c.destination);

        // The first blocks settle the changes: the reset, the All Notes Off, the device choice.
        allocationsIn (4);
        EXPECT_EQ (allocationsIn (50), 0);
    }

    // The counter does count: a block that grows a buffer beyond what was reserved allocates.
    AlxAllocationCounter counter;
    juce::MidiBuffer fresh;
    fresh.addEvent (juce::MidiMessage::midiClock(), 0);
    EXPECT_GT (counter.getCount(), 0);
}
