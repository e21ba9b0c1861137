#include "modules/AlxArpModule.h"
#include "modules/AlxLFOGroupModule.h"
#include "modules/AlxLFOModule.h"
#include "modules/AlxTransportModule.h"
#include "modules/AlxTriggerModule.h"
#include "support/AlxNotePath.h"
#include "support/AlxRecordingSink.h"

#include <gtest/gtest.h>

namespace
{
    // The whole processor at 48 kHz and 120 bpm, the transport playing from position 0 and
    // note 60 held.
    class TriggerPath : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            path.setTempo (120.0);
            path.hold ({ 60 });
            path.start();
            transport.getStateParameter()->addSink (&events);
        }

        void TearDown() override { transport.getStateParameter()->removeSink (&events); }

        int firingEvents() const { return events.count (transport.getStateParameter(), AlxTransportModule::notesTriggered); }

        AlxTestHost host { 48000.0 };
        AlxNotePath path { host };
        AlxTransportModule& transport = *host.getRoot().getTransportModule();
        AlxTriggerModule& trigger = *host.getRoot().getTriggerModule();
        AlxArpModule& arp = *host.getRoot().getArpModule();
        AlxLFOGroupModule& lfos = *host.getRoot().getLfoGroup();
        AlxRecordingSink events;
    };

    struct GridCase
    {
        const char* step;
        const char* gate;
        int blockSize;
        juce::int64 spacing;   // samples between firings
        juce::int64 length;    // samples of each note
    };

    AlxParameter* sourceOf (const AlxModule& module, int id)
    {
        return module.getProgramParameters()->findById (id);
    }

    class TriggerGrid : public TriggerPath, public ::testing::WithParamInterface<GridCase> {};
}

TEST_P (TriggerGrid, firesOnTheStepsOfTheSongWithTheGateLength)
{
    const auto& c = GetParam();
    path.select (trigger.getStepParameter(), c.step);
    path.select (trigger.getGateParameter(), c.gate);
    const juce::int64 total = 4 * 96000;
    const auto notes = path.run (total, c.blockSize);

    const auto ons = AlxNotePath::samples (notes, true);
    const auto offs = AlxNotePath::samples (notes, false);
    ASSERT_EQ ((juce::int64) ons.size(), total / c.spacing);
    ASSERT_EQ (offs.size(), ons.size());

    for (size_t i = 0; i < ons.size(); ++i)
    {
        EXPECT_EQ (ons[i], (juce::int64) i * c.spacing);
        EXPECT_EQ (offs[i], ons[i] + c.length);
    }
}

INSTANTIATE_TEST_SUITE_P (Steps, TriggerGrid, ::testing::Values (
    GridCase { "1/4", "90 %", 512, 24000, 21600 },
    GridCase { "1/4", "90 %", 4096, 24000, 21600 },
    GridCase { "1/8T", "90 %", 441, 8000, 7200 },
    GridCase { "1/16", "100 %", 64, 6000, 6000 },
    GridCase { "1/4", "400 %", 1000, 24000, 96000 },
    GridCase { "2", "50 %", 333, 192000, 96000 }));

TEST_F (TriggerPath, firingsWithoutNotesToPlayWriteNothingButAreAnnounced)
{
    struct Case
    {
        const char* step;
        const char* gate;
        std::initializer_list<int> held;
        bool announced;
    };

    for (const auto& c : { Case { "Off", "90 %", { 60 }, false },
                           Case { "1/4", "0 %", { 60 }, true },
                           Case { "1/4", "90 %", {}, true } })
    {
        SCOPED_TRACE (juce::String (c.step) + " " + c.gate + " " + juce::String ((int) c.held.size()));
        path.select (trigger.getStepParameter(), c.step);
        path.select (trigger.getGateParameter(), c.gate);
        path.hold (c.held);
        events.clear();

        EXPECT_TRUE (path.run (96000, 512).empty());
        EXPECT_EQ (firingEvents(), c.announced ? 4 : 0);
    }
}

TEST_F (TriggerPath, nothingFiresWhileTheTransportIsNotPlaying)
{
    transport.postStop (false);
    host.deliver();
    ASSERT_TRUE (transport.isArmed());
    EXPECT_TRUE (path.run (96000, 512).empty());
    EXPECT_EQ (firingEvents(), 0);
}

