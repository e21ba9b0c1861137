// The three threads that meet at the input device manager: a driver delivering, the audio thread
// selecting the current input and draining a collector, the message thread enabling devices.
// Meant to run under ThreadSanitizer as well (build with -DPLIMSAR_SANITIZE=thread).

#include "midi/AlxMidiInputDeviceManager.h"
#include "support/AlxMemoryMidiDeviceService.h"

#include <gtest/gtest.h>

#include <thread>

TEST (AlxMidiInputDeviceManagerThreads, deliveryWhileTheCurrentInputAndTheEnabledSetChange)
{
    AlxMemoryMidiDeviceService service;
    service.addInput ("A");
    service.addInput ("B");

    AlxMidiInputDeviceManager manager (service);
    juce::MidiMessageCollector collector;
    collector.reset (48000.0);
    manager.addCallback (&collector);
    manager.setEnabled ("A", true);
    manager.setEnabled ("B", true);

    constexpr int rounds = 20000;
    const std::vector<juce::MidiMessage> fromA { juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100),
                                                 juce::MidiMessage (0xFE),
                                                 juce::MidiMessage::noteOff (1, 60),
                                                 juce::MidiMessage::midiClock() };
    std::atomic<int> drained { 0 }, unexpected { 0 };
    manager.setCurrentInput ("A");

    {
        // B is never current: none of its messages may come through.
        AlxMemoryMidiDeviceService::Driver driverA (service, "A", fromA, rounds);
        AlxMemoryMidiDeviceService::Driver driverB (service, "B", { juce::MidiMessage::noteOn (2, 61, (juce::uint8) 100) }, rounds);

        std::thread audio ([&]
        {
            juce::MidiBuffer block;

            for (int i = 0; ! driverA.isFinished(); ++i)
            {
                manager.setCurrentInput (i % 3 == 2 ? "" : "A");

                if (manager.getCurrentInputName() == "B")
                    ++unexpected;

                block.clear();
                collector.removeNextBlockOfMessages (block, 512);

                for (const auto event : block)
                {
                    const auto message = event.getMessage();
                    ++drained;

                    if (message.isActiveSense() || message.getChannel() == 2 || ! juce::isPositiveAndBelow (event.samplePosition, 512))
                        ++unexpected;
                }
            }
        });

        // The message thread opens and closes B meanwhile.
        while (! driverA.isFinished())
            manager.setEnabled ("B", ! manager.isEnabled ("B"));

        audio.join();
        EXPECT_EQ (driverA.getNumReached(), rounds * (int) fromA.size()) << "A stays open throughout";
    }

    // Whatever the audio thread left in the collector.
    juce::MidiBuffer block;
    collector.removeNextBlockOfMessages (block, 512);
    drained += block.getNumEvents();

    EXPECT_EQ (unexpected, 0);
    EXPECT_GT (drained, 0);
    EXPECT_LE (drained, 3 * rounds) << "no message arrives twice";

    // Afterwards a selected input still delivers, and a disabled one no longer does.
    manager.setCurrentInput ("A");
    service.deliver ("A", juce::MidiMessage::noteOn (1, 62, (juce::uint8) 100));
    block.clear();
    collector.removeNextBlockOfMessages (block, 512);
    EXPECT_EQ (block.getNumEvents(), 1);

    manager.setEnabled ("A", false);
    EXPECT_EQ (service.deliver ("A", juce::MidiMessage::noteOn (1, 62, (juce::uint8) 100)), 0);
    manager.removeCallback (&collector);
}
