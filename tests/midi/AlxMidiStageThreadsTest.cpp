// The threads that meet in the MIDI stages: a device driver delivering, the audio thread running
// blocks through the whole processor, the message thread enabling devices, rebuilding the device
// choices and changing the channel. Meant to run under ThreadSanitizer as well (build with
// -DPLIMSAR_SANITIZE=thread).

#include "midi/AlxMidiStageFixture.h"

#include <atomic>
#include <thread>

using AlxMidiStageThreadsTest = AlxMidiStageFixture;

TEST_F (AlxMidiStageThreadsTest, aDevicePlaysWhileBlocksRunAndTheSettingsChange)
{
    service.addOutput ("Pads");
    enable (inputGroup(), { "Keys" });
    enable (outputGroup(), { "Synth" });
    choose (*input().getDeviceParameter(), "Keys");
    choose (*output().getDeviceParameter(), "Synth");
    standInForTrigger();

    constexpr int rounds = 5000;
    std::atomic<int> heard { 0 }, misplaced { 0 };

    {
        AlxMemoryMidiDeviceService::Driver driver (service, "Keys",
                                                   { juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100),
                                                     juce::MidiMessage::midiClock(),
                                                     juce::MidiMessage::noteOff (1, 60) },
                                                   rounds);

        std::thread audio ([&]
        {
            // One block more after the driver's last delivery, so what it delivered meanwhile is
            // heard even where the scheduler let the driver run all its rounds before a block.
            for (bool last = false; ! last;)
            {
                last = driver.isFinished();
                // What the trigger would hand on: a note that ends in the next block.
                triggerEvents().clear();
                triggerEvents().addEvent (juce::MidiMessage::noteOn (1, 72, (juce::uint8) 100), 0);
                triggerEvents().addEvent (juce::MidiMessage::noteOff (1, 72), blockSize + 10);
                host.processBlock (blockSize);

                // What the block left for the trigger, read as the trigger would: inside the
                // processing lock, where the message thread does not clear it.
                const juce::ScopedLock sl (host.getProcessor().getCallbackLock());

                for (const auto event : inputCopy())
                {
                    ++heard;

                    if (! juce::isPositiveAndBelow (event.samplePosition, blockSize))
                        ++misplaced;
                }
            }
        });

        // Meanwhile the user enables and disables other devices and flips the channels; the
        // chosen devices stay chosen through every rebuild of the lists.
        for (int i = 0; ! driver.isFinished(); ++i)
        {
            inputGroup().getDeviceManager()->setEnabled ("Other", i % 2 == 0);
            inputGroup().rebuildDeviceValues();
            outputGroup().getDeviceManager()->setEnabled ("Pads", i % 2 == 0);
            outputGroup().rebuildDeviceValues();
            choose (*input().getChannelParameter(), i % 2 == 0 ? "1" : "All");
            choose (*output().getChannelParameter(), i % 2 == 0 ? "2" : "1");
        }

        audio.join();
        EXPECT_EQ (driver.getNumReached(), 3 * rounds);
    }

    host.deliver();
    EXPECT_GT (heard.load(), 0);
    EXPECT_EQ (misplaced.load(), 0);
    EXPECT_FALSE (service.getSent ("Synth").empty());
    EXPECT_EQ (chosen (*input().getDeviceParameter()), "Keys");
    EXPECT_EQ (chosen (*output().getDeviceParameter()), "Synth");

    // Everything is still connected: a key played now is held after the next block.
    choose (*input().getChannelParameter(), "All");
    service.deliver ("Keys", juce::MidiMessage::noteOn (1, 64, (juce::uint8) 100));
    host.processBlock (blockSize);
    EXPECT_EQ (heldNotes(), std::vector<int> { 64 });
}
