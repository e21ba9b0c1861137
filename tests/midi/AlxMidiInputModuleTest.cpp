#include "midi/AlxMidiStageFixture.h"

using AlxMidiText::describe;
using Lines = std::vector<std::string>;

namespace
{
    using AlxMidiInputModuleTest = AlxMidiStageFixture;

    juce::MidiMessage noteOn (int channel, int note) { return juce::MidiMessage::noteOn (channel, note, (juce::uint8) 100); }

    juce::MidiBuffer blockOf (std::initializer_list<std::pair<int, juce::MidiMessage>> events)
    {
        juce::MidiBuffer buffer;

        for (auto& [position, message] : events)
            buffer.addEvent (message, position);

        return buffer;
    }
}

TEST_F (AlxMidiInputModuleTest, eachSourceAndTheChannelFilterShapeTheBlock)
{
    constexpr int length = blockSize;
    const auto hostBlock = blockOf ({ { 10, noteOn (3, 60) }, { 20, noteOn (5, 62) }, { 30, juce::MidiMessage::midiClock() },
                                      { length + 50, noteOn (3, 67) } });
    struct Case
    {
        const char* source;
        const char* channel;
        Lines copy;               // what the trigger's MIDI input gets
        std::vector<int> held;    // the held keys afterwards
    };

    const Case cases[] {
        // Every event of the host reaches the held keys, also one beyond the block; the copy
        // holds the block's own.
        { "VST/AU host", "All", { "10: 92 3c 64", "20: 94 3e 64", "30: f8" }, { 60, 62, 67 } },
        { "VST/AU host", "3", { "10: 92 3c 64", "30: f8" }, { 60 } },
        { "Not connected", "All", {}, {} },
        // The demo tracks play only while the transport plays; it is armed here.
        { "Track", "All", {}, {} },
    };

    for (auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.source) + " / " + c.channel);
        choose (*input().getDeviceParameter(), c.source);
        choose (*input().getChannelParameter(), c.channel);
        host.processBlock (length, hostBlock);

        EXPECT_EQ (describe (inputCopy()), c.copy);
        EXPECT_EQ (heldNotes(), c.held);
        EXPECT_EQ (input().isAnyNoteHeld(), ! c.held.empty());
    }

    // With the host as source and all channels the block stays exactly as the host delivered it.
    choose (*input().getDeviceParameter(), "VST/AU host");
    choose (*input().getChannelParameter(), "All");
    auto rewritten = hostBlock;
    input().fillBlock (rewritten, length);
    EXPECT_EQ (describe (rewritten), describe (hostBlock));
}

TEST_F (AlxMidiInputModuleTest, theLastNoteOnIsKeptForTheTrigger)
{
    choose (*input().getDeviceParameter(), "VST/AU host");
    host.processBlock (blockSize, blockOf ({ { 0, juce::MidiMessage::noteOn (2, 64, 0.5f) },
                                             { 5, juce::MidiMessage::noteOn (7, 48, 0.25f) },
                                             { 9, juce::MidiMessage::noteOn (7, 50, (juce::uint8) 0) } }));

    // A note-on of velocity 0 is a note-off and leaves the last note-on alone.
    EXPECT_FLOAT_EQ (input().getLastNoteOnVelocity(), juce::MidiMessage::floatValueToMidiByte (0.25f) / 127.0f);
    EXPECT_EQ (input().getLastNoteOnNumber(), 48);
    EXPECT_EQ (input().getLastNoteOnChannel(), 7);

    // Another choice of source forgets it, and the notes held with it.
    choose (*input().getDeviceParameter(), "Not connected");
    EXPECT_EQ (input().getLastNoteOnVelocity(), 0.0f);
    EXPECT_TRUE (heldNotes().empty());
}

TEST_F (AlxMidiInputModuleTest, songPositionAndClockMoveTheTransportsClock)
{
    ASSERT_DOUBLE_EQ (transport().getSamplesPerQuarter(), 24000.0);
    ASSERT_TRUE (transport().isArmed());
    choose (*input().getDeviceParameter(), "VST/AU host");

    // F2 10 00 at sample 100: 16 sixteenths, 4 quarter notes (96000 samples), reached there. The
    // root then adds the block as always.
    host.processBlock (blockSize, blockOf ({ { 100, juce::MidiMessage (0xF2, 0x10, 0x00) } }));
    EXPECT_EQ (input().getSongPosition(), 16);
    EXPECT_EQ (input().getClockCount(), 96);
    EXPECT_DOUBLE_EQ (transport().getSampleCounter(), 96000.0 - 100.0 + blockSize);

    // The first clock after it marks that position, at its own sample (30).
    juce::MidiBuffer fiveClocks;

    for (int i = 0; i < 5; ++i)
        fiveClocks.addEvent (juce::MidiMessage::midiClock(), 30 + i * 80);

    host.processBlock (blockSize, fiveClocks);
    EXPECT_EQ (input().getClockCount(), 101);
    EXPECT_DOUBLE_EQ (transport().getSampleCounter(), 96000.0 - 30.0 + blockSize);

    // The clocks between sixteenth notes leave the clock running.
    host.processBlock (blockSize, blockOf ({ { 0, juce::MidiMessage::midiClock() } }));
    EXPECT_EQ (input().getClockCount(), 102);
    EXPECT_DOUBLE_EQ (transport().getSampleCounter(), 96000.0 - 30.0 + 2 * blockSize);

    // The next sixteenth note's clock re-aligns it: clock 102 lies at 102 x 24000 / 24 samples.
    host.processBlock (blockSize, blockOf ({ { 200, juce::MidiMessage::midiClock() } }));
    EXPECT_EQ (input().getClockCount(), 103);
    EXPECT_DOUBLE_EQ (transport().getSampleCounter(), 102000.0 - 200.0 + blockSize);
}

