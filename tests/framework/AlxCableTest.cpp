#include "framework/AlxPin.h"

#include <gtest/gtest.h>

namespace
{
    struct Tracked
    {
        explicit Tracked (int& liveCount) : live (liveCount) { ++live; }
        ~Tracked() { --live; }
        int& live;
    };
}

TEST (AlxCable, attachDestroysOnlyWhatItOwns)
{
    int live = 0;
    {
        AlxCable<Tracked> cable (new Tracked (live));
        EXPECT_EQ (live, 1);

        Tracked outside (live);
        cable.attach (&outside, false);
        EXPECT_EQ (live, 1) << "the owned object went";
        cable.attach (nullptr, false);
        EXPECT_EQ (live, 1) << "the unowned object stays";

        cable.attach (new Tracked (live), true);
        EXPECT_EQ (live, 2);
    }
    EXPECT_EQ (live, 0);
}

TEST (AlxCable, clearingEmptiesTheObjectAndIgnoresAMissingOne)
{
    AlxMidiCable midi (new juce::MidiBuffer());
    midi.getObject()->addEvent (juce::MidiMessage::noteOn (1, 60, 0.5f), 3);
    midi.clear();
    EXPECT_TRUE (midi.getObject()->isEmpty());

    AlxMidiKeyboardCable keys (new juce::MidiKeyboardState());
    keys.getObject()->noteOn (16, 10, 1.0f);
    keys.getObject()->noteOn (3, 127, 1.0f);
    keys.clear();
    for (int channel = 1; channel <= 16; ++channel)
        for (int note = 0; note < 128; ++note)
            ASSERT_FALSE (keys.getObject()->isNoteOn (channel, note));

    AlxAudioCable audio (new juce::AudioSampleBuffer (2, 8));
    audio.getObject()->setSample (1, 7, 0.5f);
    audio.clear();
    EXPECT_EQ (audio.getObject()->getMagnitude (0, 8), 0.0f);

    AlxMidiCable nothing;
    nothing.clear();
    EXPECT_EQ (nothing.getObject(), nullptr);
}

TEST (AlxPin, marksConnectionsAndTypes)
{
    AlxPin<AlxMidiCable> in (AlxPinBase::inputMark), out (AlxPinBase::outputMark), both (AlxPinBase::inputMark | AlxPinBase::outputMark);
    EXPECT_TRUE (in.isInput());
    EXPECT_FALSE (in.isOutput());
    EXPECT_TRUE (out.isOutput());
    EXPECT_FALSE (out.isInput());
    EXPECT_TRUE (both.isInput() && both.isOutput());

    AlxMidiCable a (new juce::MidiBuffer()), b (new juce::MidiBuffer());
    in.connect (&a);
    in.connect (&b);
    in.connect (&a);
    EXPECT_EQ (in.getFirstCable(), &a);
    EXPECT_EQ (in.getObject(), a.getObject());

    in.disconnect (&a);
    ASSERT_EQ (in.getCables().size(), 1u);
    EXPECT_EQ (in.getFirstCable(), &b);
    in.disconnect (&a);
    EXPECT_EQ (in.getCables().size(), 1u);

    b.getObject()->addEvent (juce::MidiMessage::noteOff (1, 60), 0);
    in.clearCables();
    EXPECT_TRUE (b.getObject()->isEmpty());

    in.disconnect (&b);
    EXPECT_EQ (in.getFirstCable(), nullptr);
    EXPECT_EQ (in.getObject(), nullptr);
}