TEST_F (TriggerPath, theInputVelocityScalesTheVelocity)
{
    struct Case
    {
        float input;
        const char* velocity;
        int expected;
    };

    // A quiet input note halves the velocity, a full one keeps it: v x (input / 2 + 1 / 2).
    for (const auto& c : { Case { 0.5f, "100", 95 }, Case { 1.0f, "100", 127 }, Case { 0.0f, "100", 64 },
                           Case { 1.0f, "50", 64 } })
    {
        SCOPED_TRACE (c.input);
        path.select (trigger.getVelocityParameter(), c.velocity);
        juce::MidiKeyboardState held;
        held.noteOn (1, 60, 1.0f);
        juce::MidiBuffer out;
        trigger.triggerBlock (held, c.input, out, 0.0, 512);

        ASSERT_EQ (out.getNumEvents(), 2);
        const auto noteOn = (*out.begin()).getMessage();
        EXPECT_TRUE (noteOn.isNoteOn());
        EXPECT_EQ (noteOn.getChannel(), 1);
        EXPECT_EQ ((int) noteOn.getVelocity(), c.expected);
    }
}

TEST_F (TriggerPath, theArpShapesEachFiring)
{
    path.hold ({ 60, 64, 67 });
    path.select (arp.getMaskParameter(), "1+3");
    path.select (arp.getDoublingParameter(), "Oct");
    const auto notes = path.run (24000, 512);

    std::vector<int> sounding;

    for (auto& n : notes)
        if (n.velocity > 0)
            sounding.push_back (n.note);

    EXPECT_EQ (sounding, (std::vector<int> { 48, 55, 60, 67 }));
}

TEST_F (TriggerPath, aSquareLfoOnTheArpMaskAlternatesAllAndNone)
{
    auto& lfo = *lfos.getLfo (0);
    path.select (lfo.getShapeParameter(), "Square");
    path.select (lfo.getLevelParameter(), "1.00");
    path.select (arp.getMaskSourceParameter(), "LFO1");
    path.hold ({ 60, 64, 67 });
    const auto ons = AlxNotePath::samples (path.run (2 * 96000, 512), true);

    // The first half of each bar sounds the whole chord, the second half nothing; all four
    // quarters fire.
    const std::vector<juce::int64> expected { 0, 0, 0, 24000, 24000, 24000, 96000, 96000, 96000, 120000, 120000, 120000 };
    EXPECT_EQ (ons, expected);
    EXPECT_EQ (firingEvents(), 8);
}

TEST_F (TriggerPath, aSawLfoWalksTheStepThroughItsValuesAcrossTheBar)
{
    path.select (lfos.getLfo (0)->getLevelParameter(), "1.00");
    path.select (sourceOf (trigger, AlxTriggerModule::stepSourceId), "LFO1");

    // One value per table step of the LFO (512 per bar), read in the middle of the step, in
    // the fourth bar.
    juce::StringArray walked;

    for (int i = 0; i < 512; ++i)
    {
        const auto text = trigger.stepAt (12.0 + (i + 0.5) * 4.0 / 512.0)->getText();

        if (i <= 39)
        {
            EXPECT_EQ (text, "Off") << i;
        }

        if (i >= 472)
        {
            EXPECT_EQ (text, "1/64") << i;
        }

        if (walked.isEmpty() || walked[walked.size() - 1] != text)
            walked.add (text);
    }

    EXPECT_EQ (walked.joinIntoString (" "), "Off 2 1 1/2 1/4 1/4T 1/8 1/8T 1/16 1/16T 1/32 1/32T 1/64");
}

TEST_F (TriggerPath, aFlatLfoAtHalfLevelSelectsTheMiddleVelocity)
{
    auto& lfo = *lfos.getLfo (1);
    path.select (lfo.getShapeParameter(), "Flat");
    path.select (lfo.getLevelParameter(), "0.50");
    path.select (sourceOf (trigger, AlxTriggerModule::velocitySourceId), "LFO2");

    for (double t : { 0.0, 1.3, 7.9 })
    {
        EXPECT_EQ (trigger.velocityAt (t)->getIndex(), 49);
        EXPECT_EQ (trigger.velocityAt (t)->getRealValue(), 0.5);
    }

    juce::MidiKeyboardState held;
    held.noteOn (1, 60, 1.0f);
    juce::MidiBuffer out;
    trigger.triggerBlock (held, 1.0f, out, 0.0, 512);
    ASSERT_FALSE (out.isEmpty());
    EXPECT_EQ ((int) (*out.begin()).getMessage().getVelocity(), 64);
}
