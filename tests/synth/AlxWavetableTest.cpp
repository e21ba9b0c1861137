#include "AlxFullWalkProfile.h"
#include "AlxSynthTestTools.h"
#include "synth/AlxWavetableReader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace
{
    constexpr float pi = juce::MathConstants<float>::pi;
    constexpr int N = AlxWavetable::tableSize;
    constexpr int rate = AlxWavetable::tableSampleRate;

    std::vector<float> organ() { return { 1.0f, 0.95f, 0.90f, 0.80f, 0.65f, 0.45f, 0.15f }; }

    AlxWavetable organWavetable() { return AlxWavetable (69, organ(), 10.0, 1.0, 0.0, AlxWavetable::sine); }

    bool allFinite (const std::vector<float>& samples)
    {
        return std::all_of (samples.begin(), samples.end(), [] (float s) { return std::isfinite (s); });
    }
}

TEST (AlxWavetable, baseFunctionSpectraLayerTheWaveformAtTheWeightedHarmonics)
{
    struct Case
    {
        const char* what;
        int function;
        std::vector<float> weights;
        std::function<float (int)> expected;
    };

    const Case cases[] = {
        { "square", AlxWavetable::square, {},
          [] (int j) { return j % 2 == 1 ? 4.0f / (pi * (float) j) : 0.0f; } },
        // Weight 0 is never used: the waveform enters once, and 0.5 adds it again an octave up.
        { "square with 0.5 at the octave", AlxWavetable::square, { 123.0f, 0.5f },
          [] (int j)
          {
              if (j % 2 == 1)
                  return 4.0f / (pi * (float) j);

              return j % 4 == 2 ? 0.5f * 4.0f / (pi * (float) (j / 2)) : 0.0f;
          } },
        { "triangle", AlxWavetable::triangle, { 1.0f },
          [] (int j)
          {
              if (j % 2 == 0)
                  return 0.0f;

              const float sign = ((j - 1) / 2) % 2 == 0 ? 1.0f : -1.0f;
              return sign * 8.0f / (pi * pi * (float) (j * j));
          } },
        { "sawtooth with 0.25 at the third harmonic", AlxWavetable::sawtooth, { 0.0f, 0.0f, 0.25f },
          [] (int j)
          {
              const float own = -1.0f / (pi * (float) j);
              return j % 3 == 0 ? own + 0.25f * -1.0f / (pi * (float) (j / 3)) : own;
          } },
    };

    for (auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        const auto spectrum = AlxWavetable::convertBaseFunction (c.weights, c.function);
        ASSERT_EQ (spectrum.size(), 128u);

        for (int j = 1; j < 128; ++j)
            EXPECT_NEAR (spectrum[(size_t) j], c.expected (j), 1.0e-6f) << "harmonic " << j;
    }
}

TEST (AlxWavetable, baseFunctionNamesIgnoreCaseAndAnythingElseIsASine)
{
    const std::pair<const char*, int> cases[] = {
        { "square", AlxWavetable::square },     { "Square", AlxWavetable::square },
        { "TRIANGLE", AlxWavetable::triangle }, { "Sawtooth", AlxWavetable::sawtooth },
        { "sine", AlxWavetable::sine },         { "saw", AlxWavetable::sine },
        { "", AlxWavetable::sine },             { " square", AlxWavetable::sine },
    };

    for (auto& [text, function] : cases)
        EXPECT_EQ (AlxWavetable::baseFunctionFromText (text), function) << "'" << text << "'";
}

TEST (AlxWavetable, cutAboveLimitKeepsTheHarmonicsUpToTheLimit)
{
    const float limit = 44100.0f * 0.4999f;
    const struct
    {
        float f;
        float limit;
        size_t entries;
        size_t kept;
    } cases[] = {
        { 440.0f, limit, 7, 7 },
        // The top octave's highest note: 2 x 9397 Hz fits, 3 x does not.
        { AlxWavetable::noteFrequency (122), limit, 7, 2 },
        { 1000.0f, 3000.0f, 7, 3 },  // exactly at the limit counts
        { 1000.0f, 2999.0f, 7, 2 },
        { 30000.0f, limit, 7, 0 },
        { 440.0f, limit, 0, 0 },
    };

    for (auto& c : cases)
    {
        std::vector<float> list (c.entries, 1.0f);
        AlxWavetable::cutAboveLimit (list, c.f, c.limit);
        EXPECT_EQ (list.size(), c.kept) << c.f << " Hz, limit " << c.limit;
    }
}

