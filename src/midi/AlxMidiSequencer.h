#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <memory>
#include <vector>

// Plays tracks of Standard MIDI Files into audio blocks, looping each track endlessly in step with
// the song position. Event times stay in the files' ticks, read as 96 per quarter note whatever
// the file header says. The files are loaded on the message thread before processing starts and
// only read afterwards, so play needs no lock.
class AlxMidiSequencer
{
public:
    static constexpr int ticksPerQuarter = 96;

    AlxMidiSequencer() = default;
    virtual ~AlxMidiSequencer() = default;

    // Adds to out the events of one track that fall into the block starting at the song position
    // (in quarter notes) and lasting numSamples, at their sample positions. The track loops over
    // its length rounded up to whole bars of barQuarters quarter notes (its own length when
    // barQuarters <= 0). Files or tracks that do not exist, empty tracks and tracks whose events
    // all lie at tick 0 add nothing.
    virtual void play (int fileIndex, int trackIndex, double position, int numSamples,
                       double samplesPerQuarter, int barQuarters, juce::MidiBuffer& out) const;

    // Appends one Standard MIDI File; false, and nothing appended, when it cannot be read.
    virtual bool loadFile (juce::InputStream& stream);

    // Appends every entry of a zip archive as a MIDI file, in entry order. All or nothing: false,
    // and nothing appended, when the archive holds no entries or any entry is not a MIDI file.
    virtual bool loadZip (juce::InputStream& stream);

    virtual const std::vector<std::unique_ptr<juce::MidiFile>>& getFiles() const;

private:
    static std::unique_ptr<juce::MidiFile> read (juce::InputStream& stream);

    std::vector<std::unique_ptr<juce::MidiFile>> files;

    JUCE_DECLARE_NON_COPYABLE (AlxMidiSequencer)
};
