#include "AlxSynthTestTools.h"
#include "synth/AlxWavetable.h"

#include "AlxEmbeddedData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>

using namespace AlxSynthTestTools;

namespace
{
    constexpr int N = AlxWavetable::tableSize;

    AlxSamplerSound& samplerSound (juce::Synthesiser& synth, int index)
    {
        return dynamic_cast<AlxSamplerSound&> (*synth.getSound (index));
    }

    // A wavetable bank of the given <wavetable> elements.
    juce::MemoryBlock wavetableBank (const juce::String& wavetables)
    {
        return zip ({ { "_metadata.xml", text ("<soundBank type=\"wavetable\"><wavetables>" + wavetables
                                               + "</wavetables></soundBank>") } });
    }

    // A sampler bank of one sound, played from this recording.
    juce::MemoryBlock oneSoundBank (const juce::MemoryBlock& recording)
    {
        return zip ({ { "_metadata.xml", text ("<soundBank><sounds><sound/></sounds></soundBank>") }, { "a.wav", recording } });
    }

    juce::MemoryBlock shortWav() { return wav (1, 22050.0, 100, [] (int, int s) { return (float) s / 200.0f; }); }
}

// The bank embedded in the program, generated once for these tests.
class AlxEmbeddedBank : public testing::Test
{
protected:
    static void SetUpTestSuite() { synth = new AlxSynth(); }
    static void TearDownTestSuite() { delete synth; }

    // Checks, by a Fourier transform of the table, that harmonic k (1, 2, ...) of f0 sits where it
    // belongs with a strength proportional to amplitudes[k - 1], and that nothing else sounds.
    static void expectPartials (int soundIndex, double f0, const std::vector<double>& amplitudes)
    {
        const auto& data = *samplerSound (*synth, soundIndex).getAudioData();
        const auto spectrum = magnitudeSpectrum (data.getReadPointer (0), N);
        const double binsPerHz = N / 44100.0;

        double total = 0.0;

        for (auto m : spectrum)
            total += (double) m * m;

        double inside = 0.0, firstStrength = 0.0;

        for (int k = 1; k <= (int) amplitudes.size(); ++k)
        {
            SCOPED_TRACE ("harmonic " + std::to_string (k));
            const double centre = k * f0 * binsPerHz;
            const double bandwidthBins = (std::pow (2.0, 10.0 / 1200.0) - 1.0) * k * f0 * binsPerHz;
            const int from = (int) (centre - 6.0 * bandwidthBins) - 2, to = (int) (centre + 6.0 * bandwidthBins) + 2;
            double strength = 0.0, energy = 0.0, moment = 0.0;

            for (int j = std::max (from, 0); j <= to; ++j)
            {
                const double m = spectrum[(size_t) j];
                strength += m;
                energy += m * m;
                moment += j * m * m;
            }

            inside += energy;
            EXPECT_NEAR (moment / energy, centre, 0.5);

            if (k == 1)
                firstStrength = strength;
            else
                EXPECT_NEAR (strength / firstStrength, amplitudes[(size_t) k - 1] / amplitudes[0], 0.005);
        }

        EXPECT_LT ((total - inside) / total, 1.0e-6);

        const auto range = juce::FloatVectorOperations::findMinAndMax (data.getReadPointer (0), N);
        EXPECT_NEAR (std::max (-range.getStart(), range.getEnd()), 0.7071, 0.0005);
    }

    static inline AlxSynth* synth = nullptr;
};

