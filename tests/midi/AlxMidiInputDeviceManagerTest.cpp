#include "midi/AlxMidiInputDeviceManager.h"
#include "support/AlxMemoryMidiDeviceService.h"

#include <gtest/gtest.h>

namespace
{
    struct RecordingCallback : juce::MidiInputCallback
    {
        void handleIncomingMidiMessage (juce::MidiInput* source, const juce::MidiMessage& message) override
        {
            const std::lock_guard<std::mutex> sl (lock);
            messages.push_back (message);
            sources.push_back (source);
        }

        std::vector<juce::MidiMessage> take()
        {
            const std::lock_guard<std::mutex> sl (lock);
            sources.clear();
            return std::exchange (messages, {});
        }

        std::mutex lock;
        std::vector<juce::MidiMessage> messages;
        std::vector<juce::MidiInput*> sources;
    };

    std::vector<juce::uint8> bytesOf (const juce::MidiMessage& m)
    {
        return { m.getRawData(), m.getRawData() + m.getRawDataSize() };
    }

    const auto noteOn = juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100);

    class AlxMidiInputDeviceManagerTest : public testing::Test
    {
    protected:
        AlxMidiInputDeviceManagerTest()
        {
            service.addInput ("A");
            service.addInput ("B");
            manager.addCallback (&callback);
            manager.setEnabled ("A", true);
            manager.setEnabled ("B", true);
        }

        AlxMemoryMidiDeviceService service;
        AlxMidiInputDeviceManager manager { service };
        RecordingCallback callback;
    };
}

TEST_F (AlxMidiInputDeviceManagerTest, onlyTheCurrentInputReachesTheCallbacks)
{
    EXPECT_EQ (manager.getCurrentInputName(), "");
    EXPECT_EQ (service.deliver ("A", noteOn), 1);
    EXPECT_TRUE (callback.take().empty());

    manager.setCurrentInput ("B");
    EXPECT_EQ (manager.getCurrentInputName(), "B");
    service.deliver ("A", noteOn);
    EXPECT_TRUE (callback.take().empty());

    service.deliver ("B", noteOn);
    const auto received = callback.take();
    ASSERT_EQ (received.size(), 1u);
    EXPECT_EQ (bytesOf (received[0]), bytesOf (noteOn));

    // A name no enabled input carries leaves no input current.
    manager.setCurrentInput ("C");
    EXPECT_EQ (manager.getCurrentInputName(), "");
    service.deliver ("B", noteOn);
    EXPECT_TRUE (callback.take().empty());
}

TEST_F (AlxMidiInputDeviceManagerTest, activeSensingIsDroppedAndEverythingElsePasses)
{
    const juce::uint8 sysexData[] = { 0x7D, 0x01, 0x02 };
    const juce::MidiMessage sent[] = {
        juce::MidiMessage::noteOn (3, 64, (juce::uint8) 90),
        juce::MidiMessage (0xFE),
        juce::MidiMessage::midiClock(),
        juce::MidiMessage::midiStart(),
        juce::MidiMessage::songPositionPointer (16),
        juce::MidiMessage::createSysExMessage (sysexData, 3),
        juce::MidiMessage::controllerEvent (1, 7, 99),
        juce::MidiMessage (0xFE),
        juce::MidiMessage::noteOff (3, 64),
    };

    manager.setCurrentInput ("A");

    for (auto& message : sent)
        service.deliver ("A", message);

    std::vector<std::vector<juce::uint8>> expected;

    for (auto& message : sent)
        if (! message.isActiveSense())
            expected.push_back (bytesOf (message));

    const auto received = callback.take();
    std::vector<std::vector<juce::uint8>> receivedBytes;

    for (auto& message : received)
    {
        receivedBytes.push_back (bytesOf (message));
        EXPECT_GT (message.getTimeStamp(), 0.0) << "the arrival time is passed on";
    }

    EXPECT_EQ (receivedBytes, expected);
}

TEST_F (AlxMidiInputDeviceManagerTest, aCurrentInputThatIsDisabledFallsSilent)
{
    manager.setCurrentInput ("A");
    manager.setEnabled ("A", false);

    EXPECT_EQ (manager.getCurrentInputName(), "");
    EXPECT_EQ (service.deliver ("A", noteOn), 0);

    // Enabled again it is open but not current until the input module selects it.
    manager.setEnabled ("A", true);
    EXPECT_EQ (service.deliver ("A", noteOn), 1);
    EXPECT_TRUE (callback.take().empty());

    manager.setCurrentInput ("A");
    service.deliver ("A", noteOn);
    EXPECT_EQ (callback.take().size(), 1u);
}

TEST_F (AlxMidiInputDeviceManagerTest, aCurrentInputThatDisappearsFallsSilent)
{
    manager.setCurrentInput ("A");
    service.removeInput ("A");

    EXPECT_EQ (service.deliver ("A", noteOn), 0);
    EXPECT_EQ (manager.getCurrentInputName(), "A");

    // A device that comes back under the same name is a new device, not the one still open.
    service.addInput ("A");
    EXPECT_EQ (service.deliver ("A", noteOn), 0);
    EXPECT_TRUE (callback.take().empty());

    manager.setEnabled ("A", false);
    EXPECT_EQ (manager.getCurrentInputName(), "");
}

TEST_F (AlxMidiInputDeviceManagerTest, callbacksAreRegisteredOnceAndCanBeRemoved)
{
    RecordingCallback second;
    manager.addCallback (&second);
    manager.addCallback (&callback);
    manager.setCurrentInput ("A");

    service.deliver ("A", noteOn);
    EXPECT_EQ (callback.messages.size(), 1u);
    EXPECT_EQ (second.messages.size(), 1u);
    EXPECT_EQ (callback.sources, std::vector<juce::MidiInput*> { nullptr });

    manager.removeCallback (&second);
    manager.removeCallback (&second);
    service.deliver ("A", noteOn);
    EXPECT_EQ (callback.take().size(), 2u);
    EXPECT_EQ (second.take().size(), 1u);
}

TEST_F (AlxMidiInputDeviceManagerTest, aCollectorTurnsTheMessagesIntoBlockEvents)
{
    juce::MidiMessageCollector collector;
    collector.reset (48000.0);
    manager.addCallback (&collector);
    manager.setCurrentInput ("B");

    service.deliver ("B", noteOn);
    juce::MidiBuffer block;
    collector.removeNextBlockOfMessages (block, 512);
    manager.removeCallback (&collector);

    ASSERT_EQ (block.getNumEvents(), 1);
    const auto event = *block.begin();
    EXPECT_TRUE (juce::isPositiveAndBelow (event.samplePosition, 512));
    EXPECT_EQ (bytesOf (event.getMessage()), bytesOf (noteOn));
}
