#include "AlxFuzzHost.h"

#include "midi/AlxMidiSequencer.h"

// The demo sequencer's reader of MIDI files and of the archive that holds them, and its playing of
// every track it loaded at song positions and bar lengths where loops wrap, start and end.
namespace
{
    void playEveryTrack (const AlxMidiSequencer& sequencer)
    {
        struct Block
        {
            double position;
            int numSamples;
            int barQuarters;
        };

        // 120 bpm at 48 kHz (24000 samples per quarter note).
        constexpr double samplesPerQuarter = 24000.0;
        const Block blocks[] = { { 0.0, 512, 4 }, { 67.5, 48000, 4 }, { 1.0e9, 512, 3 }, { -3.25, 4096, 0 }, { 2.0, 1, 7 } };
        const auto& files = sequencer.getFiles();

        for (int file = 0; file < (int) files.size(); ++file)
        {
            for (int track = 0; track < files[(size_t) file]->getNumTracks(); ++track)
            {
                for (const auto& block : blocks)
                {
                    juce::MidiBuffer out;
                    sequencer.play (file, track, block.position, block.numSamples, samplesPerQuarter, block.barQuarters, out);

                    for (const auto event : out)
                        AlxFuzzHost::require (event.samplePosition >= 0 && event.samplePosition <= block.numSamples,
                                              "every event lies inside its block");
                }
            }
        }
    }

    // Reads the bytes with one of the sequencer's readers and plays what it loaded.
    void loadAndPlay (bool (AlxMidiSequencer::*load) (juce::InputStream&), const std::uint8_t* data, size_t size)
    {
        AlxMidiSequencer sequencer;
        juce::MemoryInputStream stream (data, size, false);

        if ((sequencer.*load) (stream))
            playEveryTrack (sequencer);
        else
            AlxFuzzHost::require (sequencer.getFiles().empty(), "an input that does not load leaves nothing loaded");
    }
}

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size)
{
    // The same bytes once as an archive of MIDI files and once as one MIDI file.
    loadAndPlay (&AlxMidiSequencer::loadZip, data, size);
    loadAndPlay (&AlxMidiSequencer::loadFile, data, size);
    return 0;
}
