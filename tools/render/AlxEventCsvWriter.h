#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

// Writes MIDI events as text, one line each: the absolute sample position, a comma, then the
// message bytes in lower-case hex separated by spaces ("24000,90 3c 5f").
class AlxEventCsvWriter
{
public:
    // The stream must outlive the writer.
    explicit AlxEventCsvWriter (juce::OutputStream& stream);

    static juce::String lineOf (juce::int64 samplePosition, const juce::MidiMessage& message);

    // False once the stream has failed.
    bool add (juce::int64 samplePosition, const juce::MidiMessage& message);

private:
    juce::OutputStream& out;
    bool ok = true;
};
