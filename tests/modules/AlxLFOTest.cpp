#include "modules/AlxLFO.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <cmath>
#include <limits>

namespace
{
    constexpr std::uint64_t seed = 0x1234ABCD5678ULL;

    // The noise values an LFO seeded with `seed` must hold, from the C library's own drand48
    // generator: the top 32 of its 48 state bits, as a fraction.
    std::vector<double> referenceNoise()
    {
        unsigned short state[3] = { (unsigned short) (seed & 0xffff), (unsigned short) ((seed >> 16) & 0xffff),
                                    (unsigned short) ((seed >> 32) & 0xffff) };
        std::vector<double> values;

        for (int i = 0; i < AlxLFO::randomTableSize; ++i)
            values.push_back (std::floor (erand48 (state) * 4294967296.0) / 4294967296.0);

        return values;
    }

    // The time of table step i of an LFO, a little into the step so rounding cannot move it.
    double stepTime (const AlxLFO& lfo, int i)
    {
        return (i + 0.25) * lfo.getCycleLength() / lfo.getTableSize();
    }
}

TEST (AlxLFO, defaultsRiseOverOneBarAndFallBackAtTheBarLine)
{
    AlxLFO lfo (seed);
    EXPECT_EQ (lfo.getTableSize(), 512);
    EXPECT_EQ (lfo.getCycleLength(), 4.0);

    EXPECT_EQ (lfo.valueAt (0.0), 0.0);
    EXPECT_DOUBLE_EQ (lfo.valueAt (2.0), 256.0 / 511.0);
    EXPECT_EQ (lfo.valueAt (3.995), 1.0) << "the last table sample";
    EXPECT_EQ (lfo.valueAt (4.0), 0.0);
    EXPECT_DOUBLE_EQ (lfo.valueAt (4.0 / 512.0), 1.0 / 511.0) << "one table step";
    EXPECT_DOUBLE_EQ (lfo.valueAt (-1.0), 384.0 / 511.0) << "times before the song start continue the cycle";
}

namespace
{
    struct FrequencyCase
    {
        int unit;
        double frequency;
        int numerator, denominator;
        double cycleLength;
    };

    class AlxLFOFrequency : public ::testing::TestWithParam<FrequencyCase> {};

    const FrequencyCase frequencyCases[] = {
        { AlxLFO::perBar, 1.0, 4, 4, 4.0 },
        { AlxLFO::perBeat, 0.5, 4, 4, 2.0 },
        { AlxLFO::perQuarter, 2.0, 4, 4, 0.5 },
        { AlxLFO::perBar, 1.0, 3, 4, 3.0 },
        { AlxLFO::perBar, 2.0, 6, 8, 1.5 },
        { AlxLFO::perBeat, 1.0, 6, 8, 0.5 },
        { AlxLFO::perBeat, 1.0 / 32.0, 4, 4, 32.0 },
        { AlxLFO::perQuarter, 32.0, 7, 8, 1.0 / 32.0 },
    };
}

TEST_P (AlxLFOFrequency, cycleLengthFollowsUnitFrequencyAndSignature)
{
    const auto& c = GetParam();
    AlxLFO lfo (seed);
    lfo.setTimeSignature (c.numerator, c.denominator, false);
    lfo.setFrequency (c.frequency, c.unit);

    EXPECT_DOUBLE_EQ (lfo.getCycleLength(), c.cycleLength);
    EXPECT_DOUBLE_EQ (lfo.getFrequencyIn (c.unit), c.frequency);
    EXPECT_EQ (lfo.getFrequencyIn (7), 0.0);

    // One rising ramp per cycle.
    const int last = lfo.getTableSize() - 1;
    EXPECT_EQ (lfo.valueAt (stepTime (lfo, 0)), 0.0);
    EXPECT_EQ (lfo.valueAt (stepTime (lfo, last)), 1.0);
    EXPECT_EQ (lfo.valueAt (stepTime (lfo, 0) + c.cycleLength), 0.0);
    EXPECT_EQ (lfo.valueAt (stepTime (lfo, last) + 3 * c.cycleLength), 1.0);
}

