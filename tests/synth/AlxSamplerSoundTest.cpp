#include "AlxSynthTestTools.h"

#include <gtest/gtest.h>

namespace
{
    // A reader that claims whatever header it is given and delivers sample index / 1000 (or
    // nothing) for every sample asked for.
    class ClaimingReader : public juce::AudioFormatReader
    {
    public:
        ClaimingReader (double rate, juce::int64 length, unsigned int channels) : AudioFormatReader (nullptr, "claiming")
        {
            sampleRate = rate;
            lengthInSamples = length;
            numChannels = channels;
            bitsPerSample = 32;
            usesFloatingPointData = true;
        }

        bool readSamples (int* const* destChannels, int numDestChannels, int startOffsetInDestBuffer,
                          juce::int64 startSampleInFile, int numSamples) override
        {
            for (int c = 0; c < numDestChannels; ++c)
                if (destChannels[c] != nullptr)
                    for (int s = 0; s < numSamples; ++s)
                    {
                        const auto index = startSampleInFile + s;
                        const float value = index < lengthInSamples ? (float) index / 1000.0f : 0.0f;
                        std::memcpy (destChannels[c] + startOffsetInDestBuffer + s, &value, sizeof (float));
                    }

            return true;
        }
    };

    AlxSamplerSound::NoteSet allNotes() { return AlxSamplerSound::NoteSet().set(); }
}

TEST (AlxSamplerSound, keepsTheRecordingUpToItsDurationPlusGuardSamples)
{
    const struct
    {
        const char* what;
        double rate;
        juce::int64 length;
        double maxDuration;
        int kept;
    } cases[] = {
        { "shorter than the limit", 1000.0, 500, 10.0, 500 },
        { "cut to the limit", 1000.0, 500, 0.25, 250 },
        { "the product is truncated", 1000.0, 500, 0.2509, 250 },
        { "no limit asked for: bounded all the same", 1000.0, 1000000, 0.0, 60000 },
        { "an enormous claimed length", 44100.0, juce::int64 (1) << 40, 1.0e9, AlxSamplerSound::maxLength },
    };

    for (auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        ClaimingReader reader (c.rate, c.length, 2);
        AlxSamplerSound sound ("s", reader, allNotes(), 60, 0.0, 0.0, c.maxDuration, false);
        EXPECT_EQ (sound.getLength(), c.kept);
        ASSERT_NE (sound.getAudioData(), nullptr);
        EXPECT_EQ (sound.getAudioData()->getNumSamples(), c.kept + AlxSamplerSound::guardSamples);

        // Past the cut the recording goes on; past its end it reads as silence.
        const auto& data = *sound.getAudioData();
        const int last = c.kept + AlxSamplerSound::guardSamples - 1;
        EXPECT_EQ (data.getSample (1, last), last < c.length ? (float) last / 1000.0f : 0.0f);
    }
}

TEST (AlxSamplerSound, aLoopingSoundContinuesWithItsStartAfterTheEnd)
{
    ClaimingReader reader (1000.0, 500, 1);
    AlxSamplerSound sound ("s", reader, allNotes(), 60, 0.0, 0.0, 10.0, true);
    const auto& data = *sound.getAudioData();

    for (int k = 0; k < AlxSamplerSound::guardSamples; ++k)
        EXPECT_EQ (data.getSample (0, 500 + k), data.getSample (0, k));
}

TEST (AlxSamplerSound, readersWithoutAudioGiveSilentSounds)
{
    const struct
    {
        const char* what;
        double rate;
        juce::int64 length;
        unsigned int channels;
        double maxDuration;
    } cases[] = {
        { "no samples", 44100.0, 0, 2, 10.0 },
        { "no sample rate", 0.0, 1000, 2, 10.0 },
        { "a negative sample rate", -44100.0, 1000, 2, 10.0 },
        { "no channels", 44100.0, 1000, 0, 10.0 },
        { "a duration shorter than a sample", 1000.0, 1000, 1, 0.0001 },
    };

    for (auto& c : cases)
    {
        ClaimingReader reader (c.rate, c.length, c.channels);
        AlxSamplerSound sound ("s", reader, allNotes(), 60, 1.0, 1.0, c.maxDuration, false);
        EXPECT_EQ (sound.getAudioData(), nullptr) << c.what;
        EXPECT_EQ (sound.getLength(), 0) << c.what;
        EXPECT_EQ (sound.getAttackSamples(), 0) << c.what;
        EXPECT_EQ (sound.getReleaseSamples(), 0) << c.what;
    }
}

TEST (AlxSamplerSound, timesAreRoundedToSamplesAndBounded)
{
    const struct
    {
        double attack, release;
        int attackSamples, releaseSamples;
    } cases[] = {
        { 0.0005, 0.7, 22, 30870 },
        { -1.0, 1.0e30, 0, 60 * 44100 },
        { std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 0, 0 },
    };

    for (auto& c : cases)
    {
        ClaimingReader reader (44100.0, 1000, 2);
        AlxSamplerSound sound ("s", reader, allNotes(), 60, c.attack, c.release, 10.0, false);
        EXPECT_EQ (sound.getAttackSamples(), c.attackSamples) << c.attack;
        EXPECT_EQ (sound.getReleaseSamples(), c.releaseSamples) << c.release;
    }
}

TEST (AlxSamplerSound, answersItsNotesOnEveryChannel)
{
    AlxSamplerSound::NoteSet notes;
    notes.set (0).set (64).set (127);
    ClaimingReader reader (44100.0, 10, 1);
    AlxSamplerSound sound ("s", reader, notes, 300, 0.0, 0.0, 1.0, false);

    for (int n = -1; n <= 128; ++n)
        EXPECT_EQ (sound.appliesToNote (n), n == 0 || n == 64 || n == 127) << n;

    EXPECT_TRUE (sound.appliesToChannel (1));
    EXPECT_TRUE (sound.appliesToChannel (16));
    EXPECT_EQ (sound.getRootNote(), 127);  // roots are kept on the keyboard
}
