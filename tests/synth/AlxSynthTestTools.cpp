#include "AlxSynthTestTools.h"

#include <kiss_fftr.h>

#include <cmath>

namespace AlxSynthTestTools
{
    juce::MemoryBlock text (const juce::String& content)
    {
        return juce::MemoryBlock (content.toRawUTF8(), content.getNumBytesAsUTF8());
    }

    juce::MemoryBlock zip (const std::vector<Entry>& entries)
    {
        return AlxZipArchive::build (entries);
    }

    juce::MemoryBlock wav (int channels, double rate, int length, const std::function<float (int, int)>& value, int bits)
    {
        juce::AudioBuffer<float> buffer (channels, length);

        for (int c = 0; c < channels; ++c)
            for (int s = 0; s < length; ++s)
                buffer.setSample (c, s, value (c, s));

        juce::MemoryBlock file;
        juce::WavAudioFormat format;
        {
            std::unique_ptr<juce::AudioFormatWriter> writer (
                format.createWriterFor (new juce::MemoryOutputStream (file, false), rate, (unsigned int) channels, bits, {}, 0));
            writer->writeFromAudioSampleBuffer (buffer, 0, length);
        }
        return file;
    }

    std::unique_ptr<AlxSynth> synthFor (const juce::MemoryBlock& archive)
    {
        juce::MemoryInputStream stream (archive, false);
        return std::make_unique<AlxSynth> (stream);
    }

    std::vector<float> magnitudeSpectrum (const float* samples, int n)
    {
        auto* config = kiss_fftr_alloc (n, 0, nullptr, nullptr);
        std::vector<kiss_fft_cpx> bins ((size_t) (n / 2 + 1));
        kiss_fftr (config, samples, bins.data());
        kiss_fftr_free (config);

        std::vector<float> magnitudes;

        for (auto& bin : bins)
            magnitudes.push_back (std::hypot (bin.r, bin.i));

        return magnitudes;
    }

    double peakFrequency (const float* samples, int n, double sampleRate, double lowHz, double highHz)
    {
        std::vector<float> windowed ((size_t) n);

        for (int s = 0; s < n; ++s)
            windowed[(size_t) s] = samples[s] * (float) (0.5 - 0.5 * std::cos (juce::MathConstants<double>::twoPi * s / (n - 1)));

        const auto spectrum = magnitudeSpectrum (windowed.data(), n);
        const double binHz = sampleRate / n;
        int best = (int) std::ceil (lowHz / binHz);

        for (int j = best; j <= (int) (highHz / binHz); ++j)
            if (spectrum[(size_t) j] > spectrum[(size_t) best])
                best = j;

        // A parabola through the log magnitudes of the peak bin and its neighbours.
        const double a = std::log (spectrum[(size_t) best - 1]), b = std::log (spectrum[(size_t) best]),
                     c = std::log (spectrum[(size_t) best + 1]);
        return (best + 0.5 * (a - c) / (a - 2.0 * b + c)) * binHz;
    }

    std::pair<int, int> noteRange (juce::SynthesiserSound& sound)
    {
        int first = -1, last = -1;

        for (int n = 0; n < 128; ++n)
        {
            if (sound.appliesToNote (n))
            {
                if (first < 0)
                    first = n;

                last = n;
            }
        }

        return { first, last };
    }
}