INSTANTIATE_TEST_SUITE_P (Cases, AlxLFOFrequency, ::testing::ValuesIn (frequencyCases));

TEST (AlxLFO, frequencyPerQuarterIgnoresTheSignature)
{
    AlxLFO lfo (seed);
    lfo.setFrequency (2.0, AlxLFO::perQuarter);
    lfo.setTimeSignature (3, 4, false);
    EXPECT_EQ (lfo.getCycleLength(), 0.5);
    EXPECT_DOUBLE_EQ (lfo.getFrequencyIn (AlxLFO::perBar), 6.0);
    EXPECT_DOUBLE_EQ (lfo.getFrequencyIn (AlxLFO::perBeat), 2.0);
}

TEST (AlxLFO, tableSizeIsAWholeNumberOfBeatsBelow512)
{
    struct Case { int numerator, denominator, size; };

    for (auto c : { Case { 4, 4, 512 }, Case { 3, 4, 510 }, Case { 7, 8, 511 }, Case { 5, 4, 510 }, Case { 99, 4, 495 } })
    {
        AlxLFO lfo (seed);
        lfo.setTimeSignature (c.numerator, c.denominator, false);
        EXPECT_EQ (lfo.getTableSize(), c.size) << c.numerator << "/" << c.denominator;
        EXPECT_EQ ((int) lfo.getTable().size(), c.size);
        EXPECT_EQ (lfo.getTable().back(), 1.0) << "the ramp still ends at the top";
    }
}

TEST (AlxLFO, impossibleSignaturesAndFrequenciesAreIgnored)
{
    AlxLFO lfo (seed);
    lfo.setTimeSignature (0, 4, true);
    lfo.setTimeSignature (3, 0, true);
    lfo.setTimeSignature (-3, 4, false);
    lfo.setFrequency (0.0, AlxLFO::perBeat);
    lfo.setFrequency (-2.0, AlxLFO::perBeat);
    lfo.setFrequency (std::numeric_limits<double>::quiet_NaN(), AlxLFO::perBeat);

    int numerator = 0, denominator = 0;
    lfo.getTimeSignature (numerator, denominator);
    EXPECT_EQ (numerator, 4);
    EXPECT_EQ (denominator, 4);
    EXPECT_EQ (lfo.getFrequency(), 1.0);
    EXPECT_EQ (lfo.getFrequencyUnit(), AlxLFO::perBar);
    EXPECT_EQ (lfo.getCycleLength(), 4.0);

    for (double t : { std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), -1.0e300, 1.0e300 })
    {
        const double v = lfo.valueAt (t);
        EXPECT_TRUE (v >= 0.0 && v <= 1.0) << t;
    }
}

TEST (AlxLFO, phaseShiftsTheCurveByPartsOfACycle)
{
    AlxLFO shifted (seed), plain (seed);
    shifted.setPhase (0.5);

    for (int i = 0; i < 512; i += 7)
    {
        const double t = stepTime (plain, i);
        EXPECT_EQ (shifted.valueAt (t), plain.valueAt (t + plain.getCycleLength() / 2)) << "step " << i;
    }

    // A phase below zero counts back from the end of the cycle.
    shifted.setPhase (-0.25);
    EXPECT_EQ (shifted.valueAt (0.0), plain.valueAt (3.0));
}

TEST (AlxLFO, squareIsHighForThePulseWidth)
{
    AlxLFO lfo (seed);
    lfo.setPulseWidth (0.25);
    EXPECT_EQ (lfo.getTable()[200], 200.0 / 511.0) << "the pulse width shapes only the square";

    lfo.setWaveform (AlxLFO::square);

    for (int i = 0; i < 512; ++i)
        ASSERT_EQ (lfo.valueAt (stepTime (lfo, i)), i < 128 ? 1.0 : 0.0) << "step " << i;

    lfo.setPulseWidth (0.75);
    EXPECT_EQ (lfo.valueAt (stepTime (lfo, 383)), 1.0);
    EXPECT_EQ (lfo.valueAt (stepTime (lfo, 384)), 0.0);
}

