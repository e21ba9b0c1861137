#include "AlxSynthTestTools.h"
#include "synth/AlxWavetable.h"

#include <gtest/gtest.h>

using namespace AlxSynthTestTools;

namespace
{
    constexpr int N = AlxWavetable::tableSize;

    juce::AudioBuffer<float> render (juce::Synthesiser& synth, int numSamples, int channels = 2)
    {
        juce::AudioBuffer<float> out (channels, numSamples);
        out.clear();
        synth.renderNextBlock (out, juce::MidiBuffer(), 0, numSamples);
        return out;
    }

    AlxSamplerVoice* voicePlaying (juce::Synthesiser& synth, int note)
    {
        for (int i = 0; i < synth.getNumVoices(); ++i)
            if (synth.getVoice (i)->getCurrentlyPlayingNote() == note)
                return dynamic_cast<AlxSamplerVoice*> (synth.getVoice (i));

        return nullptr;
    }

    int activeVoices (juce::Synthesiser& synth)
    {
        int n = 0;

        for (int i = 0; i < synth.getNumVoices(); ++i)
            n += synth.getVoice (i)->isVoiceActive() ? 1 : 0;

        return n;
    }

    // Index after the last sample that is not zero, on any channel.
    int soundingLength (const juce::AudioBuffer<float>& out)
    {
        for (int s = out.getNumSamples(); s > 0; --s)
            for (int c = 0; c < out.getNumChannels(); ++c)
                if (out.getSample (c, s - 1) != 0.0f)
                    return s;

        return 0;
    }
}

// The embedded bank, generated once; every test starts with all notes off at 44100 Hz.
class AlxSamplerVoiceTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { synth = new AlxSynth(); }
    static void TearDownTestSuite() { delete synth; }

    void SetUp() override
    {
        synth->allNotesOff (0, false);
        synth->setCurrentPlaybackSampleRate (44100.0);
    }

    static inline AlxSynth* synth = nullptr;
};

TEST_F (AlxSamplerVoiceTest, note60PlaysTheSoundRootedAt57AtItsPitchAtEveryRate)
{
    for (double rate : { 44100.0, 48000.0 })
    {
        SCOPED_TRACE (rate);
        synth->allNotesOff (0, false);
        synth->setCurrentPlaybackSampleRate (rate);
        synth->noteOn (1, 60, 1.0f);

        auto* voice = voicePlaying (*synth, 60);
        ASSERT_NE (voice, nullptr);
        EXPECT_EQ (dynamic_cast<AlxSamplerSound&> (*voice->getCurrentlyPlayingSound()).getRootNote(), 57);
        EXPECT_NEAR (voice->getPitchRatio(), std::pow (2.0, 3.0 / 12.0) * 44100.0 / rate, 1.0e-12);

        // What comes out is middle C at the playback rate.
        const auto out = render (*synth, 1 << 16);
        EXPECT_NEAR (peakFrequency (out.getReadPointer (0), out.getNumSamples(), rate, 200.0, 330.0), 261.626, 0.3);
    }
}

TEST_F (AlxSamplerVoiceTest, releaseFadesOverSevenTenthsOfASecondOfTheSound)
{
    for (double rate : { 44100.0, 48000.0 })
    {
        SCOPED_TRACE (rate);
        synth->allNotesOff (0, false);
        synth->setCurrentPlaybackSampleRate (rate);
        synth->noteOn (1, 60, 1.0f);
        render (*synth, 4096);
        const double ratio = voicePlaying (*synth, 60)->getPitchRatio();

        synth->noteOff (1, 60, 0.0f, true);
        const auto tail = render (*synth, 40000);
        // The level steps down in 32-bit float, so the count may drift by a few hundredths of a percent.
        const double expected = 0.7 * 44100.0 / ratio;
        EXPECT_NEAR (soundingLength (tail), expected, expected * 5.0e-4);
        EXPECT_EQ (activeVoices (*synth), 0);

        // The fade is linear: halfway through, the level is about half.
        const int half = soundingLength (tail) / 2;
        EXPECT_NEAR (tail.getRMSLevel (0, half - 2000, 4000) / tail.getRMSLevel (0, 0, 4000), 0.5, 0.1);
    }
}

TEST_F (AlxSamplerVoiceTest, aNoteHeldLongerThanTheTableKeepsSoundingAndLoopsSeamlessly)
{
    // Notes 69 and 70 play the sound rooted at 69: one table lasts N and N / 2^(1/12) output samples.
    const auto& table = *dynamic_cast<AlxSamplerSound&> (*synth->getSound (0)).getAudioData();
    ASSERT_EQ (dynamic_cast<AlxSamplerSound&> (*synth->getSound (0)).getRootNote(), 69);

    for (int note : { 69, 70 })
    {
        SCOPED_TRACE ("note " + std::to_string (note));
        synth->allNotesOff (0, false);
        synth->noteOn (1, note, 1.0f);
        const double ratio = voicePlaying (*synth, note)->getPitchRatio();
        juce::AudioBuffer<float> out (2, N + 8192);
        out.clear();

        for (int start = 0; start < out.getNumSamples(); start += 4096)
            synth->renderNextBlock (out, juce::MidiBuffer(), start, std::min (4096, out.getNumSamples() - start));

        EXPECT_EQ (activeVoices (*synth), 1);
        EXPECT_GT (out.getRMSLevel (0, N, 8192), 0.1f);

        // Across the end of the table the output goes on reading the table as if it were endless.
        const int wrap = (int) (N / ratio);

        for (int s = wrap - 16; s < wrap + 16; ++s)
        {
            const double position = std::fmod (s * ratio, (double) N);
            const int i = (int) position;
            const double a = position - i;

            for (int c = 0; c < 2; ++c)
            {
                const double expected = (1.0 - a) * table.getSample (c, i) + a * table.getSample (c, (i + 1) % N);
                ASSERT_NEAR (out.getSample (c, s), expected, 1.0e-4) << "sample " << s << ", channel " << c;
            }
        }
    }
}

