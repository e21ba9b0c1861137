#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <vector>

// A Standard MIDI File played as the host's MIDI input of a render. Its ticks are read as quarter
// notes by the file's division, so the music follows the render's tempo; the file's own tempo
// events are ignored, and so are its other meta events. All tracks play together.
class AlxRenderInput
{
public:
    // Reads the file. Throws AlxRenderError when it cannot be read, is not a Standard MIDI File,
    // or counts time in SMPTE frames (which have no quarter notes).
    static AlxRenderInput fromFile (const juce::File& file);

    // The events as the file holds them, each stamped with its position in quarter notes.
    explicit AlxRenderInput (juce::MidiMessageSequence eventsInQuarters);

    // Places the events at the render's tempo; call before the first block.
    void start (double samplesPerQuarter);

    // Adds the events of the block [blockStart, blockStart + numSamples) to the buffer, at their
    // positions within it. Blocks are asked for in order.
    void fillBlock (juce::MidiBuffer& buffer, juce::int64 blockStart, int numSamples);

    int getNumEvents() const { return sequence.getNumEvents(); }

private:
    juce::MidiMessageSequence sequence;
    std::vector<juce::int64> samplePositions;
    size_t next = 0;
};