TEST (AlxLFO, levelTwoClipsTheTriangleFromAQuarterToThreeQuartersOfTheCycle)
{
    AlxLFO lfo (seed);
    lfo.setWaveform (AlxLFO::triangle);
    lfo.setLevel (2.0);

    EXPECT_EQ (lfo.valueAt (0.0), 0.0);

    for (int i = 0; i < 512; ++i)
    {
        const double v = lfo.valueAt (stepTime (lfo, i));

        if (i >= 128 && i <= 383)
            ASSERT_EQ (v, 1.0) << "step " << i;
        else
            ASSERT_LT (v, 1.0) << "step " << i;
    }
}

TEST (AlxLFO, dcOffsetLiftsOrLowersTheWholeCurve)
{
    AlxLFO lfo (seed);
    std::vector<double> values;

    lfo.setDcOffset (-1.0);
    lfo.sample (0.0, 4.0, 4.0 / 512.0, values, false);
    ASSERT_EQ (values.size(), 512u);
    EXPECT_EQ (*std::max_element (values.begin(), values.end()), 0.0);

    lfo.setDcOffset (1.0);
    lfo.sample (0.0, 4.0, 4.0 / 512.0, values, false);
    EXPECT_EQ (*std::min_element (values.begin(), values.end()), 1.0);
}

TEST (AlxLFO, fullDeviationOnAFlatZeroLevelIsTheNoiseOfEachTableStep)
{
    const auto reference = referenceNoise();
    AlxLFO lfo (seed);
    lfo.setWaveform (AlxLFO::flat);
    lfo.setLevel (0.0);
    lfo.setDeviation (1.0);

    int zeros = 0;
    const int steps = 2 * AlxLFO::randomTableSize;

    for (int k = 0; k < steps; ++k)
    {
        const double r = reference[(size_t) (k % AlxLFO::randomTableSize)];
        const double v = lfo.valueAt (stepTime (lfo, k));
        ASSERT_DOUBLE_EQ (v, juce::jlimit (0.0, 1.0, (r - 0.5) * 1.5)) << "step " << k;
        ASSERT_LT (v, 0.75);
        zeros += v == 0.0 ? 1 : 0;
    }

    EXPECT_GT (zeros, steps / 3);
    EXPECT_LT (zeros, 2 * steps / 3);
}

TEST (AlxLFO, noiseBeforeTheSongStartStaysInTheTable)
{
    const auto reference = referenceNoise();
    AlxLFO lfo (seed);
    const double step = 4.0 / 512.0;

    // Steps before time 0 count as unsigned 64-bit numbers: step -1 is 2^64 - 1.
    const auto minusOne = (size_t) (std::numeric_limits<std::uint64_t>::max() % AlxLFO::randomTableSize);
    EXPECT_EQ (lfo.noiseAt (-1.0 * step), reference[minusOne]);
    EXPECT_EQ (lfo.noiseAt (-0.5 * step), reference[0]) << "truncated toward zero";
    EXPECT_EQ (lfo.noiseAt (1.5 * step), reference[1]);

    for (double t : { -1.0e-9, -3.0, -1.0e6, -1.0e300, std::numeric_limits<double>::quiet_NaN() })
    {
        const double r = lfo.noiseAt (t);
        EXPECT_TRUE (r >= 0.0 && r < 1.0) << t;
    }
}

TEST (AlxLFO, clockSeededGeneratorsDiffer)
{
    AlxLFO first, second;
    first.setDeviation (1.0);
    second.setDeviation (1.0);
    std::vector<double> a, b;
    first.sample (0.0, 8.0, 4.0 / 512.0, a, false);
    second.sample (0.0, 8.0, 4.0 / 512.0, b, false);
    EXPECT_NE (a, b);
}

