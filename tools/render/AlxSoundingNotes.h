#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>
#include <vector>

// Which notes a stream of MIDI messages leaves sounding, so whoever ends a recording of it can
// end those notes too and no note in what it wrote is left without its end.
class AlxSoundingNotes
{
public:
    // A note-on starts its note, a note-off ends it; all-notes-off and all-sound-off end every
    // note of their channel. Other messages change nothing.
    void follow (const juce::MidiMessage& message);
    void clear() { sounding = {}; }
    // A note-off for every note still sounding, channel 1 first, each channel's lowest note first.
    std::vector<juce::MidiMessage> getNoteOffs() const;

private:
    std::array<std::array<bool, 128>, 16> sounding {};
};
