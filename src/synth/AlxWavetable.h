#pragma once

#include "synth/AlxSamplerSound.h"

#include <kiss_fftr.h>

#include <random>
#include <vector>

// One wavetable description (a harmonic spectrum) and the generation of its sounds: one looping,
// band-limited table per octave. Every harmonic is spread into a Gaussian band, given a random
// phase, and the whole spectrum becomes a long periodic table through one inverse real FFT.
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
    void generateSounds (std::vector<AlxSamplerSound::Ptr>& out);
    // The sound for one octave, covering note - 6 ... note + 5; null for an empty list.
    AlxSamplerSound::Ptr makeSound (int note, const std::vector<float>& list);
    // Writes a table of N samples, peaking at about 0.707 (silent when all magnitudes are zero).
    void synthesiseTable (int N, int rate, float f0, float bw, float bwScale, float relF,
                          int count, const float* weights, float* out);
    // Unnormalised inverse real FFT of bins 0 ... N/2 - 1 given as magnitude and phase.
    void inverseFft (int N, const float* magnitude, const float* phase, float* out);

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
    // Allocates the FFT workspace for size N unless it has it; false when that failed.
    bool prepareFft (int N);

    juce::String name;
    int rootNote;
    std::vector<float> amplitudes;
    double bandwidth;
    double bandwidthScale;
    double relativeFrequency;
    int baseFunction;
    int tableLength;

    // FFT workspace, kept while the table size stays the same.
    kiss_fftr_cfg fftConfig = nullptr;
    int fftSize = 0;
    std::vector<kiss_fft_cpx> bins;
    std::vector<float> magnitudes, phases;

    // Phases come from a private generator with a fixed seed, so every run builds the same tables.
    static constexpr std::mt19937::result_type phaseSeed = 5489u;
    std::mt19937 phaseGenerator { phaseSeed };

    JUCE_DECLARE_NON_COPYABLE (AlxWavetable)
};