TEST (AlxLFO, sampleAndGetValuesReadTheCurveAtGivenTimes)
{
    AlxLFO lfo (seed);
    std::vector<double> out { 42.0 };

    lfo.sample (0.0, 4.0, 1.0, out, false);
    EXPECT_EQ (out, (std::vector<double> { 0.0, 128.0 / 511.0, 256.0 / 511.0, 384.0 / 511.0 }));

    lfo.sample (0.0, 4.0, 1.0, out, true);
    EXPECT_EQ (out.size(), 5u);
    EXPECT_EQ (out.back(), 0.0);

    lfo.sample (0.0, 3.6, 1.0, out, false);
    EXPECT_EQ (out.size(), 4u) << "the count is rounded to the nearest whole number";

    for (double badStep : { 0.0, -1.0, std::numeric_limits<double>::quiet_NaN() })
    {
        lfo.sample (0.0, 4.0, badStep, out, true);
        EXPECT_TRUE (out.empty());
    }

    lfo.sample (4.0, 0.0, 1.0, out, false);
    EXPECT_TRUE (out.empty());

    lfo.getValues ({ 2.0, 0.0, 3.995 }, out);
    EXPECT_EQ (out, (std::vector<double> { 256.0 / 511.0, 0.0, 1.0 }));
}

namespace
{
    struct TableCase
    {
        int waveform;
        int size;
        std::vector<double> expected;
    };

    class AlxLFOTable : public ::testing::TestWithParam<TableCase> {};

    const TableCase tableCases[] = {
        { AlxLFO::rampUp, 1, { 0.0 } },
        { AlxLFO::rampDown, 1, { 0.0 } },
        { AlxLFO::rampUp, 3, { 0.0, 0.5, 1.0 } },
        { AlxLFO::rampDown, 3, { 1.0, 0.5, 0.0 } },
        { AlxLFO::triangle, 2, { 0.0, 0.0 } },
        { AlxLFO::triangle, 5, { 0.0, 0.5, 1.0, 0.5, 0.0 } },
        { AlxLFO::triangle, 6, { 0.0, 0.5, 1.0, 1.0, 0.5, 0.0 } },
        { AlxLFO::sine, 2, { 0.0, 0.0 } },
        { AlxLFO::sine, 5, { 0.0, 0.5, 1.0, 0.5, 0.0 } },
        { AlxLFO::square, 4, { 1.0, 1.0, 0.0, 0.0 } },
        { AlxLFO::flat, 3, { 1.0, 1.0, 1.0 } },
        { 17, 3, { 0.25, 0.25, 0.25 } },   // an unknown shape keeps the samples
    };
}

TEST_P (AlxLFOTable, fillTableDrawsOneCycle)
{
    const auto& c = GetParam();
    AlxLFO lfo (seed);
    std::vector<double> samples ((size_t) c.size, 0.25);
    lfo.fillTable (samples, c.waveform, 0.5);

    ASSERT_EQ (samples.size(), c.expected.size());

    for (size_t i = 0; i < samples.size(); ++i)
        EXPECT_NEAR (samples[i], c.expected[i], 1.0e-12) << "sample " << i;
}

INSTANTIATE_TEST_SUITE_P (Cases, AlxLFOTable, ::testing::ValuesIn (tableCases));

TEST (AlxLFO, full512SampleShapes)
{
    AlxLFO lfo (seed);
    const auto& table = lfo.getTable();

    lfo.setWaveform (AlxLFO::triangle);
    EXPECT_EQ (table[255], 1.0);
    EXPECT_EQ (table[256], 1.0);
    EXPECT_EQ (table[511], 0.0);

    lfo.setWaveform (AlxLFO::sine);
    EXPECT_EQ (table[0], 0.0);
    EXPECT_EQ (table[511], 0.0);
    EXPECT_NEAR (table[255], 1.0, 1.0e-4);
    EXPECT_NEAR (table[128], 0.5, 1.0e-2);

    lfo.setWaveform (AlxLFO::rampDown);
    EXPECT_EQ (table[0], 1.0);
    EXPECT_EQ (table[511], 0.0);
}

TEST (AlxLFO, setTableSizeKeepsTableAndSizeTogether)
{
    AlxLFO lfo (seed);
    lfo.setTableSize (0);
    EXPECT_EQ (lfo.getTableSize(), 1);
    EXPECT_EQ (lfo.getTable().size(), 1u);
    EXPECT_EQ (lfo.valueAt (1.0), 0.0);

    lfo.rebuild();
    EXPECT_EQ (lfo.getTableSize(), 512);
    EXPECT_DOUBLE_EQ (lfo.valueAt (2.0), 256.0 / 511.0);
}
