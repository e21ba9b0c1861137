#include "render/AlxEventCsvWriter.h"
#include "render/AlxMidiFileWriter.h"
#include "render/AlxRenderer.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <benchmark/benchmark.h>

// Ten minutes of the factory's default program from the demo chords, as the renderer makes them:
// the processor started from scratch, every block's deliveries and audio handed on. The counter
// "realtime" is seconds of music rendered per second: the multiple of real time.
namespace
{
    constexpr double sampleRate = 44100.0;
    constexpr double seconds = 600.0;

    // Takes what a file would get and keeps only its length, so the files' own costs (formatting,
    // conversion) are measured without the disk.
    class AlxDiscardingStream : public juce::OutputStream
    {
    public:
        void flush() override {}
        bool setPosition (juce::int64 newPosition) override
        {
            position = newPosition;
            return true;
        }
        juce::int64 getPosition() override { return position; }
        bool write (const void*, size_t numBytes) override
        {
            position += (juce::int64) numBytes;
            return true;
        }

    private:
        juce::int64 position = 0;
    };

    struct AlxCountingListener : AlxRenderListener
    {
        void midiDelivered (juce::int64, const juce::MidiMessage&) override { ++events; }
        void audioRendered (const juce::AudioBuffer<float>& block) override { frames += block.getNumSamples(); }

        juce::int64 events = 0, frames = 0;
    };

    // All three outputs of the command: event list, MIDI file and 32-bit float WAV.
    struct AlxFileListener : AlxRenderListener
    {
        AlxFileListener()
            : midi (midiStream, { sampleRate, 120.0, 4, 4, 960 }, "clean start"),
              wav (juce::WavAudioFormat().createWriterFor (new AlxDiscardingStream(), sampleRate, 2, 32, {}, 0))
        {
        }

        void midiDelivered (juce::int64 position, const juce::MidiMessage& message) override
        {
            csv.add (position, message);
            midi.add (position, message);
        }

        void audioRendered (const juce::AudioBuffer<float>& block) override
        {
            wav->writeFromAudioSampleBuffer (block, 0, block.getNumSamples());
        }

        AlxDiscardingStream csvStream, midiStream;
        AlxEventCsvWriter csv { csvStream };
        AlxMidiFileWriter midi;
        std::unique_ptr<juce::AudioFormatWriter> wav;
    };

    template <typename Listener>
    void renderTenMinutes (benchmark::State& state)
    {
        const int blockSize = (int) state.range (0);
        const auto length = (juce::int64) (seconds * sampleRate);

        for (auto _ : state)
        {
            AlxRenderer renderer;
            renderer.playTrack (0);
            Listener listener;
            renderer.render (sampleRate, blockSize, length, listener);
            benchmark::DoNotOptimize (listener);
        }

        state.counters["realtime"] = benchmark::Counter (seconds * (double) state.iterations(), benchmark::Counter::kIsRate);
    }

    void BM_RenderTenMinutes (benchmark::State& state) { renderTenMinutes<AlxCountingListener> (state); }
    void BM_RenderTenMinutesToFiles (benchmark::State& state) { renderTenMinutes<AlxFileListener> (state); }
}

BENCHMARK (BM_RenderTenMinutes)->Arg (512)->Arg (64)->Unit (benchmark::kMillisecond)->Iterations (3);
BENCHMARK (BM_RenderTenMinutesToFiles)->Arg (512)->Unit (benchmark::kMillisecond)->Iterations (3);
