#include "modules/AlxBlockTimeline.h"

#include <cmath>

AlxBlockTimeline::AlxBlockTimeline (const AlxGrooveModule& groove_, const AlxGrooveModule::Settings& settings,
                                    double startSample_, double startQuarter_, double sampleRate_, double bpm_,
                                    bool counted_)
    : groove (groove_), grooveSettings (settings), startSample (startSample_), startQuarter (startQuarter_), sampleRate (sampleRate_),
      bpm (bpm_), samplesPerQuarter (sampleRate_ / (bpm_ / 60.0)), counted (counted_),
      monotonic (! grooveSettings.isModulated())
{
}

double AlxBlockTimeline::quarterOfSample (double sample, double rate, double tempo)
{
    return sample / rate * (tempo / 60.0);
}

double AlxBlockTimeline::quarterAt (juce::int64 offset) const
{
    return counted ? quarterOfSample (startSample + (double) offset, sampleRate, bpm)
                   : startQuarter + (double) offset / samplesPerQuarter;
}

double AlxBlockTimeline::groovedAt (juce::int64 offset) const
{
    return groove.warp (quarterAt (offset), grooveSettings) - absorbedSamples / samplesPerQuarter;
}

AlxBlockTimeline::Point AlxBlockTimeline::lastNotPast (double target, Point a, Point b) const
{
    if (a.grooved > target)
        return a;

    if (b.grooved <= target)
        return b;

    if (monotonic)
        return narrow (target, a, b);

    // A bracket over a step of the LFO could close around a later crossing; taken in order, the
    // stretches of steady settings find the first. Each round looks at the samples after a up to
    // the end of the stretch they start (a's own stretch on the first round): grooved time does
    // not fall back among them, so where the stretch's last sample passes target, the bracket
    // from a to it holds the crossing, and a jump of grooved time at the stretch's start is found
    // by the same narrowing.
    for (auto from = a.offset; b.offset - a.offset > 1; from = a.offset + 1)
    {
        // The last sample of the stretch that from lies in; from itself where the stretch ends
        // there or where no stretch is known.
        const auto end = lastBefore (groove.steadyUntil (quarterAt (from), grooveSettings), from, b.offset);

        if (end == a.offset)
            continue;

        const auto last = at (end);

        if (last.grooved > target)
            return narrow (target, a, last);

        a = last;
    }

    return a;
}

AlxBlockTimeline::Point AlxBlockTimeline::narrow (double target, Point a, Point b) const
{
    // Guesses by interpolation, which lands on the answer or next to it where time runs
    // linearly; every other step after the first two halves the bracket, so a bent stretch
    // costs a few more evaluations, never a long walk.
    for (int step = 0; b.offset - a.offset > 1; ++step)
    {
        const bool halve = step >= 2 && (step & 1) == 1;
        const auto span = b.offset - a.offset;
        auto guess = halve ? a.offset + span / 2
                           : a.offset + (juce::int64) std::floor ((target - a.grooved) / (b.grooved - a.grooved) * (double) span + 0.5);
        guess = juce::jlimit (a.offset + 1, b.offset - 1, guess);
        const auto p = at (guess);
        (p.grooved <= target ? a : b) = p;
    }

    return a;
}

juce::int64 AlxBlockTimeline::lastBefore (double time, juce::int64 a, juce::int64 b) const
{
    if (quarterAt (b - 1) < time)
        return b - 1;

    // Song time runs linearly with the samples; the guess is corrected for rounding.
    auto k = a + (juce::int64) juce::jlimit (0.0, (double) (b - a), std::floor ((time - quarterAt (a)) * samplesPerQuarter));
    k = juce::jlimit (a, b - 1, k);

    while (k > a && ! (quarterAt (k) < time))
        --k;

    while (k + 1 < b && quarterAt (k + 1) < time)
        ++k;

    return k;
}

AlxBlockTimeline::Point AlxBlockTimeline::beyond (double target) const
{
    const double quarters = target + 0.5 - quarterAt (0);
    return at ((juce::int64) std::ceil (quarters * samplesPerQuarter) + 2);
}