TEST_F (AlxEmbeddedBank, tenLoopingSoundsCoverNotes3To122OneOctaveEach)
{
    const struct
    {
        int root, first, last;
    } expected[] = { { 69, 63, 74 }, { 81, 75, 86 }, { 93, 87, 98 },  { 105, 99, 110 }, { 117, 111, 122 },
                     { 57, 51, 62 }, { 45, 39, 50 }, { 33, 27, 38 }, { 21, 15, 26 },   { 9, 3, 14 } };

    ASSERT_EQ (synth->getNumSounds(), 10);

    for (int i = 0; i < 10; ++i)
    {
        SCOPED_TRACE ("sound " + std::to_string (i));
        auto& sound = samplerSound (*synth, i);
        EXPECT_EQ (sound.getRootNote(), expected[i].root);
        EXPECT_EQ (noteRange (sound), std::make_pair (expected[i].first, expected[i].last));
        EXPECT_TRUE (sound.isLooping());
        EXPECT_EQ (sound.getLength(), N);
    }

    for (int note = 0; note < 128; ++note)
    {
        int owners = 0;

        for (int i = 0; i < synth->getNumSounds(); ++i)
            owners += synth->getSound (i)->appliesToNote (note) ? 1 : 0;

        EXPECT_EQ (owners, note >= 3 && note <= 122 ? 1 : 0) << "note " << note;
    }
}

// Short tables (the fuzz target reads banks so) change the length of every table and nothing else
// a bank decides.
TEST_F (AlxEmbeddedBank, shortTablesGiveTheSameSoundsOverTheSameNotes)
{
    constexpr int shortLength = 64;
    juce::MemoryInputStream archive (AlxEmbeddedData::soundBankZip, (size_t) AlxEmbeddedData::soundBankZipSize, false);
    AlxSynth shortTables (archive, shortLength);

    ASSERT_EQ (shortTables.getNumSounds(), synth->getNumSounds());

    for (int i = 0; i < synth->getNumSounds(); ++i)
    {
        SCOPED_TRACE ("sound " + std::to_string (i));
        auto& fullSound = samplerSound (*synth, i);
        auto& shortSound = samplerSound (shortTables, i);
        EXPECT_EQ (shortSound.getRootNote(), fullSound.getRootNote());
        EXPECT_EQ (noteRange (shortSound), noteRange (fullSound));
        EXPECT_TRUE (shortSound.isLooping());
        EXPECT_EQ (shortSound.getLength(), shortLength);
    }
}

TEST_F (AlxEmbeddedBank, spectraShowEachPartialWhereAndAsStrongAsTheBankSays)
{
    const std::vector<double> organ { 0.95, 0.90, 0.80, 0.65, 0.45, 0.15 };

    {
        SCOPED_TRACE ("note 69");
        expectPartials (0, 440.0, organ);
    }
    {
        SCOPED_TRACE ("note 81");
        expectPartials (1, 880.0, organ);
    }
    {
        // Its octave reaches note 110: only harmonics 1 to 3 stay below Nyquist there.
        SCOPED_TRACE ("note 105");
        expectPartials (3, 3520.0, { 0.95, 0.90, 0.80 });
    }
    {
        SCOPED_TRACE ("note 117 keeps partial 1 only");
        expectPartials (4, 7040.0, { 0.95 });
    }
}

