#include "modules/AlxLFO.h"

#include <cmath>
#include <limits>

namespace
{
    double clamp01 (double x)
    {
        return juce::jlimit (0.0, 1.0, x);
    }

    // Where x falls within its unit interval, as an index 0 ... n - 1 of n equal steps.
    // Non-numbers count as 0.
    int stepWithinUnit (double x, int n)
    {
        if (! std::isfinite (x))
            return 0;

        return (int) ((x - std::floor (x)) * n) % n;
    }

    // The 48-bit linear congruential generator of drand48.
    constexpr std::uint64_t lcgMultiplier = 0x5DEECE66DULL;
    constexpr std::uint64_t lcgIncrement = 11;
    constexpr std::uint64_t lcgMask = (std::uint64_t { 1 } << 48) - 1;
}

AlxLFO::AlxLFO() : AlxLFO ((std::uint64_t) juce::Time::getHighResolutionTicks())
{
}

AlxLFO::AlxLFO (std::uint64_t seed) : randomState (seed & lcgMask)
{
    randomTable.reserve (randomTableSize);

    for (int i = 0; i < randomTableSize; ++i)
    {
        randomState = (randomState * lcgMultiplier + lcgIncrement) & lcgMask;
        randomTable.push_back ((double) (randomState >> 16) / 4294967296.0);
    }

    // Room for the largest table, so rebuilds on the audio thread never allocate.
    table.reserve (maxTableSize);
    rebuild();
}

void AlxLFO::setTableSize (int n)
{
    const juce::ScopedLock sl (lock);
    tableSize = juce::jmax (1, n);
    table.assign ((size_t) tableSize, 0.0);
}

void AlxLFO::getValues (const std::vector<double>& times, std::vector<double>& out) const
{
    const juce::ScopedLock sl (lock);
    out.clear();

    for (auto t : times)
        out.push_back (valueAt (t));
}

void AlxLFO::sample (double from, double to, double step, std::vector<double>& out, bool includeEnd) const
{
    const juce::ScopedLock sl (lock);
    out.clear();

    if (! (step > 0.0))
        return;

    const double steps = (to - from) / step + 0.5;

    if (! (steps >= 0.0))
        return;

    const int n = (int) juce::jmin (steps, (double) std::numeric_limits<int>::max() - 1) + (includeEnd ? 1 : 0);

    for (int i = 0; i < n; ++i)
        out.push_back (valueAt (from + i * step));
}

double AlxLFO::valueAt (double t, double& stepLength) const
{
    const juce::ScopedLock sl (lock);
    stepLength = 1.0 / samplesPerQuarterHeld();
    return valueHeld (t);
}

double AlxLFO::valueAt (double t) const
{
    const juce::ScopedLock sl (lock);
    return valueHeld (t);
}

double AlxLFO::valueHeld (double t) const
{
    const int n = tableSize;
    const int index = (stepWithinUnit (t / cycleLength, n) + stepWithinUnit (phase, n)) % n;
    return shapeHeld (table[(size_t) index], t);
}

int AlxLFO::getTableSize() const
{
    return readLocked (tableSize);
}

double AlxLFO::samplesPerQuarter() const
{
    const juce::ScopedLock sl (lock);
    return samplesPerQuarterHeld();
}

double AlxLFO::samplesPerQuarterHeld() const
{
    return tableSize / cycleLength;
}

double AlxLFO::beatLength() const
{
    const juce::ScopedLock sl (lock);
    return 4.0 / denominator;
}

double AlxLFO::barLength() const
{
    const juce::ScopedLock sl (lock);
    return beatLength() * numerator;
}

double AlxLFO::samplesPerBeat() const
{
    const juce::ScopedLock sl (lock);
    return beatLength() * samplesPerQuarter();
}

double AlxLFO::samplesPerBar() const
{
    const juce::ScopedLock sl (lock);
    return barLength() * samplesPerQuarter();
}

double AlxLFO::tablePosition (double t) const
{
    const juce::ScopedLock sl (lock);
    return samplesPerQuarterHeld() * t;
}

double AlxLFO::getCycleLength() const
{
    return readLocked (cycleLength);
}

double AlxLFO::getDcOffset() const
{
    return readLocked (dcOffset);
}

void AlxLFO::setDcOffset (double offset)
{
    writeLocked (dcOffset, offset);
}

double AlxLFO::getPhase() const
{
    return readLocked (phase);
}

void AlxLFO::setPhase (double newPhase)
{
    writeLocked (phase, newPhase);
}

double AlxLFO::getLevel() const
{
    return readLocked (level);
}

void AlxLFO::setLevel (double newLevel)
{
    writeLocked (level, newLevel);
}

double AlxLFO::getDeviation() const
{
    return readLocked (deviation);
}

void AlxLFO::setDeviation (double newDeviation)
{
    writeLocked (deviation, newDeviation);
}

int AlxLFO::getWaveform() const
{
    return readLocked (waveform);
}

void AlxLFO::setWaveform (int newWaveform)
{
    const juce::ScopedLock sl (lock);

    if (newWaveform == waveform)
        return;

    waveform = newWaveform;
    fillTable (table, waveform, pulseWidth);
}

void AlxLFO::setPulseWidth (double width)
{
    const juce::ScopedLock sl (lock);

    if (width == pulseWidth)
        return;

    pulseWidth = width;

    if (waveform == square)
        fillTable (table, waveform, pulseWidth);
}

double AlxLFO::getPulseWidth() const
{
    return readLocked (pulseWidth);
}