TEST_F (AlxSamplerVoiceTest, notesOutsideEverySoundPlayNothing)
{
    for (int note : { 0, 1, 2, 123, 124, 125, 126, 127 })
        synth->noteOn (1, note, 1.0f);

    EXPECT_EQ (activeVoices (*synth), 0);
    EXPECT_EQ (render (*synth, 512).getMagnitude (0, 512), 0.0f);
}

TEST_F (AlxSamplerVoiceTest, theAttackRisesFromSilenceAndAOneChannelOutputGetsTheMixOfBoth)
{
    synth->noteOn (1, 64, 0.5f);
    const auto stereo = render (*synth, 512);
    synth->allNotesOff (0, false);
    synth->noteOn (1, 64, 0.5f);
    const auto mono = render (*synth, 512, 1);

    EXPECT_EQ (stereo.getSample (0, 0), 0.0f);
    EXPECT_GT (stereo.getMagnitude (0, 0, 512), 0.1f);

    for (int s = 0; s < 512; ++s)
        ASSERT_FLOAT_EQ (mono.getSample (0, s), 0.5f * (stereo.getSample (0, s) + stereo.getSample (1, s))) << s;
}

TEST_F (AlxSamplerVoiceTest, aNoteRendersTheSameSamplesWhateverTheBlocksItIsRenderedIn)
{
    // Attack, steady state and the whole release (about 26000 samples at this pitch), with the
    // note let go at sample 3000.
    constexpr int held = 3000, total = 40000;

    const auto play = [] (int blockSize, int channels)
    {
        synth->allNotesOff (0, false);
        synth->noteOn (1, 72, 0.8f);
        juce::AudioBuffer<float> out (channels, total);
        out.clear();

        for (int start = 0; start < total;)
        {
            if (start == held)
                synth->noteOff (1, 72, 0.0f, true);

            const int n = std::min (blockSize, (start < held ? held : total) - start);
            synth->renderNextBlock (out, juce::MidiBuffer(), start, n);
            start += n;
        }

        return out;
    };

    for (int channels : { 1, 2 })
    {
        const auto whole = play (total, channels);
        EXPECT_EQ (activeVoices (*synth), 0);
        ASSERT_GT (soundingLength (whole), held);

        for (int blockSize : { 1, 7, 64, 4096 })
        {
            const auto split = play (blockSize, channels);

            for (int c = 0; c < channels; ++c)
                for (int s = 0; s < total; ++s)
                    ASSERT_EQ (split.getSample (c, s), whole.getSample (c, s))
                        << channels << " channel(s), blocks of " << blockSize << ", sample " << s;
        }
    }
}

TEST (AlxSamplerVoice, samplerSoundsPlayAtTheirOwnRateStopAtTheirEndAndWithoutReleaseAtOnce)
{
    // 441 Hz recorded at 22050 Hz, rooted at note 60, one second long, no release.
    const auto sine = wav (1, 22050.0, 22050, [] (int, int s) { return 0.5f * (float) std::sin (juce::MathConstants<double>::twoPi * 441.0 * s / 22050.0); });
    const auto synth = synthFor (zip ({ { "_metadata.xml", text ("<soundBank releaseTime=\"0\" attackTime=\"0\"><sounds>"
                                                                 "<sound rootMidiNote=\"60\" firstMidiNote=\"0\" lastMidiNote=\"127\"/>"
                                                                 "</sounds></soundBank>") },
                                        { "sine.wav", sine } }));
    synth->setCurrentPlaybackSampleRate (44100.0);

    // An octave up at twice the recording's rate: 882 Hz, for the 22050 samples of the recording.
    synth->noteOn (1, 72, 1.0f);
    const auto out = render (*synth, 50000);
    EXPECT_NEAR (peakFrequency (out.getReadPointer (0), 32768, 44100.0, 600.0, 1200.0), 882.0, 0.5);
    EXPECT_NEAR (soundingLength (out), 22050, 1);
    EXPECT_EQ (activeVoices (*synth), 0);

    synth->noteOn (1, 60, 1.0f);
    render (*synth, 100);
    synth->noteOff (1, 60, 0.0f, true);
    EXPECT_EQ (activeVoices (*synth), 0);
    EXPECT_EQ (render (*synth, 100).getMagnitude (0, 100), 0.0f);
}