TEST (AlxSoundBank, malformedBanksGiveNoSounds)
{
    const auto sound = shortWav();
    const auto sampler = [&sound] (const juce::String& xml) { return zip ({ { "_metadata.xml", text (xml) }, { "a.wav", sound } }); };
    juce::String tooManySounds = "<soundBank><sounds>";
    std::vector<Entry> tooManyEntries { { "_metadata.xml", {} } };

    for (int k = 1; k <= AlxSynth::maxSamplerSounds + 1; ++k)
    {
        tooManySounds << "<sound rootMidiNote=\"60\"/>";
        tooManyEntries.push_back ({ juce::String (k) + ".wav", sound });
    }

    tooManyEntries[0].second = text (tooManySounds + "</sounds></soundBank>");
    // Bytes the XML reader would read past the end of (found by the sound bank fuzz target;
    // fuzz/corpus/sound_bank/regression-truncated-utf8).
    const char brokenCharacters[] = "<soundBank type=\"sampler\"><sounds><sound/></sou\xff\xff\xff\x95undBank>";
    // A recording whose format chunk claims 200 channels (found by the sound bank fuzz target:
    // JUCE's reader numbers channels past its last discrete one; fuzz/corpus/sound_bank/
    // regression-many-channels).
    auto manyChannels = sound;
    auto* wavBytes = static_cast<char*> (manyChannels.getData());
    const auto* format = std::search (wavBytes, wavBytes + manyChannels.getSize(), "fmt ", "fmt " + 4);
    const auto formatAt = (size_t) (format - wavBytes);
    wavBytes[formatAt + 10] = (char) 200;
    wavBytes[formatAt + 11] = 0;
    // The same with a format chunk of one channel before the one claiming 200: the reader takes
    // the last.
    auto twoFormats = sound;
    twoFormats.insert (wavBytes + formatAt, 24, formatAt + 24);
    const auto riffSize = juce::ByteOrder::swapIfBigEndian ((juce::uint32) twoFormats.getSize() - 8);
    twoFormats.copyFrom (&riffSize, 4, 4);
    const auto tooManyWavetables = juce::String::repeatedString (
        "<wavetable rootMidiNote=\"60\" numberOfHarmonics=\"2\"><harmonics><harmonic number=\"1\" amplitude=\"1\"/></harmonics></wavetable>",
        AlxSynth::maxWavetables + 1);

    const struct
    {
        const char* what;
        juce::MemoryBlock archive;
    } cases[] = {
        { "not an archive", text ("just some text") },
        { "an archive without entries", zip ({}) },
        { "entry 0 is not XML", zip ({ { "_metadata.xml", text ("soundBank type=wavetable") } }) },
        { "entry 0 is binary", zip ({ { "_metadata.xml", sound } }) },
        { "entry 0 with broken UTF-8", zip ({ { "_metadata.xml", juce::MemoryBlock (brokenCharacters, sizeof (brokenCharacters) - 1) },
                                              { "a.wav", sound } }) },
        { "entry 0 the XML reader would loop on forever", sampler ("<soundBank><?x?>text<sounds><sound/></sounds></soundBank>") },
        { "another root", sampler ("<soundBanks><sounds><sound rootMidiNote=\"60\"/></sounds></soundBanks>") },
        { "a type in another case", sampler ("<soundBank type=\"Sampler\"><sounds><sound/></sounds></soundBank>") },
        { "an unknown type", sampler ("<soundBank type=\"granular\"><sounds><sound/></sounds></soundBank>") },
        { "a description beyond the bound",
          sampler ("<soundBank><!--" + juce::String::repeatedString ("x", AlxSynth::maxDescriptionBytes)
                   + "--><sounds><sound/></sounds></soundBank>") },
        { "a sampler sound whose WAV entry is missing", zip ({ { "_metadata.xml", text ("<soundBank><sounds><sound/></sounds></soundBank>") } }) },
        { "a second sampler sound whose WAV entry is missing",
          sampler ("<soundBank><sounds><sound/><sound/></sounds></soundBank>") },
        { "a sampler sound whose entry is not a WAV file",
          oneSoundBank (text ("RIFF")) },
        { "more sampler sounds than the bound", zip (tooManyEntries) },
        { "a recording with more channels than the bound",
          oneSoundBank (manyChannels) },
        { "a recording whose second format chunk has more channels than the bound",
          oneSoundBank (twoFormats) },
        { "an absurd number of harmonics", wavetableBank ("<wavetable rootMidiNote=\"60\" numberOfHarmonics=\"2000000000\"/>") },
        { "a harmonic count beyond the bound", wavetableBank ("<wavetable rootMidiNote=\"60\" numberOfHarmonics=\"4097\"/>") },
        { "a negative number of harmonics", wavetableBank ("<wavetable rootMidiNote=\"60\" numberOfHarmonics=\"-3\"/>") },
        { "a root above the keyboard", wavetableBank ("<wavetable rootMidiNote=\"128\" numberOfHarmonics=\"2\"/>") },
        { "a root below the keyboard", wavetableBank ("<wavetable rootMidiNote=\"-1\" numberOfHarmonics=\"2\"/>") },
        { "a bandwidth beyond any number", wavetableBank ("<wavetable rootMidiNote=\"60\" numberOfHarmonics=\"2\" bandwidth=\"1e999\"/>") },
        { "an amplitude beyond float range",
          wavetableBank ("<wavetable rootMidiNote=\"60\" numberOfHarmonics=\"2\"><harmonics><harmonic number=\"1\" amplitude=\"1e300\"/></harmonics></wavetable>") },
        { "more wavetables than the bound", wavetableBank (tooManyWavetables) },
    };

    for (auto& c : cases)
        EXPECT_EQ (synthFor (c.archive)->getNumSounds(), 0) << c.what;

    // The archives above fail for the reason named, not for being crafted: a sound bank built
    // the same way loads.
    EXPECT_EQ (synthFor (sampler ("<soundBank><sounds><sound rootMidiNote=\"60\"/></sounds></soundBank>"))->getNumSounds(), 1);
}

