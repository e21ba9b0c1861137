#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>
#include <vector>

// A low-frequency control signal as a pure function of musical time: valueAt(t) gives the level
// (0 ... 1) at t quarter notes. Nothing runs between calls, so any time can be asked for in any
// order, by the audio thread and by views drawing the curve.
//
// One waveform cycle is held as a table of samples; the frequency is counted per bar, per beat
// or per quarter note and follows the time signature. Level, DC offset and noise shape the table
// value, with clipping to 0 ... 1 after each step.
//
// Every call takes the generator's own lock; callers that need several calls to agree (push the
// time signature, then read values) hold getLock around them.
class AlxLFO
{
public:
    enum Waveform
    {
        rampUp = 0,
        rampDown = 1,
        triangle = 2,
        sine = 3,
        square = 4,
        flat = 5
    };

    enum FrequencyUnit
    {
        perBar = 0,
        perBeat = 1,
        perQuarter = 2
    };

    static constexpr int maxTableSize = 512;
    static constexpr int randomTableSize = 1021;

    // Seeds the noise from the process clock.
    AlxLFO();
    // Seeds the noise with the given 48-bit generator state.
    explicit AlxLFO (std::uint64_t seed);
    virtual ~AlxLFO() = default;

    // Resizes the table to n zero samples (at least one).
    virtual void setTableSize (int n);
    virtual void getValues (const std::vector<double>& times, std::vector<double>& out) const;
    // Values at from, from + step, ... : (to - from) / step values rounded to the nearest whole
    // number, plus one when includeEnd is set.
    virtual void sample (double from, double to, double step, std::vector<double>& out, bool includeEnd) const;
    virtual const std::vector<double>& getTable() const { return table; }
    virtual double valueAt (double t) const;
    // valueAt(t), and the length of the table step it comes from (quarter notes): the level holds
    // from one whole multiple of that length to the next.
    virtual double valueAt (double t, double& stepLength) const;
    virtual int getTableSize() const;
    virtual double samplesPerQuarter() const;
    virtual double beatLength() const;
    virtual double barLength() const;
    virtual double samplesPerBeat() const;
    virtual double samplesPerBar() const;
    virtual double tablePosition (double t) const;
    virtual double getCycleLength() const;
    virtual double getDcOffset() const;
    virtual void setDcOffset (double offset);
    virtual double getPhase() const;
    virtual void setPhase (double newPhase);
    virtual double getLevel() const;
    virtual void setLevel (double newLevel);
    virtual double getDeviation() const;
    virtual void setDeviation (double newDeviation);
    virtual int getWaveform() const;
    virtual void setWaveform (int newWaveform);
    virtual void setPulseWidth (double width);
    virtual double getPulseWidth() const;
    virtual void getTimeSignature (int& numeratorOut, int& denominatorOut) const;
    // Signatures with a part below 1 are ignored.
    virtual void setTimeSignature (int newNumerator, int newDenominator, bool force);
    // A frequency that is not a positive number is ignored.
    virtual void setFrequency (double newFrequency, int unit);
    virtual double getFrequency() const;
    // Cycles per bar, per beat or per quarter note (units 0, 1, 2); 0 for any other unit.
    virtual double getFrequencyIn (int unit) const;
    virtual int getFrequencyUnit() const;
    virtual const juce::CriticalSection& getLock() const { return lock; }
    // The noise value (0 ... 1) of the table step t lies in. It is held for one table step and,
    // counted from time 0 rather than within the cycle, does not repeat with the cycle.
    virtual double noiseAt (double t) const;
    virtual void fillTable (std::vector<double>& samples, int shapeNumber, double width) const;
    // Level, DC offset and noise applied to a table value, each clipped to 0 ... 1.
    virtual double shape (double tableValue, double t) const;
    virtual void rebuild();

private:
    // What valueAt, samplesPerQuarter, noiseAt and shape give, for callers that hold the lock: a
    // value read at every sample then takes the lock once.
    double valueHeld (double t) const;
    double samplesPerQuarterHeld() const;
    double noiseHeld (double t) const;
    double shapeHeld (double tableValue, double t) const;
    void recompute();
    // A field read or written under the generator's lock, for the plain getters and setters.
    template <typename Field>
    Field readLocked (const Field& field) const
    {
        const juce::ScopedLock sl (lock);
        return field;
    }
    template <typename Field>
    void writeLocked (Field& field, Field value)
    {
        const juce::ScopedLock sl (lock);
        field = value;
    }

    std::vector<double> table;
    int tableSize = maxTableSize;
    double cycleLength = 4.0;
    double level = 1.0;
    double dcOffset = 0.0;
    double phase = 0.0;
    double deviation = 0.0;
    int waveform = rampUp;
    double pulseWidth = 0.5;
    int frequencyUnit = perBar;
    double frequency = 1.0;
    int numerator = 4;
    int denominator = 4;
    std::uint64_t randomState;
    std::vector<double> randomTable;
    juce::CriticalSection lock;

    JUCE_DECLARE_NON_COPYABLE (AlxLFO)
};
