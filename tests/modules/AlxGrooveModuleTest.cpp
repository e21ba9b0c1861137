#include "modules/AlxGrooveModule.h"
#include "modules/AlxTransportModule.h"
#include "support/AlxNotePath.h"

#include <gtest/gtest.h>

namespace
{
    class GrooveFixture : public ::testing::Test
    {
    protected:
        void setGroove (const char* pattern, const char* amount, const char* width)
        {
            path.select (groove.getPatternParameter(), pattern);
            path.select (groove.getAmountParameter(), amount);
            path.select (groove.getWidthParameter(), width);
        }

        void setSignature (int numerator, int denominator)
        {
            transport.getNumeratorParameter()->setRealValue ((float) numerator, 2, false, true);
            transport.getDenominatorParameter()->setRealValue ((float) denominator, 2, false, true);
            host.deliver();
        }

        AlxTestHost host;
        AlxNotePath path { host };
        AlxTransportModule& transport = *host.getRoot().getTransportModule();
        AlxGrooveModule& groove = *host.getRoot().getGrooveModule();
    };

    struct WarpCase
    {
        const char* pattern;
        const char* amount;
        const char* width;
        std::initializer_list<std::pair<double, double>> points;   // t -> grooved t
    };
}

TEST_F (GrooveFixture, warpsTimeNearTheSelectedBeats)
{
    const WarpCase cases[] = {
        // Off leaves time alone, whatever amount and width say.
        { "Off", "1.00", "1.00", { { 0.0, 0.0 }, { 0.9, 0.9 }, { 5.25, 5.25 } } },
        // The second beat late: grooved time stands still before it and catches up after it.
        { "Beat 2", "1.00", "1.00", { { 0.5, 0.5 }, { 0.75, 0.5 }, { 1.0, 0.5 }, { 1.25, 1.0 }, { 1.5, 1.5 }, { 5.0, 4.5 } } },
        // Early: grooved 1.0 is reached at 0.75.
        { "Beat 2", "-1.00", "1.00", { { 0.75, 1.0 }, { 1.0, 1.5 }, { 1.5, 1.5 }, { 0.5, 0.5 } } },
        // The shift is limited to the half-width.
        { "Beat 1", "0.40", "0.20", { { 4.0, 3.9 }, { 4.05, 4.0 }, { 4.2, 4.2 }, { 3.95, 3.9 } } },
        // No width, no groove, also exactly on the beat.
        { "Beat 1", "1.00", "0.00", { { 0.0, 0.0 }, { 4.0, 4.0 }, { 4.01, 4.01 } } },
        // Before the song start the beats still count from the bar start.
        { "Beat 1", "0.50", "1.00", { { -4.0, -4.25 }, { -3.0, -3.0 }, { -0.25, -0.375 } } },
    };

    for (auto& c : cases)
    {
        setGroove (c.pattern, c.amount, c.width);

        for (auto [t, grooved] : c.points)
            EXPECT_NEAR (groove.warp (t), grooved, 1.0e-12) << c.pattern << " " << c.amount << " " << c.width << " at " << t;
    }
}

TEST_F (GrooveFixture, inSixEightAllBeatsMovesTheFirstFourBeatsOfTheBar)
{
    setSignature (6, 8);
    setGroove ("All beats", "1.00", "0.50");

    // Beats of an eighth note: the first four of each bar are moved by a quarter of a quarter
    // note, the fifth and sixth not.
    const double expected[] = { -0.25, 0.25, 0.75, 1.25, 2.0, 2.5 };

    for (int bar = 0; bar < 2; ++bar)
        for (int beat = 0; beat < 6; ++beat)
            EXPECT_NEAR (groove.warp (3.0 * bar + 0.5 * beat), 3.0 * bar + expected[beat], 1.0e-12) << bar << "/" << beat;
}

TEST_F (GrooveFixture, groovedTimeNeverJumpsWhereAWideZoneMeetsAnUnselectedBeat)
{
    // In 6/8 a width of 1 reaches past the midpoint to the next beat; the zone ends there, so
    // grooved time runs on without a jump (no grid point skipped) and never back (none twice).
    setSignature (6, 8);

    for (const char* amount : { "1.00", "-1.00", "0.60" })
    {
        setGroove ("Beat 1", amount, "1.00");
        const double step = 1.0 / 1024.0;
        double previous = groove.warp (-3.0);

        for (double t = -3.0 + step; t <= 6.0; t += step)
        {
            const double grooved = groove.warp (t);
            ASSERT_GE (grooved, previous - 1.0e-12) << amount << " at " << t;
            ASSERT_LE (grooved - previous, 2.0 * step + 1.0e-12) << amount << " at " << t;
            previous = grooved;
        }
    }
}

TEST_F (GrooveFixture, theWarpedSongPositionCountsWholeSamples)
{
    path.setTempo (133.5);
    path.start();
    host.deliver();
    auto& counter = transport;

    // Groove off: the grooved position is the song position, whole samples without rounding
    // a sample short.
    for (int block = 0; block < 200; ++block)
    {
        const double start = counter.getSampleCounter();
        host.processBlock (441);
        EXPECT_EQ (groove.warpedSamplePosition(), start) << block;
    }
}
