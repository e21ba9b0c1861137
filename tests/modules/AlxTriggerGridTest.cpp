#include "modules/AlxGrooveModule.h"
#include "modules/AlxTriggerModule.h"
#include "support/AlxNotePath.h"

#include <gtest/gtest.h>

#include <random>

// Every grid point fires exactly once, at the sample where grooved time reaches it, whatever the
// tempo, step, groove and block sizes: the generated notes are compared with positions worked
// out here in exact rational arithmetic.

namespace
{
    __extension__ typedef __int128 Int128;

    Int128 gcdOf (Int128 a, Int128 b)
    {
        a = a < 0 ? -a : a;
        b = b < 0 ? -b : b;

        while (b != 0)
        {
            const Int128 r = a % b;
            a = b;
            b = r;
        }

        return a;
    }

    // An exact fraction.
    struct Exact
    {
        Int128 num = 0, den = 1;

        Exact() = default;
        Exact (Int128 n, Int128 d = 1)
        {
            if (d < 0)
            {
                n = -n;
                d = -d;
            }

            const Int128 g = gcdOf (n, d);
            num = g > 1 ? n / g : n;
            den = g > 1 ? d / g : d;
        }

        friend Exact operator+ (Exact a, Exact b) { return { a.num * b.den + b.num * a.den, a.den * b.den }; }
        friend Exact operator- (Exact a, Exact b) { return { a.num * b.den - b.num * a.den, a.den * b.den }; }
        friend Exact operator* (Exact a, Exact b) { return { a.num * b.num, a.den * b.den }; }
        friend Exact operator/ (Exact a, Exact b) { return { a.num * b.den, a.den * b.num }; }
        friend bool operator< (Exact a, Exact b) { return a.num * b.den < b.num * a.den; }
        friend bool operator<= (Exact a, Exact b) { return ! (b < a); }
        friend bool operator== (Exact a, Exact b) { return a.num == b.num && a.den == b.den; }

        Int128 floor() const { return num >= 0 ? num / den : -((-num + den - 1) / den); }
        Int128 ceil() const { return -Exact (-num, den).floor(); }
        Exact abs() const { return { num < 0 ? -num : num, den }; }
    };

    struct Groove
    {
        const char* pattern;
        int bits;
        int amountHundredths;   // -100 ... 100
        int widthHundredths;    // 0 ... 100
    };

    // Grooved time of t in 4/4, worked out exactly: at a selected beat time moves by half the
    // amount, fading out linearly to no shift at half the width (at most halfway to the next
    // beat); the shift never exceeds that half-width.
    Exact warpExact (Exact t, const Groove& groove)
    {
        Int128 beat = t.floor();

        if (! (t - Exact (beat) < Exact (beat + 1) - t))
            ++beat;

        const int inBar = (int) (((beat % 4) + 4) % 4);

        if (((groove.bits >> inBar) & 1) == 0)
            return t;

        const Exact halfWidth = groove.widthHundredths < 100 ? Exact (groove.widthHundredths, 200) : Exact (1, 2);
        Exact shift (groove.amountHundredths, 200);

        if (halfWidth < shift.abs())
            shift = groove.amountHundredths >= 0 ? halfWidth : Exact (0) - halfWidth;

        const Exact distance = (t - Exact (beat)).abs();

        if (halfWidth == Exact (0) || halfWidth < distance)
            return t;

        return t - (Exact (1) - distance / halfWidth) * shift;
    }

    // A song on one tempo and sample rate, with sample positions as exact song times.
    struct Song
    {
        int sampleRate;
        Exact bpm;

        Exact quarterOf (Int128 sample) const { return Exact (sample) * bpm / Exact (60 * sampleRate); }
        Exact samplesPerQuarter() const { return Exact (60 * sampleRate) / bpm; }
        // A millionth of a sample, in quarter notes: the trigger counts a point as reached from
        // the sample whose grooved time lies that close before it.
        Exact absorbed() const { return quarterOf (1) / Exact (1000000); }

        // The last sample whose grooved time does not pass target, or -1 when even sample 0's does.
        Int128 lastSampleNotPast (Exact target, const Groove& groove) const
        {
            const Exact reach = target + absorbed();

            if (reach < warpExact (Exact (0), groove))
                return -1;

            // The groove moves time by half a quarter note at most.
            Int128 low = std::max ((Int128) 0, ((target - Exact (1)) * samplesPerQuarter()).floor());
            Int128 high = ((target + Exact (1)) * samplesPerQuarter()).ceil();

            while (high - low > 1)
            {
                const Int128 middle = low + (high - low) / 2;
                (warpExact (quarterOf (middle), groove) <= reach ? low : high) = middle;
            }

            return low;
        }
    };

    struct Tempo
    {
        double bpm;
        Exact exactBpm;
        int sampleRate;
    };

    struct Step
    {
        const char* text;
        Exact quarters;
    };

    using Positions = std::vector<juce::int64>;

