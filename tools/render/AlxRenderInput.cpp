#include "render/AlxRenderInput.h"

#include "render/AlxRenderError.h"

#include <algorithm>
#include <cmath>
#include <vector>

AlxRenderInput AlxRenderInput::fromFile (const juce::File& file)
{
    const auto name = file.getFullPathName();
    juce::FileInputStream stream (file);

    if (file.isDirectory() || ! stream.openedOk())
        throw AlxRenderError ("cannot read " + name);

    juce::MidiFile midiFile;

    if (! midiFile.readFrom (stream))
        throw AlxRenderError (name + " is not a Standard MIDI File");

    const int division = midiFile.getTimeFormat();

    if (division < 0)
        throw AlxRenderError (name + " counts time in SMPTE frames; only files in ticks per quarter note can be played");

    if (division == 0)
        throw AlxRenderError (name + " has no ticks per quarter note");

    // The tracks are merged by one stable sort: adding the events of a track to a sequence that
    // already holds another track's events at the same times would search back from its end for
    // every event, which grows with the square of the events where tracks overlap.
    std::vector<juce::MidiMessage> events;

    for (int track = 0; track < midiFile.getNumTracks(); ++track)
    {
        for (const auto* holder : *midiFile.getTrack (track))
        {
            if (holder->message.isMetaEvent())
                continue;

            events.push_back (holder->message);
            events.back().setTimeStamp (holder->message.getTimeStamp() / division);
        }
    }

    std::stable_sort (events.begin(), events.end(), [] (const juce::MidiMessage& a, const juce::MidiMessage& b)
                      { return a.getTimeStamp() < b.getTimeStamp(); });

    // In order, each event is appended at the end.
    juce::MidiMessageSequence quarters;

    for (const auto& message : events)
        quarters.addEvent (message);

    return AlxRenderInput (std::move (quarters));
}

AlxRenderInput::AlxRenderInput (juce::MidiMessageSequence eventsInQuarters) : sequence (std::move (eventsInQuarters))
{
    sequence.sort();
}

void AlxRenderInput::start (double samplesPerQuarter)
{
    samplePositions.clear();

    for (const auto* holder : sequence)
        samplePositions.push_back ((juce::int64) std::llround (holder->message.getTimeStamp() * samplesPerQuarter));

    next = 0;
}

void AlxRenderInput::fillBlock (juce::MidiBuffer& buffer, juce::int64 blockStart, int numSamples)
{
    const auto blockEnd = blockStart + numSamples;

    for (; next < samplePositions.size() && samplePositions[next] < blockEnd; ++next)
    {
        // Blocks from 0 on meet every event in its own block; a first block that starts later
        // plays the events it passed at its start.
        const auto position = juce::jmax ((juce::int64) 0, samplePositions[next] - blockStart);
        buffer.addEvent (sequence.getEventPointer ((int) next)->message, (int) position);
    }
}
