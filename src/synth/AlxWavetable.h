#pragma once

#include "synth/AlxSamplerSound.h"

#include <kiss_fftr.h>

#include <random>
#include <vector>

// One wavetable description (a harmonic spectrum) and the generation of its sounds: one looping,
// band-limited table per octave. Every harmonic is spread into a Gaussian band, given a random
// phase, and the whole spectrum becomes a long periodic table through one inverse real FFT.
// The phases are drawn table after table from one generator; once they are drawn the tables are
// independent, so their FFTs may run on more than one thread.
class AlxWavetable
{
public:
    enum BaseFunction
    {
        sine = 0,
        triangle = 1,
        sawtooth = 2,
        square = 3
    };

    static constexpr int baseSpectrumSize = 128;
    // Beyond x^2 = this (|x| of about 3.836 bandwidths) a harmonic's Gaussian counts as zero.
    static constexpr float profileCutoff = 14.71280603f;

    // amplitudes[i] weighs harmonic i (entry 0 is not used); bandwidth in cents. Each table holds
    // tableLength samples (a power of two, at least 2): tableSize for sounds that are played, far
    // fewer where only the reading of a bank matters and generating must cost next to nothing.
    AlxWavetable (int rootNote, std::vector<float> amplitudes, double bandwidth, double bandwidthScale,
                  double relativeFrequency, int baseFunction, int tableLength = tableSize);
    ~AlxWavetable();

    // The sounds of this wavetable: the root's table, then ascending, then descending octaves.
    // With threads > 1 the tables are computed on that many threads (this one included); the
    // sounds are the same whatever the count.
    void generateSounds (std::vector<AlxSamplerSound::Ptr>& out, int threads = 1);
    // The sound for one octave, covering note - 6 ... note + 5; null for an empty list.
    AlxSamplerSound::Ptr makeSound (int note, const std::vector<float>& list);
    // Writes a table of N samples, peaking at about 0.707 (silent when all magnitudes are zero).
    void synthesiseTable (int N, int rate, float f0, float bw, float bwScale, float relF,
                          int count, const float* weights, float* out);

    // Adds the Gaussian band of every harmonic 1 ... count - 1 to magnitudes[0 ... N/2 - 1].
    // Only the bins where a band is non-zero are evaluated.
    static void addHarmonicProfiles (int N, int rate, float f0, float bw, float bwScale, float relF,
                                     int count, const float* weights, float* sum);
    // The spectrum (128 entries) of the base waveform layered at the harmonics the weights name.
    static std::vector<float> convertBaseFunction (const std::vector<float>& weights, int function);
    // Keeps the leading entries whose harmonic (index + 1) x f stays at or below the limit.
    static void cutAboveLimit (std::vector<float>& list, float f, float limit);
    // "triangle", "sawtooth", "square" in any case; anything else is a sine.
    static int baseFunctionFromText (const juce::String& text);
    static float noteFrequency (int note);

    static constexpr int tableSampleRate = 44100;
    static constexpr int tableSize = 1 << 18;
    static constexpr double attackSeconds = 0.0005;
    static constexpr double releaseSeconds = 0.7;
    static constexpr double maxDurationSeconds = 30.0;

private:
    // A bin of a table's spectrum that is not zero, as the complex value its magnitude and phase give.
    struct FilledBin
    {
        int index;
        kiss_fft_cpx value;
    };

    using Spectrum = std::vector<FilledBin>;

    // An inverse real FFT of one size and its bins; each thread computing tables needs its own.
    struct FftWorkspace
    {
        FftWorkspace() = default;
        ~FftWorkspace();
        // Allocates the configuration for size N unless it has it; false when that failed.
        bool prepare (int N);

        kiss_fftr_cfg config = nullptr;
        int size = 0;
        std::vector<kiss_fft_cpx> bins;

        JUCE_DECLARE_NON_COPYABLE (FftWorkspace)
    };

    // The filled bins of one table: the harmonics' bands and a phase drawn for each filled bin.
    Spectrum drawSpectrum (int N, int rate, float f0, float bw, float bwScale, float relF, int count, const float* weights);
    // Unnormalised inverse real FFT of the workspace's size from the filled bins (every other bin is 0).
    static void inverseFft (FftWorkspace& fft, const Spectrum& spectrum, float* out);
    // The table of a spectrum, peaking at about 0.707 (silent when it has no energy or no finite peak).
    static void renderTable (FftWorkspace& fft, int N, const Spectrum& spectrum, float* out);
    // The sound of one octave's table.
    AlxSamplerSound::Ptr soundFromTable (int note, const float* table) const;

    juce::String name;
    int rootNote;
    std::vector<float> amplitudes;
    double bandwidth;
    double bandwidthScale;
    double relativeFrequency;
    int baseFunction;
    int tableLength;

    // FFT workspace of this thread, kept while the table size stays the same.
    FftWorkspace fft;
    std::vector<float> magnitudes;

    // Phases come from a private generator with a fixed seed, so every run builds the same tables.
    static constexpr std::mt19937::result_type phaseSeed = 5489u;
    std::mt19937 phaseGenerator { phaseSeed };

    JUCE_DECLARE_NON_COPYABLE (AlxWavetable)
};