TEST (AlxWavetable, windowedProfilesEqualTheFullWalkBitForBit)
{
    const struct
    {
        const char* what;
        float f0, bandwidth, scale, relF;
        std::vector<float> weights;
    } cases[] = {
        { "organ at 440 Hz", 440.0f, 10.0f, 1.0f, 0.0f, organ() },
        { "organ at the lowest octave (bands narrower than a bin)", AlxWavetable::noteFrequency (9), 10.0f, 1.0f, 0.0f, organ() },
        { "top octave", AlxWavetable::noteFrequency (117), 10.0f, 1.0f, 0.0f, { 1.0f, 0.95f } },
        { "wide, growing and inharmonic", 100.0f, 200.0f, 1.5f, 0.001f, std::vector<float> (30, 0.5f) },
        { "an octave wide, stretched downwards", 55.0f, 1200.0f, 0.5f, -0.002f, std::vector<float> (40, 0.25f) },
        { "harmonics past Nyquist", 5000.0f, 50.0f, 1.0f, 0.0f, std::vector<float> (8, 1.0f) },
    };

    for (auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        std::vector<float> windowed ((size_t) N / 2, 0.0f), full ((size_t) N / 2, 0.0f);
        const int count = (int) c.weights.size();
        AlxWavetable::addHarmonicProfiles (N, rate, c.f0, c.bandwidth, c.scale, c.relF, count, c.weights.data(), windowed.data());
        AlxFullWalkProfile::add (N, rate, c.f0, c.bandwidth, c.scale, c.relF, count, c.weights.data(), full.data());

        EXPECT_EQ (std::memcmp (windowed.data(), full.data(), windowed.size() * sizeof (float)), 0);
        EXPECT_GT (*std::max_element (windowed.begin(), windowed.end()), 0.0f);
    }
}

TEST (AlxWavetable, tablesAreTheSameOnEveryRunAndLeaveTheProgramsRandomNumbersAlone)
{
    const auto weights = organ();
    std::vector<float> first ((size_t) N), second ((size_t) N);

    std::srand (7);
    const int nextRandom = std::rand();
    std::srand (7);
    organWavetable().synthesiseTable (N, rate, 440.0f, 10.0f, 1.0f, 0.0f, 7, weights.data(), first.data());
    EXPECT_EQ (std::rand(), nextRandom);

    std::srand (12345);
    organWavetable().synthesiseTable (N, rate, 440.0f, 10.0f, 1.0f, 0.0f, 7, weights.data(), second.data());
    EXPECT_EQ (first, second);
}

TEST (AlxWavetable, degenerateDescriptionsGiveFiniteTables)
{
    const struct
    {
        const char* what;
        float bandwidth, scale, relF;
        std::vector<float> weights;
        bool silent;
    } cases[] = {
        { "all amplitudes zero", 10.0f, 1.0f, 0.0f, { 1.0f, 0.0f, 0.0f }, true },
        { "no bandwidth", 0.0f, 1.0f, 0.0f, organ(), true },
        { "negative bandwidth", -50.0f, 1.0f, 0.0f, organ(), true },
        { "upper harmonics pushed to and below zero", 10.0f, 0.5f, -0.1f, std::vector<float> (14, 1.0f), false },
        { "amplitudes beyond float range when summed", 10.0f, 1.0f, 0.0f, { 1.0f, 3.0e38f, 3.0e38f }, true },
    };

    for (auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        std::vector<float> table ((size_t) N, 1.0f);
        organWavetable().synthesiseTable (N, rate, 440.0f, c.bandwidth, c.scale, c.relF, (int) c.weights.size(),
                                          c.weights.data(), table.data());
        EXPECT_TRUE (allFinite (table));
        const auto range = juce::FloatVectorOperations::findMinAndMax (table.data(), N);
        EXPECT_EQ (range.getLength() == 0.0f, c.silent);
    }
}

TEST (AlxWavetable, makeSoundCoversTheOctaveAroundItsNoteAndLoopsAStereoTable)
{
    AlxWavetable wavetable = organWavetable();
    EXPECT_EQ (wavetable.makeSound (60, {}), nullptr);

    const struct
    {
        int note, first, last;
    } cases[] = { { 69, 63, 74 }, { 3, 0, 8 }, { 125, 119, 127 } };

    for (auto& c : cases)
    {
        const auto sound = wavetable.makeSound (c.note, { 1.0f, 1.0f });
        ASSERT_NE (sound, nullptr);
        EXPECT_EQ (AlxSynthTestTools::noteRange (*sound), std::make_pair (c.first, c.last)) << "note " << c.note;
        EXPECT_EQ (sound->getRootNote(), c.note);
        EXPECT_TRUE (sound->isLooping());
        EXPECT_EQ (sound->getLength(), N);
        EXPECT_EQ (sound->getSourceSampleRate(), 44100.0);
        EXPECT_EQ (sound->getAttackSamples(), 22);  // 0.5 ms
        EXPECT_EQ (sound->getReleaseSamples(), 30870);  // 0.7 s

        // The right channel is the left one half a table later.
        const auto& data = *sound->getAudioData();
        ASSERT_EQ (data.getNumChannels(), 2);

        for (int s = 0; s < N; s += 997)
            EXPECT_EQ (data.getSample (1, s), data.getSample (0, (s + N / 2) % N));
    }
}