namespace
{
    enum class State { stopped, armed, playing };

    struct SystemCase
    {
        const char* name;
        State before;
        std::vector<std::vector<juce::MidiMessage>> blocks;
        State after;
        double counter;   // the transport's clock after the blocks
        int clockCount;
    };

    void PrintTo (const SystemCase& c, std::ostream* os) { *os << c.name; }

    const auto songPosition16 = juce::MidiMessage (0xF2, 0x10, 0x00);
    constexpr double n = AlxMidiStageFixture::blockSize;

    class AlxMidiSystemMessagesTest : public AlxMidiStageFixture,
                                      public testing::WithParamInterface<SystemCase>
    {
    protected:
        State state() { return transport().isPlaying() ? State::playing : transport().isArmed() ? State::armed : State::stopped; }
    };
}

TEST_P (AlxMidiSystemMessagesTest, followsTheTransportRequests)
{
    const auto& c = GetParam();
    choose (*input().getDeviceParameter(), "VST/AU host");

    if (c.before == State::stopped)
        transport().postStop (false);
    else if (c.before == State::playing)
        transport().postPlay();

    host.deliver();
    ASSERT_EQ (state(), c.before);

    for (auto& messages : c.blocks)
    {
        juce::MidiBuffer block;

        for (auto& m : messages)
            block.addEvent (m, 0);

        host.processBlock (blockSize, block);
        host.deliver();
    }

    EXPECT_EQ (state(), c.after);
    EXPECT_DOUBLE_EQ (transport().getSampleCounter(), c.counter);
    EXPECT_EQ (input().getClockCount(), c.clockCount);
}

INSTANTIATE_TEST_SUITE_P (
    AlxMidiInputModule, AlxMidiSystemMessagesTest,
    testing::Values (
        // A start plays the song from its beginning, a continue from where the song position put it.
        SystemCase { "start", State::armed, { { songPosition16 }, { juce::MidiMessage::midiStart() } }, State::playing, n, 0 },
        SystemCase { "continue", State::armed, { { songPosition16 }, { juce::MidiMessage::midiContinue() } }, State::playing, 96000.0 + 2 * n, 96 },
        SystemCase { "stop", State::playing, { { juce::MidiMessage::midiStop() } }, State::armed, n, 0 },
        SystemCase { "stopped", State::stopped,
                     { { songPosition16, juce::MidiMessage::midiStart(), juce::MidiMessage::midiContinue(), juce::MidiMessage::midiStop(),
                         juce::MidiMessage::midiClock(), juce::MidiMessage::midiClock(), juce::MidiMessage::midiClock(),
                         juce::MidiMessage::midiClock(), juce::MidiMessage::midiClock(), juce::MidiMessage::midiClock() } },
                     State::stopped, n, 0 }),
    [] (const testing::TestParamInfo<SystemCase>& testCase) { return std::string (testCase.param.name); });

TEST_F (AlxMidiInputModuleTest, theDemoTrackIsHeldOnlyWhilePlayingAndInStepWithTheTransport)
{
    ASSERT_EQ (chosen (*input().getDeviceParameter()), "Track");
    ASSERT_EQ (chosen (*input().getTrackParameter()), "Demo me! (chords)");

    // Armed, the clock runs on but nothing plays.
    host.run (100 * blockSize, blockSize);
    EXPECT_TRUE (heldNotes().empty());
    EXPECT_TRUE (inputCopy().isEmpty());
    EXPECT_FALSE (input().isAnyNoteHeld());

    // Playing starts from 0, whatever the clock showed before: the chord at tick 0 arrives with
    // the first block.
    transport().postPlay();
    host.deliver();
    ASSERT_TRUE (transport().isPlaying());
    host.processBlock (blockSize);
    EXPECT_EQ (heldNotes(), (std::vector<int> { 50, 69, 74 }));
    EXPECT_TRUE (input().isAnyNoteHeld());
    EXPECT_GT (input().getLastNoteOnVelocity(), 0.0f);

    int noteOnsAtZero = 0;

    for (const auto event : inputCopy())
        noteOnsAtZero += event.getMessage().isNoteOn() && event.samplePosition == 0 ? 1 : 0;

    EXPECT_EQ (noteOnsAtZero, 3);

    // At tick 768 (quarter 8, sample 192000) note 74 ends and 64 begins.
    host.run (191000 - blockSize, 4000);
    EXPECT_EQ (heldNotes(), (std::vector<int> { 50, 69, 74 }));
    host.run (2000, blockSize);
    EXPECT_EQ (heldNotes(), (std::vector<int> { 50, 64, 69 }));

    // A stop drops what was held and plays nothing more.
    transport().postStop (false);
    host.deliver();
    host.run (10 * blockSize, blockSize);
    EXPECT_TRUE (heldNotes().empty());
    EXPECT_TRUE (inputCopy().isEmpty());
}