// Inputs the sound bank fuzz target found: a recording claiming more channels than the bound,
// an entry whose archive claims more bytes than it holds, so that reading it stops delivering
// bytes without ending (reading its WAV header looped forever), a recording whose loop chunk
// claims megabytes, and a float recording holding a sample that is not a number.
TEST (AlxSoundBank, fuzzFindingsAreRefused)
{
    for (auto* name : { "regression-many-channels", "regression-stalled-entry", "regression-long-claimed-chunk",
                        "regression-not-a-number" })
    {
        const auto file = juce::File (PLIMSAR_SOURCE_DIR).getChildFile ("fuzz/corpus/sound_bank").getChildFile (name);
        juce::MemoryBlock archive;
        ASSERT_TRUE (file.loadFileAsData (archive)) << name;
        EXPECT_EQ (synthFor (archive)->getNumSounds(), 0) << name;
    }
}

TEST (AlxSoundBank, samplerBanksReadTheirAttributesWithDefaultsAndCaseRules)
{
    const auto stereo = wav (2, 20000.0, 1000, [] (int c, int s) { return (c == 0 ? 1.0f : -1.0f) * (float) s / 2000.0f; });
    const auto mono = wav (1, 20000.0, 1000, [] (int, int s) { return (float) s / 4000.0f; });
    const juce::String sounds = "<Sounds>"
                                "<sound name=\"first\" rootMidiNote=\"60\"/>"
                                "<Sound name=\"not a sound: tags of sounds match exactly\"/>"
                                "<sound rootMidiNote=\"48\" firstMidiNote=\"-5\" lastMidiNote=\"200\"/>"
                                "<sound rootMidiNote=\"60\" firstMidiNote=\"60\" lastMidiNote=\"59\"/>"
                                "</Sounds>";

    const struct
    {
        const char* what;
        juce::String bankAttributes;
        int attack, release, length;
    } cases[] = {
        { "defaults", "", 200, 2000, 1000 },  // 0.01 s, 0.1 s, 10 s at 20000 Hz
        { "given times", "attackTime=\"0.02\" releaseTime=\"0.5\" maxDuration=\"0.01\"", 400, 10000, 200 },
        { "no duration limit", "maxDuration=\"0\"", 200, 2000, 1000 },
    };

    for (auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        const auto synth = synthFor (zip ({ { "_metadata.xml", text ("<SOUNDBANK " + c.bankAttributes + ">" + sounds + "</SOUNDBANK>") },
                                            { "1.wav", stereo },
                                            { "2.wav", mono },
                                            { "3.wav", stereo } }));
        ASSERT_EQ (synth->getNumSounds(), 3);

        auto& first = samplerSound (*synth, 0);
        EXPECT_EQ (first.getName(), "first");
        EXPECT_EQ (noteRange (first), std::make_pair (60, 60));
        EXPECT_EQ (first.getRootNote(), 60);
        EXPECT_FALSE (first.isLooping());
        EXPECT_EQ (first.getSourceSampleRate(), 20000.0);
        EXPECT_EQ (first.getAttackSamples(), c.attack);
        EXPECT_EQ (first.getReleaseSamples(), c.release);
        EXPECT_EQ (first.getLength(), c.length);
        EXPECT_EQ (first.getAudioData()->getNumChannels(), 2);
        EXPECT_NEAR (first.getAudioData()->getSample (1, 100), -0.05f, 1.0e-4f);

        auto& second = samplerSound (*synth, 1);
        EXPECT_EQ (second.getName(), "untitled");
        EXPECT_EQ (noteRange (second), std::make_pair (0, 127));
        EXPECT_EQ (second.getAudioData()->getNumChannels(), 1);
        EXPECT_NEAR (second.getAudioData()->getSample (0, 100), 0.025f, 1.0e-4f);

        EXPECT_EQ (noteRange (samplerSound (*synth, 2)), std::make_pair (-1, -1));
    }
}