    // Note-ons and note-offs of a held note until sample total, gate 90 %. A groove that makes
    // the first beat late starts the song at a negative grooved time, so grid points up to half
    // a quarter note before 0 may fire as well.
    void expectedNotes (const Song& song, const Step& step, const Groove& groove, juce::int64 total,
                        Positions& ons, Positions& offs)
    {
        for (Int128 m = -(Exact (1, 2) / step.quarters).ceil();; ++m)
        {
            const Exact time = Exact (m) * step.quarters;
            const Int128 on = song.lastSampleNotPast (time, groove);

            if (on >= total)
                break;

            if (on < 0)
                continue;

            ons.push_back ((juce::int64) on);
            offs.push_back ((juce::int64) song.lastSampleNotPast (time + Exact (9, 10) * step.quarters, groove));
        }

        std::sort (offs.begin(), offs.end());
    }

    // Where two position lists first differ, for a readable failure.
    ::testing::AssertionResult samePositions (const Positions& actual, const Positions& expected)
    {
        for (size_t i = 0; i < std::min (actual.size(), expected.size()); ++i)
            if (actual[i] != expected[i])
                return ::testing::AssertionFailure() << "position " << i << ": " << actual[i] << " instead of " << expected[i];

        if (actual.size() != expected.size())
            return ::testing::AssertionFailure() << actual.size() << " positions instead of " << expected.size();

        return ::testing::AssertionSuccess();
    }

    // Block sizes from 1 to 4096: a quarter of them tiny, a quarter small, the rest large.
    std::function<int()> mixedBlockSizes (unsigned seed)
    {
        auto random = std::make_shared<std::mt19937> (seed);

        return [random]
        {
            const auto pick = [&] (int low, int high) { return std::uniform_int_distribution<int> (low, high) (*random); };
            const int kind = pick (0, 3);
            return kind == 0 ? pick (1, 8) : kind == 1 ? pick (9, 256) : pick (257, 4096);
        };
    }

    // Single samples at first, where the song starts and the groove bends the first beat, then
    // the largest blocks.
    std::function<int()> singleSamplesThenLarge (juce::int64 singles)
    {
        auto count = std::make_shared<juce::int64> (0);
        return [count, singles] { return (*count)++ < singles ? 1 : 4096; };
    }
}

TEST (AlxTriggerExactGrid, everyGridPointFiresOnceAtItsExactSampleWhateverTheBlocks)
{
    const Tempo tempos[] = { { 60.0, Exact (60), 48000 }, { 120.0, Exact (120), 44100 },
                             { 133.5, Exact (267, 2), 44100 }, { 999.0, Exact (999), 48000 } };
    const Step steps[] = { { "1/16", Exact (1, 4) }, { "1/8T", Exact (1, 3) }, { "1/64", Exact (1, 16) } };
    const Groove grooves[] = {
        { "Off", 0, 0, 100 },
        { "Beat 2", 2, 100, 100 },      // grooved time stands still before the second beat
        { "Beat 1", 1, -50, 100 },      // the first beat early, the song starting after grid point 0
        { "All beats", 15, 40, 60 },
        { "Odd beats", 5, -100, 50 },   // grooved time stands still after the first and third beats
    };
    const int bars = 6;
    unsigned seed = 1;

    for (int rate : { 44100, 48000 })
    {
        AlxTestHost host (rate);
        AlxNotePath path (host);
        auto& root = host.getRoot();
        auto& trigger = *root.getTriggerModule();
        auto& groove = *root.getGrooveModule();
        path.hold ({ 60 });

        for (auto& tempo : tempos)
        {
            if (tempo.sampleRate != rate)
                continue;

            const Song song { rate, tempo.exactBpm };
            const auto total = (juce::int64) (Exact (4 * bars) * song.samplesPerQuarter()).floor();

            for (auto& step : steps)
            {
                for (auto& g : grooves)
                {
                    path.select (trigger.getStepParameter(), step.text);
                    path.select (groove.getPatternParameter(), g.pattern);
                    path.select (groove.getAmountParameter(), juce::String (g.amountHundredths / 100.0, 2));
                    path.select (groove.getWidthParameter(), juce::String (g.widthHundredths / 100.0, 2));

                    Positions expectedOns, expectedOffs;
                    expectedNotes (song, step, g, total, expectedOns, expectedOffs);
                    ASSERT_GT (expectedOns.size(), (size_t) (4 * bars - 1));

                    for (int pattern = 0; pattern < 2; ++pattern)
                    {
                        SCOPED_TRACE (juce::String (tempo.bpm) + " bpm, " + step.text + ", " + g.pattern + " "
                                      + juce::String (g.amountHundredths) + "/" + juce::String (g.widthHundredths)
                                      + (pattern == 0 ? ", mixed blocks" : ", single samples"));
                        path.setTempo (tempo.bpm);
                        path.start();
                        const auto notes = path.run (total, pattern == 0 ? mixedBlockSizes (seed++)
                                                                         : singleSamplesThenLarge (3000));

                        EXPECT_TRUE (samePositions (AlxNotePath::samples (notes, true), expectedOns));
                        EXPECT_TRUE (samePositions (AlxNotePath::samples (notes, false), expectedOffs));
                        ASSERT_EQ (path.getMisplacedNoteOns(), 0);
                    }
                }
            }
        }
    }
}
