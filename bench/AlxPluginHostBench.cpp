#include "host-check/AlxPluginHost.h"

#include <benchmark/benchmark.h>

// The cost of one block of the built plug-in as the host check plays it: through JUCE's hosting
// classes and the format's wrapper, 512 samples at 48 kHz, the play head rolling at 120 bpm and a
// chord held, so the default program fires a quarter note every 47 blocks.
namespace
{
    void pluginBlock (benchmark::State& state, AlxPluginHost::Format format)
    {
        constexpr double sampleRate = 48000.0;
        constexpr int blockSize = 512;
        const juce::File bundle (format == AlxPluginHost::Format::vst3 ? PLIMSAR_VST3_BUNDLE : PLIMSAR_LV2_BUNDLE);

        AlxPluginHost host (format, bundle, PLIMSAR_LV2_URI);
        auto plugin = host.createInstance (sampleRate, blockSize);
        AlxPluginSession session (*plugin, sampleRate, blockSize);

        juce::MidiBuffer chord, nothing;

        for (int note : { 60, 64, 67 })
            chord.addEvent (juce::MidiMessage::noteOn (1, note, (juce::uint8) 100), 0);

        juce::int64 sample = 0;

        for (auto _ : state)
        {
            session.getPlayHead().set (sample, sampleRate, (double) sample / 24000.0, 120.0, true);
            benchmark::DoNotOptimize (session.process (blockSize, sample == 0 ? chord : nothing));
            session.clearEvents();
            sample += blockSize;
        }

        state.counters["blocks/s"] = benchmark::Counter ((double) state.iterations(), benchmark::Counter::kIsRate);
    }
}

BENCHMARK_CAPTURE (pluginBlock, vst3, AlxPluginHost::Format::vst3)->Unit (benchmark::kMicrosecond);
BENCHMARK_CAPTURE (pluginBlock, lv2, AlxPluginHost::Format::lv2)->Unit (benchmark::kMicrosecond);