// A WAV header may claim far more samples than its entry holds (fuzz/corpus/sound_bank/
// regression-long-claimed-recordings: 128 sounds claiming a billion samples each took seconds and
// gigabytes to read as silence). Only what the entry can hold is read.
TEST (AlxSoundBank, recordingsClaimingMoreThanTheirEntryHoldsKeepWhatIsThere)
{
    auto claiming = shortWav();
    auto* bytes = static_cast<char*> (claiming.getData());
    const auto* dataChunk = std::search (bytes, bytes + claiming.getSize(), "data", "data" + 4);
    ASSERT_NE (dataChunk, bytes + claiming.getSize());
    const auto dataAt = (size_t) (dataChunk - bytes) + 4;
    // The data chunk and the whole file claim 2^31 - 16 bytes.
    const std::uint8_t claim[] = { 0xf0, 0xff, 0xff, 0x7f };
    std::memcpy (bytes + dataAt, claim, sizeof (claim));
    std::memcpy (bytes + 4, claim, sizeof (claim));

    // Whatever the header says, the entry's 16-bit mono frames are the most that is read; the
    // recording's 100 samples come first, silence after them.
    const int held = (int) claiming.getSize() / 2;
    juce::String sounds = "<soundBank maxDuration=\"0\"><sounds>";
    std::vector<Entry> entries { { "_metadata.xml", {} } };

    for (int k = 1; k <= AlxSynth::maxSamplerSounds; ++k)
    {
        sounds << "<sound rootMidiNote=\"60\"/>";
        entries.push_back ({ juce::String (k) + ".wav", claiming });
    }

    entries[0].second = text (sounds + "</sounds></soundBank>");

    for (int level : { 0, 9 })
    {
        SCOPED_TRACE (level == 0 ? "stored entries" : "deflated entries");
        const auto archive = AlxZipArchive::build (entries, level);
        juce::MemoryInputStream stream (archive, false);
        AlxSynth synth (stream);
        ASSERT_EQ (synth.getNumSounds(), AlxSynth::maxSamplerSounds);

        for (int i = 0; i < synth.getNumSounds(); ++i)
        {
            auto& sound = samplerSound (synth, i);
            ASSERT_EQ (sound.getLength(), held);
            const auto& data = *sound.getAudioData();
            EXPECT_NEAR (data.getSample (0, 99), 99.0f / 200.0f, 1.0e-4f);

            for (int s = 100; s < data.getNumSamples(); ++s)
                EXPECT_EQ (data.getSample (0, s), 0.0f) << s;
        }
    }
}

