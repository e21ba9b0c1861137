#include "render/AlxRenderInput.h"

#include <benchmark/benchmark.h>

// Reading a MIDI file as the renderer's input, with the events spread over two tracks that
// play at the same time (the hard case for merging them into one sequence). The time should grow
// in step with the number of events: the fitted complexity is reported as well.
namespace
{
    // A format-1 file of two tracks, each a run of short notes over the same stretch of time.
    juce::File writeOverlappingTracks (int numEvents)
    {
        juce::MidiFile file;
        file.setTicksPerQuarterNote (960);

        for (int track = 0; track < 2; ++track)
        {
            juce::MidiMessageSequence sequence;

            for (int i = 0; i < numEvents / 4; ++i)
            {
                const double tick = i * 120.0 + track * 7.0;
                sequence.addEvent (juce::MidiMessage::noteOn (track + 1, 40 + (i % 40), (juce::uint8) 100), tick);
                sequence.addEvent (juce::MidiMessage::noteOff (track + 1, 40 + (i % 40)), tick + 60.0);
            }

            file.addTrack (sequence);
        }

        auto path = juce::File::createTempFile (".mid");
        juce::FileOutputStream out (path);
        file.writeTo (out, 1);
        return path;
    }

    void readOverlappingTracks (benchmark::State& state)
    {
        const auto path = writeOverlappingTracks ((int) state.range (0));

        for (auto _ : state)
        {
            const auto input = AlxRenderInput::fromFile (path);
            benchmark::DoNotOptimize (input.getNumEvents());
        }

        state.SetComplexityN (state.range (0));
        path.deleteFile();
    }
}

BENCHMARK (readOverlappingTracks)->Arg (10000)->Arg (100000)->Arg (300000)->Unit (benchmark::kMillisecond)->Complexity();
