#include "midi/AlxMidiStageFixture.h"

using AlxMidiText::allNotesOff;
using AlxMidiText::describe;
using Lines = std::vector<std::string>;

namespace
{
    juce::MidiMessage noteOn (int channel, int note) { return juce::MidiMessage::noteOn (channel, note, (juce::uint8) 100); }

    Lines operator+ (Lines a, const Lines& b)
    {
        a.insert (a.end(), b.begin(), b.end());
        return a;
    }

    class AlxMidiOutputModuleTest : public AlxMidiStageFixture
    {
    protected:
        AlxMidiOutputModuleTest()
        {
            standInForTrigger();

            // Whatever the start-up left to do (a reset, a first block) is done here.
            block ({});
            host.deliver();
            block ({});
        }

        // One block whose trigger output holds these events.
        void block (std::initializer_list<std::pair<int, juce::MidiMessage>> events)
        {
            auto& buffer = triggerEvents();
            buffer.clear();

            for (auto& [position, message] : events)
                buffer.addEvent (message, position);

            host.processBlock (blockSize);
            buffer.clear();
        }

        Lines toHost() { return describe (host.getMidi()); }
        Lines synth() { return describe (toSynth()); }

        AlxParameter& destination() { return *output().getDeviceParameter(); }
        AlxParameter& channel() { return *output().getChannelParameter(); }
    };
}

TEST_F (AlxMidiOutputModuleTest, mapsEveryChannelMessageAndCarriesLaterEventsOn)
{
    ASSERT_EQ (chosen (destination()), "Built-in synth");
    ASSERT_EQ (chosen (channel()), "1");

    block ({ { 10, noteOn (5, 60) }, { 20, juce::MidiMessage::midiClock() }, { blockSize + 100, juce::MidiMessage::noteOff (5, 60) } });
    EXPECT_EQ (synth(), (Lines { "10: 90 3c 64", "20: f8" }));
    EXPECT_EQ (toHost(), Lines {});

    // The note-off scheduled 100 samples past the block arrives 100 samples into the next one.
    block ({});
    EXPECT_EQ (synth(), Lines { "100: 80 3c 00" });

    block ({});
    EXPECT_EQ (synth(), Lines {});
}

TEST_F (AlxMidiOutputModuleTest, aNewDestinationSilencesTheOldOneFirst)
{
    block ({ { 0, noteOn (1, 60) } });
    EXPECT_EQ (synth(), Lines { "0: 90 3c 64" });

    // The block after the change only silences the synth, the sounding note by its note-off;
    // the host hears nothing of it.
    choose (destination(), "VST host");
    block ({ { 0, noteOn (1, 62) } });
    EXPECT_EQ (synth(), Lines { "0: 80 3c 00" } + allNotesOff (1));
    EXPECT_EQ (toHost(), Lines {});

    block ({ { 0, noteOn (1, 64) } });
    EXPECT_EQ (toHost(), Lines { "0: 90 40 64" });
    EXPECT_EQ (synth(), Lines {});
}

TEST_F (AlxMidiOutputModuleTest, aNewChannelSilencesTheOldChannelFirst)
{
    block ({ { 0, noteOn (1, 60) } });
    choose (channel(), "2");
    block ({ { 0, noteOn (1, 62) } });
    EXPECT_EQ (synth(), Lines { "0: 80 3c 00" } + allNotesOff (1));

    block ({ { 0, noteOn (1, 64) } });
    EXPECT_EQ (synth(), Lines { "0: 91 40 64" });
}

TEST_F (AlxMidiOutputModuleTest, theFirstBlockAfterPrepareSendsNoAllNotesOff)
{
    block ({ { 0, noteOn (1, 60) } });

    // Changed while audio is off, without the change being handled before audio starts again.
    destination().setValue (destination().getDomain()->findByText ("VST host"), AlxMessageCode::fromEditor, false, false);
    host.getProcessor().releaseResources();
    host.prepare (48000.0, 4096);

    block ({ { 0, noteOn (1, 62) } });
    EXPECT_EQ (toHost(), Lines { "0: 90 3e 64" });
    EXPECT_EQ (synth(), Lines {});
}