// JUCE's WAV reader allocates and walks the chunks it understands over the length they claim:
// a recording is read only when every chunk but its samples lies within its entry.
TEST (AlxSoundBank, recordingsWhoseOtherChunksClaimMoreThanTheirEntryHoldsAreRefused)
{
    // The WAV file with a chunk appended that claims `claimed` bytes and holds `held` zero bytes;
    // the RIFF size covers what is appended unless the chunk lies past the RIFF's end.
    const auto withChunk = [] (const char* id, juce::uint32 claimed, size_t held, bool insideRiff)
    {
        auto file = shortWav();
        juce::MemoryOutputStream out (file, true);
        out.write (id, 4);
        out.writeInt ((int) claimed);
        out.writeRepeatedByte (0, held);
        out.flush();

        if (insideRiff)
        {
            const auto riffSize = juce::ByteOrder::swapIfBigEndian ((juce::uint32) file.getSize() - 8);
            file.copyFrom (&riffSize, 4, 4);
        }

        return file;
    };

    const struct
    {
        const char* what;
        juce::MemoryBlock recording;
        int sounds;
    } cases[] = {
        // (fuzz/corpus/sound_bank/regression-long-claimed-chunk: 4 MB of loop points claimed by a
        // few hundred bytes took gigabytes and more than ten seconds to read)
        { "loop points claiming megabytes", withChunk ("smpl", 1 << 22, 60, true), 0 },
        { "cue points claiming a byte more than there is", withChunk ("cue ", 29, 28, true), 0 },
        { "labels claiming more than there is", withChunk ("LIST", 4000, 100, true), 0 },
        { "loop points that fit", withChunk ("smpl", 60, 60, true), 1 },
        { "an odd-sized last chunk without its pad byte", withChunk ("note", 11, 11, true), 1 },
        { "bytes past the RIFF's end, whatever they claim", withChunk ("smpl", 1 << 22, 60, false), 1 },
    };

    for (auto& c : cases)
        EXPECT_EQ (synthFor (oneSoundBank (c.recording))->getNumSounds(), c.sounds) << c.what;
}

// A float recording may hold what no voice can play (found by the sound bank fuzz target: a
// sample that is not a number made the synth play nothing but that; fuzz/corpus/sound_bank/
// regression-not-a-number).
TEST (AlxSoundBank, floatRecordingsHoldingSamplesNoVoiceCanPlayAreRefused)
{
    const auto withSample = [] (float odd)
    {
        return wav (1, 44100.0, 100, [odd] (int, int s) { return s == 50 ? odd : 0.5f; }, 32);
    };

    const struct
    {
        const char* what;
        juce::MemoryBlock recording;
        int sounds;
    } cases[] = {
        { "not a number", withSample (std::numeric_limits<float>::quiet_NaN()), 0 },
        { "infinity", withSample (-std::numeric_limits<float>::infinity()), 0 },
        { "beyond the bound", withSample (AlxSynth::maxSampleMagnitude * 1.01f), 0 },
        { "at the bound", withSample (-AlxSynth::maxSampleMagnitude), 1 },
        { "above full scale, as float recordings may go", withSample (1.5f), 1 },
        { "no samples at all (a silent sound)", wav (1, 44100.0, 0, [] (int, int) { return 0.0f; }, 32), 1 },
    };

    for (auto& c : cases)
        EXPECT_EQ (synthFor (oneSoundBank (c.recording))->getNumSounds(), c.sounds) << c.what;
}

// What the recordings of a sampler bank keep together is bounded, and a bank beyond the bound is
// refused before the recording that would pass it is read.
TEST (AlxSoundBank, samplerBanksKeepingMoreThanTheBoundTogetherAreRefused)
{
    // Each keeps the longest a sound may: at 48 kHz the 60 s any sound may last are longer.
    const auto longest = wav (1, 48000.0, AlxSamplerSound::maxLength, [] (int, int s) { return (float) (s % 100) / 200.0f; });
    constexpr int soundsWithinBound = AlxSynth::maxSamplerBankSamples / AlxSamplerSound::maxLength;

    for (int count : { soundsWithinBound, soundsWithinBound + 1 })
    {
        juce::String sounds = "<soundBank maxDuration=\"0\"><sounds>";
        std::vector<Entry> entries { { "_metadata.xml", {} } };

        for (int k = 1; k <= count; ++k)
        {
            sounds << "<sound rootMidiNote=\"60\"/>";
            entries.push_back ({ juce::String (k) + ".wav", longest });
        }

        entries[0].second = text (sounds + "</sounds></soundBank>");
        const auto archive = AlxZipArchive::build (entries, 0);
        juce::MemoryInputStream stream (archive, false);
        AlxSynth synth (stream);
        EXPECT_EQ (synth.getNumSounds(), count == soundsWithinBound ? count : 0) << count << " sounds";
    }
}