void AlxLFO::getTimeSignature (int& numeratorOut, int& denominatorOut) const
{
    const juce::ScopedLock sl (lock);
    numeratorOut = numerator;
    denominatorOut = denominator;
}

void AlxLFO::setTimeSignature (int newNumerator, int newDenominator, bool force)
{
    const juce::ScopedLock sl (lock);

    // A zero or negative signature has no beat length; the generator keeps the one it has.
    if (newNumerator < 1 || newDenominator < 1)
        return;

    const bool changed = force || newNumerator != numerator || newDenominator != denominator;
    numerator = newNumerator;
    denominator = newDenominator;

    if (changed && (frequencyUnit == perBar || frequencyUnit == perBeat))
        recompute();
}

void AlxLFO::setFrequency (double newFrequency, int unit)
{
    const juce::ScopedLock sl (lock);

    // A cycle needs a positive, finite length.
    if (! (newFrequency > 0.0) || ! std::isfinite (newFrequency))
        return;

    frequency = newFrequency;
    frequencyUnit = unit;
    recompute();
}

double AlxLFO::getFrequency() const
{
    return readLocked (frequency);
}

double AlxLFO::getFrequencyIn (int unit) const
{
    const juce::ScopedLock sl (lock);

    switch (unit)
    {
        case perBar:     return barLength() / cycleLength;
        case perBeat:    return beatLength() / cycleLength;
        case perQuarter: return 1.0 / cycleLength;
        default:         return 0.0;
    }
}

int AlxLFO::getFrequencyUnit() const
{
    return readLocked (frequencyUnit);
}

double AlxLFO::noiseAt (double t) const
{
    const juce::ScopedLock sl (lock);
    return noiseHeld (t);
}

double AlxLFO::noiseHeld (double t) const
{
    // Whole table steps since time 0, truncated toward zero. A step before time 0 counts as an
    // unsigned number (k + 2^64), so the index always lies in the table.
    const double position = samplesPerQuarterHeld() * t;
    const double limit = 4611686018427387904.0; // 2^62: beyond any song, within int64
    const auto k = std::isfinite (position) ? (std::int64_t) juce::jlimit (-limit, limit, position) : std::int64_t { 0 };
    return randomTable[(size_t) ((std::uint64_t) k % (std::uint64_t) randomTableSize)];
}

void AlxLFO::fillTable (std::vector<double>& samples, int shapeNumber, double width) const
{
    const int n = (int) samples.size();

    if (n == 0)
        return;

    const auto last = (size_t) n - 1;

    switch (shapeNumber)
    {
        case rampUp:
        case rampDown:
        {
            if (n == 1)
            {
                samples[0] = 0.0;
                break;
            }

            const bool rising = shapeNumber == rampUp;

            for (int i = 0; i < n; ++i)
            {
                const double r = (double) i / (n - 1);
                samples[(size_t) i] = clamp01 (rising ? r : 1.0 - r);
            }

            samples[0] = rising ? 0.0 : 1.0;
            samples[last] = rising ? 1.0 : 0.0;
            break;
        }

        case triangle:
        {
            if (n < 3)
            {
                std::fill (samples.begin(), samples.end(), 0.0);
                break;
            }

            // Odd sizes peak on one sample, even sizes on the two middle ones.
            const double d = (n % 2 != 0) ? n - 1 : n - 2;
            const int h = n / 2;

            for (int i = 0; i < n; ++i)
                samples[(size_t) i] = i < h ? clamp01 (i * 2 / d) : clamp01 (1.0 - (i - h) * 2 / d);
            break;
        }

        case sine:
        {
            if (n < 3)
            {
                std::fill (samples.begin(), samples.end(), 0.0);
                break;
            }

            // Starts at 0 and peaks mid-cycle.
            for (int i = 0; i < n; ++i)
                samples[(size_t) i] = clamp01 (std::sin (i * juce::MathConstants<double>::twoPi / (n - 1)
                                                         + 1.5 * juce::MathConstants<double>::pi) * 0.5 + 0.5);

            samples[0] = 0.0;
            samples[last] = 0.0;
            break;
        }

        case square:
        {
            // Widths beyond the cycle (or not a number) are held at its ends.
            const double edge = n * width;
            const int high = edge > 0.0 ? (int) juce::jmin (edge, (double) n) : 0;

            for (int i = 0; i < n; ++i)
                samples[(size_t) i] = i < high ? 1.0 : 0.0;
            break;
        }

        case flat:
            std::fill (samples.begin(), samples.end(), 1.0);
            break;

        default:
            // An unknown waveform keeps the samples it has.
            break;
    }
}

double AlxLFO::shape (double tableValue, double t) const
{
    const juce::ScopedLock sl (lock);
    return shapeHeld (tableValue, t);
}

double AlxLFO::shapeHeld (double tableValue, double t) const
{
    const double shaped = clamp01 (tableValue * level + dcOffset);
    return clamp01 (shaped + (noiseHeld (t) - 0.5) * deviation * 1.5);
}

void AlxLFO::recompute()
{
    switch (frequencyUnit)
    {
        case perBar:     cycleLength = barLength() / frequency; break;
        case perBeat:    cycleLength = beatLength() / frequency; break;
        case perQuarter: cycleLength = 1.0 / frequency; break;
        default:         break;
    }

    rebuild();
}

void AlxLFO::rebuild()
{
    const juce::ScopedLock sl (lock);
    setTableSize ((maxTableSize / numerator) * numerator);
    fillTable (table, waveform, pulseWidth);
}
