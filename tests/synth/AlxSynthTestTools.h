#pragma once

#include "synth/AlxSynth.h"

#include "support/AlxZipArchive.h"

#include <functional>
#include <utility>
#include <vector>

// Helpers of the synth tests: crafted sound-bank archives, WAV files, spectra.
namespace AlxSynthTestTools
{
    using Entry = AlxZipArchive::Entry;

    juce::MemoryBlock text (const juce::String& content);
    // A zip archive holding the entries in the given order.
    juce::MemoryBlock zip (const std::vector<Entry>& entries);
    // A WAV file whose sample (channel, index) is value (channel, index): 16-bit, or 32-bit float.
    juce::MemoryBlock wav (int channels, double rate, int length, const std::function<float (int, int)>& value, int bits = 16);
    // A synth playing the bank in the archive.
    std::unique_ptr<AlxSynth> synthFor (const juce::MemoryBlock& archive);

    // |X[j]| for j = 0 ... n/2 of the real FFT of n samples (n even), without a window.
    std::vector<float> magnitudeSpectrum (const float* samples, int n);
    // The frequency of the strongest component between two frequencies, measured with a Hann
    // window and refined between bins.
    double peakFrequency (const float* samples, int n, double sampleRate, double lowHz, double highHz);

    // The notes a sound answers, as the first and last of them (-1, -1 when none).
    std::pair<int, int> noteRange (juce::SynthesiserSound& sound);
}
