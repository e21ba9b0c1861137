#include "modules/AlxArpModule.h"
#include "modules/AlxGrooveModule.h"
#include "modules/AlxLFOGroupModule.h"
#include "modules/AlxLFOModule.h"
#include "modules/AlxTransportModule.h"
#include "modules/AlxTriggerModule.h"
#include "support/AlxNotePath.h"
#include "support/AlxRecordingSink.h"
#include "support/AlxTestPlayHead.h"

#include <gtest/gtest.h>

#include <functional>

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

TEST_F (TriggerPath, thePlayedNoteVelocityReachesTheFirings)
{
    // The whole path: a chord played with velocity byte 64 (64/127) fires at (64/127 / 2 + 1/2)
    // of the setting, byte 96.
    path.hold ({ 60 });
    path.setInputVelocity (64.0f / 127.0f);
    const auto notes = path.run (48000, 512);

    ASSERT_FALSE (notes.empty());

    for (auto& n : notes)
    {
        if (n.velocity > 0)
        {
            EXPECT_EQ (n.velocity, 96);
        }
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
    host.deliver();

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
    host.deliver();

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

namespace
{
    struct ChangeCase
    {
        const char* name;
        // Made between two blocks, as a host's thread or a program switch makes it: no message is
        // delivered before the next block.
        std::function<void (AlxTestHost&)> change;
        juce::int64 spacing;   // samples between firings after the change
        int velocity;          // of the note-ons after it
    };

    class TriggerSettingChange : public TriggerPath, public ::testing::WithParamInterface<ChangeCase> {};

    void setByHost (AlxParameter* parameter, const char* text)
    {
        parameter->setValue (parameter->getDomain()->findByText (text), AlxMessageCode::fromHost, false, true);
    }
}

// The blocks keep what they read from the settings while nothing changes; a change made between
// two blocks applies from the next one.
TEST_P (TriggerSettingChange, appliesFromTheNextBlock)
{
    const auto& c = GetParam();
    auto& lfo = *lfos.getLfo (1);
    path.select (lfo.getShapeParameter(), "Flat");
    path.select (lfo.getLevelParameter(), "0.50");
    path.select (trigger.getStepParameter(), "1/4");
    path.select (trigger.getVelocityParameter(), "1.00");
    path.select (trigger.getGateParameter(), "50 %");

    // Program 1 as program 0 but for its step.
    auto& program = *trigger.getProgramSet (1);
    setByHost (program.findById (AlxTriggerModule::stepId), "1/16");
    setByHost (program.findById (AlxTriggerModule::velocityId), "1.00");
    setByHost (program.findById (AlxTriggerModule::velocitySourceId), "None");
    setByHost (program.findById (AlxTriggerModule::gateId), "50 %");
    host.deliver();

    // Two bars at 120 bpm (a quarter note is 24,000 samples), then the change.
    const auto before = AlxNotePath::samples (path.run (192000, 480), true);
    ASSERT_EQ (before.size(), 8u);
    c.change (host);

    std::vector<AlxNotePath::Note> ons;

    for (juce::int64 done = 0; done < 96000; done += 480)
        for (auto note : path.processBlock (480))
            if (note.velocity > 0)
                ons.push_back ({ note.sample + done, note.note, note.velocity });

    ASSERT_EQ ((juce::int64) ons.size(), 96000 / c.spacing);

    for (size_t i = 0; i < ons.size(); ++i)
    {
        EXPECT_EQ (ons[i].sample, (juce::int64) i * c.spacing) << i;
        EXPECT_EQ (ons[i].velocity, c.velocity) << i;
    }
}

INSTANTIATE_TEST_SUITE_P (Changes, TriggerSettingChange, ::testing::Values (
    ChangeCase { "hostSetsTheStep", [] (AlxTestHost& h) { setByHost (h.getRoot().getTriggerModule()->getStepParameter(), "1/8"); },
                 12000, 127 },
    ChangeCase { "hostSetsTheVelocitysModulationSource",
                 [] (AlxTestHost& h) { setByHost (sourceOf (*h.getRoot().getTriggerModule(), AlxTriggerModule::velocitySourceId), "LFO2"); },
                 24000, 64 },
    ChangeCase { "programSwitchToAFasterStep", [] (AlxTestHost& h) { h.getProcessor().setCurrentProgram (1); }, 6000, 127 }),
    [] (const ::testing::TestParamInfo<ChangeCase>& c) { return std::string (c.param.name); });

TEST_F (TriggerPath, theGridIsCountedFromTheSongStartInGroovedTime)
{
    std::vector<double> times, intervals;
    path.select (trigger.getStepParameter(), "1/4T");
    trigger.findTriggerTimes (0.5, 4.0, times, intervals);

    EXPECT_EQ (times.size(), 5u);

    for (size_t i = 0; i < times.size(); ++i)
    {
        EXPECT_NEAR (times[i], (double) (i + 1) * 2.0 / 3.0, 1.0e-12);
        EXPECT_DOUBLE_EQ (intervals[i], 2.0 / 3.0);
    }

    path.select (trigger.getStepParameter(), "Off");
    trigger.findTriggerTimes (0.0, 16.0, times, intervals);
    EXPECT_TRUE (times.empty());
    EXPECT_TRUE (intervals.empty());
}

TEST_F (TriggerPath, aStepChangingWithinASliceFiresOnTheGridValidAtTheSliceEnd)
{
    // A square LFO on the step, one cycle per quarter note, rising a quarter of a slice after
    // 42/128 (and 170/128): the step is "Off" at the start of those slices and "1/8T" at their
    // end, whose grid has the point 1/3 (4/3) in them.
    auto& lfo = *lfos.getLfo (0);
    path.select (lfo.getShapeParameter(), "Square");
    path.select (lfo.getPerParameter(), "1/4");
    path.select (lfo.getPhaseParameter(), "0.67");
    path.select (lfo.getLevelParameter(), "0.60");
    path.select (sourceOf (trigger, AlxTriggerModule::stepSourceId), "LFO1");
    host.deliver();

    ASSERT_EQ (trigger.stepAt (42.0 / 128.0)->getText(), "Off");
    ASSERT_EQ (trigger.stepAt (43.0 / 128.0 - 1.0e-6)->getText(), "1/8T");

    std::vector<double> times, intervals;
    trigger.findTriggerTimes (0.0, 2.0, times, intervals);
    const double expected[] = { 1.0 / 3.0, 2.0 / 3.0, 4.0 / 3.0, 5.0 / 3.0 };
    ASSERT_EQ (times.size(), 4u);

    for (size_t i = 0; i < times.size(); ++i)
    {
        EXPECT_NEAR (times[i], expected[i], 1.0e-12);
        EXPECT_DOUBLE_EQ (intervals[i], 1.0 / 3.0);
    }

    // However the range is cut into blocks, the same firings come out.
    std::vector<double> pieced, part, partIntervals;
    double from = 0.0;

    for (double cut : { 0.001, 0.3301, 0.333, 0.3334, 0.99, 1.33, 1.3359375, 2.0 })
    {
        trigger.findTriggerTimes (from, cut, part, partIntervals);
        pieced.insert (pieced.end(), part.begin(), part.end());
        from = cut;
    }

    EXPECT_EQ (pieced, times);
}

TEST_F (TriggerPath, aHostsPlayHeadIsFollowedWithoutLosingGridPointsAtBlockBoundaries)
{
    // The host counts its position from its own sample count, rounded its own way.
    AlxTestPlayHead playHead;
    playHead.setBpm (60.0);
    playHead.setPlaying (true);
    path.select (trigger.getStepParameter(), "1/8T");
    transport.postStop (true);
    transport.postStart();   // from Stopped to Armed: the host's start then plays
    host.deliver();
    host.setPlayHead (&playHead);

    std::vector<juce::int64> ons;

    for (juce::int64 position = 0; position < 3000 * 64; position += 64)
    {
        playHead.setTimeInSamples (position);
        playHead.setPpqPosition ((double) position * (60.0 / (60.0 * 48000.0)));

        for (auto& note : path.processBlock (64))
            if (note.velocity > 0)
                ons.push_back (position + note.sample);

        if (position == 0)
            host.deliver();
    }

    host.setPlayHead (nullptr);

    // The host's start plays from its first block on: every grid point fires, 16000 samples
    // apart, from the first.
    ASSERT_EQ (ons.size(), (size_t) (3000 * 64 - 1) / 16000 + 1);

    for (size_t i = 0; i < ons.size(); ++i)
        EXPECT_EQ (ons[i], (juce::int64) i * 16000);
}

TEST_F (TriggerPath, aGrooveThatAnLfoJumpsBackAndForthNeverFiresAGridPointTwice)
{
    // The amount flips between -1 and +1 six times a quarter note, moving grooved time back and
    // forth by up to a quarter note.
    auto& lfo = *lfos.getLfo (0);
    auto& groove = *host.getRoot().getGrooveModule();
    path.select (lfo.getShapeParameter(), "Square");
    path.select (lfo.getPerParameter(), "1/4");
    path.select (lfo.getFrequencyParameter(), "3");
    path.select (groove.getPatternParameter(), "All beats");
    path.select (groove.getAmountSourceParameter(), "LFO1");
    path.select (trigger.getStepParameter(), "1/64");
    host.deliver();

    // Blocks short enough for one firing each, so every firing time is seen.
    std::vector<double> firings;

    for (int block = 0; block < 3000; ++block)
    {
        const auto notes = path.processBlock (32);

        if (std::any_of (notes.begin(), notes.end(), [] (auto& n) { return n.velocity > 0; }))
            firings.push_back (trigger.getLastTriggerTime());
    }

    ASSERT_GT (firings.size(), 40u);

    for (size_t i = 1; i < firings.size(); ++i)
        EXPECT_LT (firings[i - 1], firings[i]) << i;
}