TEST_F (AlxMidiOutputModuleTest, aResetSendsAllNotesOffAheadOfTheBlock)
{
    choose (destination(), "VST host");
    choose (channel(), "3");
    block ({});
    block ({ { 0, noteOn (1, 60) }, { blockSize + 100, juce::MidiMessage::noteOff (1, 60) } });
    ASSERT_EQ (toHost(), Lines { "0: 92 3c 64" });

    // The sounding note ends and All Notes Off on the current channel follow; the notes of the
    // block itself come after them and sound. The note-off still waiting for note 60 is
    // dropped: it could only cut a new note 60 short.
    transport().postReset();
    host.deliver();
    block ({ { 5, noteOn (1, 62) } });
    EXPECT_EQ (toHost(), Lines { "0: 82 3c 00" } + allNotesOff (3) + Lines { "5: 92 3e 64" });

    block ({});
    EXPECT_EQ (toHost(), Lines {});
}

TEST_F (AlxMidiOutputModuleTest, notConnectedSendsNothingAnywhere)
{
    enable (outputGroup(), { "Synth" });
    choose (destination(), "Not connected");
    block ({});

    block ({ { 0, noteOn (1, 60) }, { 10, juce::MidiMessage::midiClock() } });
    transport().postReset();
    host.deliver();
    block ({ { 0, noteOn (1, 62) } });

    EXPECT_EQ (toHost(), Lines {});
    EXPECT_EQ (synth(), Lines {});
    EXPECT_TRUE (service.getSent ("Synth").empty());
}

TEST_F (AlxMidiOutputModuleTest, aDeviceDestinationSendsThroughTheDeviceManager)
{
    enable (outputGroup(), { "Synth" });
    choose (destination(), "Synth");
    block ({});
    EXPECT_EQ (synth(), allNotesOff (1));
    EXPECT_TRUE (service.getSent ("Synth").empty());

    // Sent at once, in order; positions inside the block are not kept.
    block ({ { 10, noteOn (5, 60) }, { blockSize + 5, juce::MidiMessage::noteOff (5, 60) } });
    block ({});
    EXPECT_EQ (describe (service.getSent ("Synth")), (Lines { "0: 90 3c 64", "0: 80 3c 00" }));
    EXPECT_EQ (toHost(), Lines {});
    EXPECT_EQ (synth(), Lines {});

    // A device that is no longer enabled swallows the blocks.
    outputGroup().getDeviceManager()->setEnabled ("Synth", false);
    block ({ { 0, noteOn (1, 62) } });
    EXPECT_EQ (service.getSent ("Synth").size(), 2u);
    EXPECT_EQ (synth(), Lines {});
}

TEST_F (AlxMidiOutputModuleTest, noKeyIsSwitchedOnTwiceAndEveryNoteOffHasItsNote)
{
    using Block = std::vector<std::pair<int, juce::MidiMessage>>;
    const auto off = [] (int note) { return juce::MidiMessage::noteOff (1, note); };

    struct Case
    {
        const char* what;
        std::vector<Block> blocks;
        std::vector<Lines> expected;
    };

    const Case cases[] = {
        { "a note fired again while it sounds ends first; the note-off scheduled for it is dropped",
          { { { 0, noteOn (1, 60) }, { blockSize + 300, off (60) } }, { { 10, noteOn (1, 60) }, { blockSize + 50, off (60) } }, {} },
          { { "0: 90 3c 64" }, { "10: 80 3c 00", "10: 90 3c 64" }, { "50: 80 3c 00" } } },
        { "when the later note would end first, the key sounds to the first note-off that counts",
          { { { 0, noteOn (1, 62) }, { blockSize + 200, off (62) } }, { { 100, noteOn (1, 62) }, { 150, off (62) } }, {} },
          { { "0: 90 3e 64" }, { "100: 80 3e 00", "100: 90 3e 64", "200: 80 3e 00" }, {} } },
        { "a note-off and the next note-on on one sample stay as they are",
          { { { 0, noteOn (1, 64) }, { 20, off (64) }, { 20, noteOn (1, 64) }, { 40, off (64) } } },
          { { "0: 90 40 64", "20: 80 40 00", "20: 90 40 64", "40: 80 40 00" } } },
        { "a note-off without its note-on is dropped",
          { { { 5, off (65) }, { 6, noteOn (1, 66) }, { 7, off (66) }, { 8, off (66) } } },
          { { "6: 90 42 64", "7: 80 42 00" } } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        ASSERT_EQ (c.blocks.size(), c.expected.size());

        for (size_t i = 0; i < c.blocks.size(); ++i)
        {
            auto& buffer = triggerEvents();
            buffer.clear();

            for (auto& [position, message] : c.blocks[i])
                buffer.addEvent (message, position);

            host.processBlock (blockSize);
            buffer.clear();
            EXPECT_EQ (synth(), c.expected[i]) << "block " << i;
        }
    }
}
