#include "modules/AlxBlockTimeline.h"
#include "modules/AlxGrooveModule.h"
#include "modules/AlxLFOGroupModule.h"
#include "modules/AlxLFOModule.h"
#include "modules/AlxTransportModule.h"
#include "modules/AlxTriggerModule.h"
#include "support/AlxNotePath.h"

#include <gtest/gtest.h>

// Where an LFO moves the groove, grooved time may fall back and cross a firing time more than
// once. Notes land on the first crossing: the note-on where grooved time first reaches the
// firing time in its block, the note-off where it first reaches the firing time plus gate x step
// after the note-on. A walk over every sample is the reference.

namespace
{
    struct GrooveCase
    {
        const char* pattern;
        const char* shape;
        const char* frequency;
        const char* step;
        const char* gate;
    };

    // The sample from which grooved time first passes target, walking from first on, less one;
    // first itself when its grooved time already passes target.
    juce::int64 firstCrossing (const AlxBlockTimeline& timeline, juce::int64 first, double target)
    {
        if (timeline.groovedAt (first) > target)
            return first;

        auto k = first;

        while (timeline.groovedAt (k + 1) <= target)
            ++k;

        return k;
    }
}

TEST (AlxGrooveCrossing, notesLandWhereGroovedTimeFirstReachesTheirTimesAtEveryBlockSize)
{
    const GrooveCase cases[] = {
        { "All beats", "Saw Up", "4", "1/32", "90 %" },
        { "All beats", "Saw Dn", "2", "1/16", "180 %" },
        { "Odd beats", "Square", "8", "1/32T", "60 %" },
    };

    int crossingsChecked = 0;

    for (const auto& c : cases)
    {
        // Blocks of one firing at most, so the trigger's last firing time is each block's.
        for (int blockSize : { 7, 64, 333, 600 })
        {
            SCOPED_TRACE (juce::String (c.pattern) + ", " + c.shape + " x" + c.frequency + ", " + c.step + ", "
                          + c.gate + ", blocks of " + juce::String (blockSize));
            AlxTestHost host (44100.0);
            AlxNotePath path (host);
            auto& root = host.getRoot();
            auto& trigger = *root.getTriggerModule();
            auto& groove = *root.getGrooveModule();
            auto& lfo = *root.getLfoGroup()->getLfo (0);
            auto& transport = *root.getTransportModule();

            path.setTempo (120.0);
            path.select (trigger.getStepParameter(), c.step);
            path.select (trigger.getGateParameter(), c.gate);
            path.select (groove.getPatternParameter(), c.pattern);
            path.select (groove.getWidthParameter(), "1.00");
            path.select (groove.getAmountSourceParameter(), "LFO1");
            path.select (lfo.getShapeParameter(), c.shape);
            path.select (lfo.getFrequencyParameter(), c.frequency);
            path.select (lfo.getPerParameter(), "Bar");
            path.hold ({ 60 });
            path.start();
            path.run (0, blockSize);
            ASSERT_TRUE (groove.isModulated());

            const double samplesPerQuarter = transport.getSamplesPerQuarter();
            double lastFiring = -1.0;

            for (juce::int64 start = 0; start < (juce::int64) (4 * samplesPerQuarter); start += blockSize)
            {
                const auto notes = path.processBlock (blockSize);
                const double firing = trigger.getLastTriggerTime();

                if (notes.empty())
                    continue;

                ASSERT_NE (firing, lastFiring) << "one firing per block";
                lastFiring = firing;
                ASSERT_EQ (notes.size(), 2u);
                const auto on = notes[0].velocity > 0 ? notes[0] : notes[1];
                const auto off = notes[0].velocity > 0 ? notes[1] : notes[0];

                // The same timeline the block was placed on: the transport's own clock, from the
                // block's first sample.
                const AlxBlockTimeline timeline (groove, groove.currentSettings(), (double) start, (double) start / samplesPerQuarter, 44100.0, 120.0, true);
                const double noteEnd = firing + trigger.gateAt (firing)->getRealValue() * trigger.stepAt (firing)->getRealValue();
                const auto expectedOn = firstCrossing (timeline, 0, firing);

                EXPECT_EQ (on.sample, expectedOn) << "note-on of the firing at " << firing << " in the block at " << start;
                EXPECT_EQ (off.sample, firstCrossing (timeline, on.sample, noteEnd))
                    << "note-off of the firing at " << firing << " in the block at " << start;
                ++crossingsChecked;
            }
        }
    }

    EXPECT_GT (crossingsChecked, 250);
}
