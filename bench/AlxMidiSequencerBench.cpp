#include "midi/AlxMidiSequencer.h"

#include "AlxEmbeddedData.h"

#include <benchmark/benchmark.h>

namespace
{
    // The demo lead played block after block at 120 bpm and 48 kHz, as the MIDI input module plays
    // it on the audio thread; the song position runs on across many loop passes.
    void playDemoBlocks (benchmark::State& state)
    {
        AlxMidiSequencer sequencer;
        juce::MemoryInputStream demo (AlxEmbeddedData::demoMidiZip, (size_t) AlxEmbeddedData::demoMidiZipSize, false);

        if (! sequencer.loadZip (demo))
        {
            state.SkipWithError ("demo archive did not load");
            return;
        }

        const auto blockSize = (int) state.range (0);
        const double samplesPerQuarter = 24000.0;
        juce::MidiBuffer out;
        out.ensureSize (4096);
        double position = 0.0;
        std::int64_t events = 0;

        for (auto _ : state)
        {
            out.clear();
            sequencer.play (0, 0, position, blockSize, samplesPerQuarter, 4, out);
            events += out.getNumEvents();
            position += blockSize / samplesPerQuarter;
        }

        state.counters["events/block"] = benchmark::Counter ((double) events / (double) state.iterations());
    }
}

BENCHMARK (playDemoBlocks)->Arg (64)->Arg (512)->Arg (4096);