TEST_F (AlxMidiInputModuleTest, aChangedChoiceDropsTheHeldNotesAndRewinds)
{
    transport().postPlay();
    host.deliver();
    host.run (10 * blockSize, blockSize);
    ASSERT_FALSE (heldNotes().empty());
    ASSERT_GT (transport().getSampleCounter(), 0.0);

    choose (*input().getChannelParameter(), "3");
    EXPECT_TRUE (heldNotes().empty());
    EXPECT_FALSE (input().isAnyNoteHeld());
    EXPECT_DOUBLE_EQ (transport().getSampleCounter(), 0.0);

    // The demo starts again from its first chord.
    host.processBlock (blockSize);
    EXPECT_EQ (heldNotes(), (std::vector<int> { 50, 69, 74 }));
}

TEST_F (AlxMidiInputModuleTest, aDeviceChosenByNameFeedsTheInput)
{
    enable (inputGroup(), { "Keys", "Other" });
    std::vector<juce::String> texts;

    for (auto& value : input().getDeviceParameter()->getDomain()->getValues())
        texts.push_back (value->getText());

    EXPECT_EQ (texts, (std::vector<juce::String> { "Not connected", "Track", "VST/AU host", "Keys", "Other" }));

    choose (*input().getDeviceParameter(), "Other");
    host.processBlock (blockSize);
    EXPECT_EQ (inputGroup().getDeviceManager()->getCurrentInputName(), "Other");

    // Only the chosen device is heard.
    service.deliver ("Keys", noteOn (1, 60));
    service.deliver ("Other", noteOn (1, 62));
    host.processBlock (blockSize);
    EXPECT_EQ (heldNotes(), std::vector<int> { 62 });
    ASSERT_EQ (inputCopy().getNumEvents(), 1);
    EXPECT_TRUE (juce::isPositiveAndBelow ((*inputCopy().begin()).samplePosition, blockSize));

    // When a device before it goes, the choice stays with its device, at once: the blocks before
    // the rebuild is announced hear it too.
    inputGroup().getDeviceManager()->setEnabled ("Keys", false);
    inputGroup().rebuildDeviceValues();
    EXPECT_EQ (chosen (*input().getDeviceParameter()), "Other");
    service.deliver ("Other", noteOn (1, 63));
    host.processBlock (blockSize);
    EXPECT_EQ (heldNotes(), (std::vector<int> { 62, 63 }));
    host.deliver();

    // The channel filter applies to devices as well.
    choose (*input().getChannelParameter(), "3");
    service.deliver ("Other", noteOn (3, 64));
    service.deliver ("Other", noteOn (5, 65));
    service.deliver ("Other", juce::MidiMessage::midiClock());
    host.processBlock (blockSize);
    EXPECT_EQ (heldNotes(), std::vector<int> { 64 });
    EXPECT_EQ (inputCopy().getNumEvents(), 2);
}

TEST_F (AlxMidiInputModuleTest, aChosenDeviceThatGoesAwayLeavesSilence)
{
    enable (inputGroup(), { "Keys" });
    choose (*input().getDeviceParameter(), "Keys");
    host.processBlock (blockSize);
    ASSERT_EQ (inputGroup().getDeviceManager()->getCurrentInputName(), "Keys");

    // Unplugged: the open device goes quiet, blocks go on.
    service.removeInput ("Keys");
    EXPECT_EQ (service.deliver ("Keys", noteOn (1, 60)), 0);
    host.run (5 * blockSize, blockSize);
    EXPECT_TRUE (heldNotes().empty());

    // Disabled while still chosen: no device matches the name, nothing is heard.
    inputGroup().getDeviceManager()->setEnabled ("Keys", false);
    host.run (5 * blockSize, blockSize);
    EXPECT_EQ (inputGroup().getDeviceManager()->getCurrentInputName(), "");
    EXPECT_TRUE (inputCopy().isEmpty());
    EXPECT_EQ (chosen (*input().getDeviceParameter()), "Keys");

    // Once the list is rebuilt the choice falls back to the built-in tracks.
    inputGroup().rebuildDeviceValues();
    host.deliver();
    EXPECT_EQ (chosen (*input().getDeviceParameter()), "Track");
}
