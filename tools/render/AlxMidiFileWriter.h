#pragma once

#include "render/AlxSoundingNotes.h"

#include <juce_audio_basics/juce_audio_basics.h>

// Writes MIDI events at sample positions as a format-0 Standard MIDI File while they come: a
// track name, the tempo and the time signature at tick 0, then the events at their ticks (sample
// positions converted at the one tempo of the render), and the end of the track at the render's
// end. Channel messages and system exclusive messages are kept; other system messages have no
// place in a file. Notes still sounding at the end are ended there, so every note in the file
// has its note-off.
//
// The bytes are those JUCE's MidiFile writes for the same track (running status included), but
// nothing is kept in memory: each event goes to the stream at once and the track's length is
// filled in by finish, so a long render takes no more memory than a short one.
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

    static juce::int64 tickOf (const Format& format, juce::int64 samplePosition);

    // Writes the file's start. The stream must outlive the writer and be able to go back to the
    // track's length field when finish fills it in.
    AlxMidiFileWriter (juce::OutputStream& stream, const Format& format, const juce::String& trackName);

    // Events are added in order of position. False once the stream has failed.
    bool add (juce::int64 samplePosition, const juce::MidiMessage& message);

    // Ends the sounding notes and the track at endSample and fills in the track's length; false
    // when the stream failed at any point.
    bool finish (juce::int64 endSample);

private:
    void write (juce::int64 tick, const juce::MidiMessage& message);
    void writeVariableLength (juce::uint32 value);

    juce::OutputStream& out;
    Format format;
    // Where the track's length field is, and its data starts.
    juce::int64 lengthField = 0;
    juce::int64 lastTick = 0;
    juce::uint8 lastStatus = 0;
    bool ok = true;
    AlxSoundingNotes sounding;
};
