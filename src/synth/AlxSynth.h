#pragma once

#include "synth/AlxSamplerVoice.h"
#include "synth/AlxWavetable.h"

#include <memory>
#include <vector>

// The built-in test synth: the library's polyphonic synthesiser with 64 sampler voices, playing
// the sounds of a sound bank read once at construction.
//
// A sound bank is a zip archive whose entry 0 is an XML description (root `soundBank`). A sampler
// bank lists `sounds`, whose k-th `sound` is the WAV file in entry k; a wavetable bank lists
// `wavetables`, each generating one table per octave. A bank that is malformed anywhere adds no
// sound at all, and so does one that asks for more than the bounds below or whose description the
// XML reader cannot be trusted with.
class AlxSynth : public juce::Synthesiser
{
public:
    static constexpr int numVoices = 64;

    // Bounds on what a bank may ask for. A wavetable yields at most 11 sounds of about 2 MB each;
    // the lowest possible table (note 0) holds about 2700 harmonics below Nyquist, so a longer
    // harmonic list means nothing more; a description is a few hundred bytes. The recordings of a
    // sampler bank keep at most maxSamplerBankSamples per channel together (over three minutes
    // at 44.1 kHz, 64 MB in stereo), which bounds the time reading them takes as well as memory.
    static constexpr int maxWavetables = 4;
    static constexpr int maxHarmonics = 4096;
    static constexpr int maxSamplerSounds = 128;
    static constexpr int maxSamplerBankSamples = 1 << 23;
    // Recordings with more channels are refused (the synth plays two of them).
    static constexpr int maxRecordingChannels = 64;
    // Recordings holding a sample that is not a number, or one beyond this magnitude (60 dB over
    // full scale, where a float recording may go), are refused: no sum of voices overflows.
    static constexpr float maxSampleMagnitude = 1000.0f;
    static constexpr int maxDescriptionBytes = 1 << 20;

    // Plays the bank embedded in the program.
    AlxSynth();
    // Plays the bank in the given archive (read during construction). Wavetables are generated
    // with tables of tableLength samples (see AlxWavetable), on up to `threads` threads.
    explicit AlxSynth (juce::InputStream& soundBank, int tableLength = AlxWavetable::tableSize, int threads = 1);
    ~AlxSynth() override;

private:
    using Sounds = std::vector<juce::SynthesiserSound::Ptr>;

    // The sounds of a bank, or none (false) when it is malformed anywhere or breaks a bound.
    static bool readSounds (juce::InputStream& archiveStream, int tableLength, int threads, Sounds& loaded);
    void addSounds (const Sounds& soundsToPlay);
    static bool readSamplerBank (const juce::XmlElement& bank, juce::ZipFile& archive, Sounds& out);
    static bool readWavetableBank (const juce::XmlElement& bank, int tableLength, int threads, Sounds& out);
    void addVoices();

    JUCE_DECLARE_NON_COPYABLE (AlxSynth)
};
