#pragma once

#include "render/AlxSoundingNotes.h"

#include <juce_audio_basics/juce_audio_basics.h>

// Collects MIDI events at sample positions and writes them as a format-0 Standard MIDI File: a
// track name, the tempo and the time signature at tick 0, then the events at their ticks (sample
// positions converted at the one tempo of the render), and the end of the track at the render's
// end. Channel messages and system exclusive messages are kept; other system messages have no
// place in a file. Notes still sounding at the end are ended there, so every note in the file
// has its note-off.
class AlxMidiFileWriter
{
public:
    struct Format
    {
        double sampleRate;
        double bpm;
        int numerator;
        int denominator;   // a power of two, 1 ... 16
        int ppq;
    };

    // The largest tick a file may hold: every delta time stays within four bytes.
    static constexpr juce::int64 maxTick = 0x0FFFFFFF;

    AlxMidiFileWriter (const Format& format, const juce::String& trackName);

    juce::int64 tickOf (juce::int64 samplePosition) const;

    // Events are added in order of position.
    void add (juce::int64 samplePosition, const juce::MidiMessage& message);

    // Writes the file, ending at endSample; false when the stream fails.
    bool writeTo (juce::OutputStream& stream, juce::int64 endSample) const;

private:
    Format format;
    juce::MidiMessageSequence track;
    AlxSoundingNotes sounding;
};
