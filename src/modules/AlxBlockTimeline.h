#pragma once

#include "modules/AlxGrooveModule.h"

// Where the samples of one block lie in time: sample k of the block (k may run past the block's
// end, as note-offs do) lies at song time quarterAt(k) and at grooved time groovedAt(k), both in
// quarter notes.
//
// On the transport's own clock a sample's song time comes from its absolute sample count,
// computed exactly as the transport computes its song position; so the end of one block is
// bit for bit the start of the next, and a sample's time does not depend on how the samples
// were cut into blocks. A host's blocks count from the block start.
class AlxBlockTimeline
{
public:
    // A sample and its grooved time.
    struct Point
    {
        juce::int64 offset;
        double grooved;
    };

    // Floating-point error may put a grid point a hair after the sample that reaches it; grooved
    // times are taken this much (in samples) early, so such a point counts as reached there.
    static constexpr double absorbedSamples = 1.0e-6;

    // settings: the groove's settings for the block (AlxGrooveModule::currentSettings).
    AlxBlockTimeline (const AlxGrooveModule& groove, const AlxGrooveModule::Settings& settings, double startSample,
                      double startQuarter, double sampleRate, double bpm, bool counted);

    // The song position of a sample count on the transport's own clock.
    static double quarterOfSample (double sample, double sampleRate, double bpm);

    double quarterAt (juce::int64 offset) const;
    double groovedAt (juce::int64 offset) const;
    Point at (juce::int64 offset) const { return { offset, groovedAt (offset) }; }

    // Where grooved time first reaches target after a: the sample before the first one after a
    // whose grooved time passes target (b's does), or a when even a's passes it. Where grooved
    // time never falls back it takes two evaluations on a linear stretch (always, while the
    // groove is off) and narrows a bracket where it bends. Where an LFO moves the groove,
    // grooved time may fall back where the LFO steps and cross target more than once: it goes
    // from one stretch of steady settings to the next, and narrows a bracket within the first
    // stretch whose end passes target.
    Point lastNotPast (double target, Point a, Point b) const;
    // A sample by which grooved time has certainly passed target: the groove moves time by
    // half a quarter note at most.
    Point beyond (double target) const;

private:
    // lastNotPast where grooved time does not fall back between a and b.
    Point narrow (double target, Point a, Point b) const;
    // The last sample after a and before b whose song time lies before time; a when none does.
    juce::int64 lastBefore (double time, juce::int64 a, juce::int64 b) const;

    const AlxGrooveModule& groove;
    // Read once: the walk below reads grooved time at many samples.
    const AlxGrooveModule::Settings grooveSettings;
    const double startSample, startQuarter, sampleRate, bpm, samplesPerQuarter;
    const bool counted;
    const bool monotonic;
};
