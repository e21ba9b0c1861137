#include "synth/AlxFullWalkProfile.h"
#include "synth/AlxSynth.h"
#include "synth/AlxWavetable.h"

#include "AlxEmbeddedData.h"

#include <benchmark/benchmark.h>

#include <random>

namespace
{
    constexpr int N = AlxWavetable::tableSize;
    constexpr int rate = AlxWavetable::tableSampleRate;

    // The embedded bank's ten tables: note and the harmonic list each one keeps.
    struct Table
    {
        int note;
        std::vector<float> list;
    };

    std::vector<Table> embeddedTables()
    {
        const std::vector<float> organ { 1.0f, 0.95f, 0.90f, 0.80f, 0.65f, 0.45f, 0.15f };
        const float limit = (float) rate * 0.4999f;
        std::vector<Table> tables;

        for (int note : { 69, 81, 93, 105, 117, 57, 45, 33, 21, 9 })
        {
            auto list = organ;
            AlxWavetable::cutAboveLimit (list, AlxWavetable::noteFrequency (note == 69 ? note : note + 5), limit);
            tables.push_back ({ note, list });
        }

        return tables;
    }

    using ProfileFunction = void (*) (int, int, float, float, float, float, int, const float*, float*);

    void profilesOfTenTables (benchmark::State& state, ProfileFunction addProfiles)
    {
        const auto tables = embeddedTables();
        std::vector<float> magnitudes ((size_t) N / 2);

        for (auto _ : state)
        {
            for (auto& table : tables)
            {
                std::fill (magnitudes.begin(), magnitudes.end(), 0.0f);
                addProfiles (N, rate, AlxWavetable::noteFrequency (table.note), 10.0f, 1.0f, 0.0f,
                             (int) table.list.size(), table.list.data(), magnitudes.data());
            }

            benchmark::DoNotOptimize (magnitudes.data());
        }
    }
}

// The ten tables of the embedded bank, each from a fresh wavetable (FFT set-up included).
static void BM_EmbeddedBankTables (benchmark::State& state)
{
    const auto tables = embeddedTables();
    std::vector<float> out ((size_t) N);

    for (auto _ : state)
    {
        AlxWavetable wavetable (69, {}, 10.0, 1.0, 0.0, AlxWavetable::sine);

        for (auto& table : tables)
            wavetable.synthesiseTable (N, rate, AlxWavetable::noteFrequency (table.note), 10.0f, 1.0f, 0.0f,
                                       (int) table.list.size(), table.list.data(), out.data());

        benchmark::DoNotOptimize (out.data());
    }
}
BENCHMARK (BM_EmbeddedBankTables)->Unit (benchmark::kMillisecond);

// The floor of the above: ten inverse real FFTs of the table size, nothing else.
static void BM_InverseFftFloor (benchmark::State& state)
{
    auto* config = kiss_fftr_alloc (N, 1, nullptr, nullptr);
    std::vector<kiss_fft_cpx> bins ((size_t) N / 2 + 1);
    std::vector<float> out ((size_t) N);
    std::mt19937 generator (1);
    std::uniform_real_distribution<float> value (-1.0f, 1.0f);

    for (auto& bin : bins)
        bin = { value (generator), value (generator) };

    for (auto _ : state)
    {
        for (int table = 0; table < 10; ++table)
            kiss_fftri (config, bins.data(), out.data());

        benchmark::DoNotOptimize (out.data());
    }

    kiss_fftr_free (config);
}
BENCHMARK (BM_InverseFftFloor)->Unit (benchmark::kMillisecond);
BENCHMARK (BM_InverseFftFloor)->Name ("BM_InverseFftFloorWallClock")->UseRealTime()->Unit (benchmark::kMillisecond);

// The harmonic bands of the ten tables, evaluated only where they are non-zero ...
static void BM_TenTablesProfilesWindowed (benchmark::State& state)
{
    profilesOfTenTables (state, &AlxWavetable::addHarmonicProfiles);
}
BENCHMARK (BM_TenTablesProfilesWindowed)->Unit (benchmark::kMillisecond);

// ... and at every bin.
static void BM_TenTablesProfilesFullWalk (benchmark::State& state)
{
    profilesOfTenTables (state, &AlxFullWalkProfile::add);
}
BENCHMARK (BM_TenTablesProfilesFullWalk)->Unit (benchmark::kMillisecond);

// What start-up waits for, once per process: the synth reading the embedded bank (tables, their
// 16-bit samples, sounds, 64 voices) on the number of threads given. Wall-clock time, since the
// second thread's work counts; compare with BM_InverseFftFloorWallClock of the same run. Reports
// the memory the sounds' samples take.
static void BM_EmbeddedBankSynth (benchmark::State& state)
{
    double bytes = 0.0;

    for (auto _ : state)
    {
        juce::MemoryInputStream bank (AlxEmbeddedData::soundBankZip, (size_t) AlxEmbeddedData::soundBankZipSize, false);
        AlxSynth synth (bank, AlxWavetable::tableSize, (int) state.range (0));
        bytes = 0.0;

        for (int i = 0; i < synth.getNumSounds(); ++i)
            if (auto* data = dynamic_cast<AlxSamplerSound&> (*synth.getSound (i)).getAudioData())
                bytes += (double) data->getNumChannels() * data->getNumSamples() * sizeof (float);
    }

    state.counters["sound_MB"] = bytes / (1024.0 * 1024.0);
}
BENCHMARK (BM_EmbeddedBankSynth)->ArgName ("threads")->Arg (1)->Arg (2)->UseRealTime()->Unit (benchmark::kMillisecond);

// 64 sounding voices rendered in 512-sample blocks at 44100 Hz; "realtime_fraction" is the share
// of one core the rendering takes.
static void BM_Render64Voices (benchmark::State& state)
{
    constexpr int blockSize = 512;
    AlxSynth synth;
    synth.setCurrentPlaybackSampleRate (44100.0);

    for (int note = 30; note < 30 + AlxSynth::numVoices; ++note)
        synth.noteOn (1, note, 0.8f);

    int sounding = 0;

    for (int i = 0; i < synth.getNumVoices(); ++i)
        sounding += synth.getVoice (i)->isVoiceActive() ? 1 : 0;

    if (sounding != AlxSynth::numVoices)
    {
        state.SkipWithError ("not every voice sounds");
        return;
    }

    juce::AudioBuffer<float> out (2, blockSize);
    const juce::MidiBuffer noMidi;

    for (auto _ : state)
    {
        out.clear();
        synth.renderNextBlock (out, noMidi, 0, blockSize);
        benchmark::DoNotOptimize (out.getReadPointer (0));
    }

    state.counters["realtime_fraction"] = benchmark::Counter (blockSize / 44100.0,
                                                              benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK (BM_Render64Voices)->Unit (benchmark::kMicrosecond);