TEST (AlxSoundBank, wavetableNamesIgnoreCaseWhereTheyMayAndHarmonicsOutsideTheListAreIgnored)
{
    const auto square = [] (const juce::String& function, const juce::String& extraHarmonics)
    {
        return synthFor (wavetableBank ("<wavetable rootMidiNote=\"69\" numberOfHarmonics=\"2\" baseFunction=\"" + function + "\">"
                                        "<HARMONICS><harmonic number=\"1\" amplitude=\"0.5\"/>" + extraHarmonics
                                        + "<Harmonic number=\"1\" amplitude=\"0.9\"/></HARMONICS></wavetable>"));
    };

    const auto plain = square ("square", {});
    const auto variant = square ("Square", "<harmonic number=\"2\" amplitude=\"0.9\"/><harmonic number=\"-1\" amplitude=\"0.7\"/>");
    const auto sine = square ("sine", {});

    ASSERT_EQ (plain->getNumSounds(), 10);
    ASSERT_EQ (variant->getNumSounds(), 10);
    ASSERT_EQ (sine->getNumSounds(), 10);

    const auto samples = [] (AlxSynth& synth) { return samplerSound (synth, 0).getAudioData()->getReadPointer (0); };
    EXPECT_TRUE (std::equal (samples (*plain), samples (*plain) + N, samples (*variant)));
    EXPECT_FALSE (std::equal (samples (*plain), samples (*plain) + N, samples (*sine)));
}

TEST (AlxSoundBank, wavetablesWithoutHarmonicsOrWithTheWrongTagMakeNoSounds)
{
    const char* banks[] = {
        "<wavetable rootMidiNote=\"60\"/>",
        "<wavetable rootMidiNote=\"60\" numberOfHarmonics=\"0\"><harmonics><harmonic number=\"0\" amplitude=\"1\"/></harmonics></wavetable>",
        "<Wavetable rootMidiNote=\"60\" numberOfHarmonics=\"3\"/>",
    };

    for (auto* bank : banks)
        EXPECT_EQ (synthFor (wavetableBank (bank))->getNumSounds(), 0) << bank;
}

TEST (AlxSoundBank, noTableAliasesAtAnyNoteItPlays)
{
    juce::String harmonics;

    for (int k = 1; k < 60; ++k)
        harmonics << "<harmonic number=\"" << k << "\" amplitude=\"1\"/>";

    const auto synth = synthFor (wavetableBank ("<wavetable rootMidiNote=\"69\" numberOfHarmonics=\"60\"><harmonics>"
                                                + harmonics + "</harmonics></wavetable>"));
    ASSERT_EQ (synth->getNumSounds(), 10);

    for (int i = 0; i < synth->getNumSounds(); ++i)
    {
        auto& sound = samplerSound (*synth, i);
        SCOPED_TRACE ("sound for note " + std::to_string (sound.getRootNote()));

        // Played at its highest note the table sounds this much higher; its bands (10 cents)
        // reach about 1 % beyond their centres.
        const double raise = AlxWavetable::noteFrequency (noteRange (sound).second) / AlxWavetable::noteFrequency (sound.getRootNote());
        const double highestHz = 44100.0 * 0.4999 / raise * 1.02;
        const auto spectrum = magnitudeSpectrum (sound.getAudioData()->getReadPointer (0), N);
        double total = 0.0, above = 0.0;

        for (size_t j = 0; j < spectrum.size(); ++j)
        {
            const double energy = (double) spectrum[j] * spectrum[j];
            total += energy;
            above += j * 44100.0 / N > highestHz ? energy : 0.0;
        }

        EXPECT_GT (total, 0.0);
        EXPECT_LT (above / total, 1.0e-7);
    }
}