namespace
{
    // The sound a table made before its samples were produced directly: a 16-bit stereo WAV file
    // of the table and the table half a period later, written and read by the library.
    AlxSamplerSound::Ptr soundThroughWavFile (const std::vector<float>& table, int note, const AlxSamplerSound& like)
    {
        const int n = (int) table.size();
        const auto file = AlxSynthTestTools::wav (2, rate, n, [&] (int c, int s) { return table[(size_t) ((s + c * n / 2) % n)]; });
        juce::WavAudioFormat format;
        std::unique_ptr<juce::AudioFormatReader> reader (format.createReaderFor (new juce::MemoryInputStream (file, false), true));
        return new AlxSamplerSound ({}, *reader, like.getNotes(), note, AlxWavetable::attackSeconds,
                                    AlxWavetable::releaseSeconds, AlxWavetable::maxDurationSeconds, true);
    }

    // Index of the first sample where the two sounds' data differ in any bit, or -1.
    int firstDifference (const AlxSamplerSound& a, const AlxSamplerSound& b)
    {
        const auto& x = *a.getAudioData();
        const auto& y = *b.getAudioData();

        if (x.getNumChannels() != y.getNumChannels() || x.getNumSamples() != y.getNumSamples())
            return 0;

        for (int c = 0; c < x.getNumChannels(); ++c)
            for (int s = 0; s < x.getNumSamples(); ++s)
                if (std::memcmp (x.getReadPointer (c, s), y.getReadPointer (c, s), sizeof (float)) != 0)
                    return s;

        return -1;
    }
}

TEST (AlxWavetable, aTableReadLikeA16BitWavFileGivesExactlyTheFilesSamples)
{
    // Values the writer rounds or clips: full scale and beyond, halfway between two 16-bit steps
    // on both sides of zero, negative zero, the smallest steps, values just inside full scale.
    std::vector<float> table ((size_t) 64, 0.25f);
    const float crafted[] = { 1.0f, -1.0f, 1.5f, -2.0f, 0.99999f, -0.99999f, -0.0f, 1.0f / 65536.0f, -1.0f / 65536.0f,
                              1.0f / 32768.0f, -1.0f / 32768.0f, 3.0f / 65536.0f, -3.0f / 65536.0f, 1.0e-30f, -1.0e-30f,
                              0.70710678f, -0.70710678f, 32767.5f / 32768.0f, -32767.5f / 32768.0f, 0.3f, -0.3f };
    std::copy (std::begin (crafted), std::end (crafted), table.begin());

    AlxWavetableReader reader (table.data(), (int) table.size(), rate);
    const AlxSamplerSound::Ptr direct = new AlxSamplerSound ({}, reader, {}, 60, AlxWavetable::attackSeconds,
                                                             AlxWavetable::releaseSeconds, AlxWavetable::maxDurationSeconds, true);
    EXPECT_EQ (firstDifference (*direct, *soundThroughWavFile (table, 60, *direct)), -1);
}

TEST (AlxWavetable, everyTableSoundHoldsExactlyTheSamplesOfA16BitWavFileOfItsTableOnAnyNumberOfThreads)
{
    const struct
    {
        const char* what;
        std::vector<float> amplitudes;
        double bandwidth, scale, relF;
        int function, length;
    } cases[] = {
        { "the embedded organ", organ(), 10.0, 1.0, 0.0, AlxWavetable::sine, N },
        { "an inharmonic sawtooth", { 0.0f, 0.5f, 0.0f, 0.25f }, 40.0, 0.7, 0.001, AlxWavetable::sawtooth, 1 << 14 },
    };

    for (auto& c : cases)
    {
        for (int threads : { 1, 2, 3 })
        {
            SCOPED_TRACE (std::string (c.what) + ", threads " + std::to_string (threads));
            AlxWavetable wavetable (69, c.amplitudes, c.bandwidth, c.scale, c.relF, c.function, c.length);
            std::vector<AlxSamplerSound::Ptr> sounds;
            wavetable.generateSounds (sounds, threads);
            ASSERT_EQ (sounds.size(), 10u);

            // The same description computes each table alone, in the order of the sounds, and the
            // library writes and reads it as a WAV file.
            AlxWavetable reference (69, c.amplitudes, c.bandwidth, c.scale, c.relF, c.function, c.length);
            const auto spectrum = c.function != AlxWavetable::sine ? AlxWavetable::convertBaseFunction (c.amplitudes, c.function)
                                                                    : c.amplitudes;

            for (auto& sound : sounds)
            {
                const int note = sound->getRootNote();
                auto list = spectrum;
                AlxWavetable::cutAboveLimit (list, AlxWavetable::noteFrequency (note + 5), (float) rate * 0.4999f);
                std::vector<float> table ((size_t) c.length);
                reference.synthesiseTable (c.length, rate, AlxWavetable::noteFrequency (note), (float) c.bandwidth,
                                           (float) c.scale, (float) c.relF, (int) list.size(), list.data(), table.data());
                EXPECT_EQ (firstDifference (*sound, *soundThroughWavFile (table, note, *sound)), -1) << "note " << note;
            }
        }
    }
}
