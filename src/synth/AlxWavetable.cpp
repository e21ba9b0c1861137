#include "synth/AlxWavetable.h"

#include <algorithm>
#include <cmath>

AlxWavetable::AlxWavetable (int rootNote_, std::vector<float> amplitudes_, double bandwidth_, double bandwidthScale_,
                            double relativeFrequency_, int baseFunction_, int tableLength_)
    : rootNote (rootNote_), amplitudes (std::move (amplitudes_)), bandwidth (bandwidth_),
      bandwidthScale (bandwidthScale_), relativeFrequency (relativeFrequency_), baseFunction (baseFunction_),
      tableLength (tableLength_)
{
    jassert (juce::isPowerOfTwo (tableLength) && tableLength >= 2);
}

AlxWavetable::~AlxWavetable()
{
    if (fftConfig != nullptr)
        kiss_fftr_free (fftConfig);
}

float AlxWavetable::noteFrequency (int note)
{
    return (float) (440.0 * std::pow (2.0, (note - 69) / 12.0));
}

int AlxWavetable::baseFunctionFromText (const juce::String& text)
{
    const auto lower = text.toLowerCase();

    if (lower == "triangle")
        return triangle;

    if (lower == "sawtooth")
        return sawtooth;

    if (lower == "square")
        return square;

    return sine;
}

std::vector<float> AlxWavetable::convertBaseFunction (const std::vector<float>& weights, int function)
{
    const float pi = juce::MathConstants<float>::pi;
    std::vector<float> wave ((size_t) baseSpectrumSize, 0.0f);

    // Entry 0 (the constant part) is never played, so it stays 0 for every waveform.
    for (int j = 1; j < baseSpectrumSize; ++j)
    {
        const bool odd = (j % 2) == 1;

        switch (function)
        {
            case triangle:
                if (odd)
                    wave[(size_t) j] = (((j - 1) / 2) % 2 == 0 ? 1.0f : -1.0f) * 8.0f / (pi * pi * (float) (j * j));
                break;
            case sawtooth:
                wave[(size_t) j] = -1.0f / (pi * (float) j);
                break;
            case square:
                if (odd)
                    wave[(size_t) j] = 4.0f / (pi * (float) j);
                break;
            default:
                break;
        }
    }

    // The waveform itself once, then a copy of it at harmonic i + 1 for each weight i >= 1.
    auto result = wave;
    const int last = std::min ((int) weights.size(), baseSpectrumSize);

    for (int i = 1; i < last; ++i)
        for (int j = 1; (i + 1) * j < baseSpectrumSize; ++j)
            result[(size_t) ((i + 1) * j)] += weights[(size_t) i] * wave[(size_t) j];

    return result;
}

void AlxWavetable::cutAboveLimit (std::vector<float>& list, float f, float limit)
{
    size_t keep = 0;

    while (keep < list.size() && (float) (keep + 1) * f <= limit)
        ++keep;

    list.resize (keep);
}

void AlxWavetable::generateSounds (std::vector<AlxSamplerSound::Ptr>& out)
{
    out.clear();

    const auto spectrum = baseFunction != sine ? convertBaseFunction (amplitudes, baseFunction) : amplitudes;
    const float limit = (float) tableSampleRate * 0.4999f;

    // Each octave's table holds only the harmonics that stay below Nyquist up to its highest note
    // (note + 5), the root's table too, so no note aliases.
    auto addOctave = [&] (int note)
    {
        auto list = spectrum;
        cutAboveLimit (list, noteFrequency (note + 5), limit);

        if (auto sound = makeSound (note, list))
            out.push_back (sound);
    };

    addOctave (rootNote);

    for (int c = rootNote + 12; c <= 127; c += 12)
        addOctave (c);

    for (int c = rootNote - 12; c >= 0; c -= 12)
        addOctave (c);
}

AlxSamplerSound::Ptr AlxWavetable::makeSound (int note, const std::vector<float>& list)
{
    if (list.empty())
        return nullptr;

    AlxSamplerSound::NoteSet notes;

    for (int n = std::max (note - 6, 0); n <= std::min (note + 5, 127); ++n)
        notes.set ((size_t) n);

    const int N = tableLength;
    juce::AudioBuffer<float> table (2, N);
    synthesiseTable (N, tableSampleRate, noteFrequency (note), (float) bandwidth, (float) bandwidthScale,
                     (float) relativeFrequency, (int) list.size(), list.data(), table.getWritePointer (0));

    // The second channel is the same table half a period later: a wide stereo image for free.
    table.copyFrom (1, 0, table, 0, N / 2, N / 2);
    table.copyFrom (1, N / 2, table, 0, 0, N / 2);

    // The sound is made the way every recording is: through a 16-bit WAV file (in memory).
    juce::WavAudioFormat wavFormat;
    // Room for the whole file up front, so writing it never moves it.
    juce::MemoryBlock wav ((size_t) N * 2 * sizeof (juce::int16) + 1024);
    {
        auto stream = std::make_unique<juce::MemoryOutputStream> (wav, false);
        std::unique_ptr<juce::AudioFormatWriter> writer (wavFormat.createWriterFor (stream.get(), tableSampleRate, 2, 16, {}, 0));

        if (writer == nullptr)
            return nullptr;

        stream.release();

        if (! writer->writeFromAudioSampleBuffer (table, 0, N))
            return nullptr;
    }

    std::unique_ptr<juce::AudioFormatReader> reader (wavFormat.createReaderFor (new juce::MemoryInputStream (wav, false), true));

    if (reader == nullptr)
        return nullptr;

    return new AlxSamplerSound (name, *reader, notes, note, attackSeconds, releaseSeconds, maxDurationSeconds, true);
}

void AlxWavetable::addHarmonicProfiles (int N, int rate, float f0, float bw, float bwScale, float relF,
                                        int count, const float* weights, float* sum)
{
    const int half = N / 2;
    const float size = (float) N;
    const float sr = (float) rate;
    const float spread = std::pow (2.0f, bw / 1200.0f) - 1.0f;
    const double reach = std::sqrt ((double) profileCutoff);

    for (int i = 1; i < count; ++i)
    {
        const float weight = weights[i];

        if (weight == 0.0f)
            continue;

        const float rel = (float) i * (1.0f + relF * (float) i);
        const float bwHz = spread * f0 * std::pow (rel, bwScale);
        const float bwi = bwHz / (2.0f * sr);
        const float fi = rel * f0 / sr;

        // A band without width or at no real frequency (from absurd descriptions) adds nothing.
        if (! (bwi > 0.0f) || ! std::isfinite (bwi) || ! std::isfinite (fi))
            continue;

        // The band is non-zero only within `reach` bandwidths of its centre; a margin of a few bins
        // covers rounding, and inside it the same test as everywhere decides.
        const double centre = (double) fi * N;
        const double width = reach * (double) bwi * N;
        const double margin = 2.0 + width * 1.0e-4;
        const double from = std::max (std::floor (centre - width - margin), 0.0);
        const double to = std::min (std::ceil (centre + width + margin), (double) (half - 1));

        for (int j = (int) from; j <= (int) to; ++j)
        {
            const float x = ((float) j / size - fi) / bwi;
            const float x2 = x * x;

            if (x2 <= profileCutoff)
                sum[j] += std::exp (-x2) / bwi * weight;
        }
    }
}

void AlxWavetable::synthesiseTable (int N, int rate, float f0, float bw, float bwScale, float relF,
                                    int count, const float* weights, float* out)
{
    if (N < 2 || N % 2 != 0 || ! prepareFft (N))
    {
        std::fill (out, out + std::max (N, 0), 0.0f);
        return;
    }

    const int half = N / 2;
    magnitudes.assign ((size_t) half, 0.0f);
    phases.resize ((size_t) half);
    addHarmonicProfiles (N, rate, f0, bw, bwScale, relF, count, weights, magnitudes.data());

    // A bin without energy sounds the same at any phase, so only filled bins draw one.
    for (size_t j = 0; j < phases.size(); ++j)
        phases[j] = magnitudes[j] != 0.0f ? (float) (phaseGenerator() >> 17) / 32768.0f * juce::MathConstants<float>::twoPi
                                          : 0.0f;

    inverseFft (N, magnitudes.data(), phases.data(), out);

    const auto range = juce::FloatVectorOperations::findMinAndMax (out, N);
    const float peak = std::max ({ -range.getStart(), range.getEnd(), 1.0e-5f });

    // Magnitudes beyond float range give no usable table; it stays silent.
    if (! std::isfinite (peak))
    {
        std::fill (out, out + N, 0.0f);
        return;
    }

    juce::FloatVectorOperations::multiply (out, 1.0f / (peak * 1.4142f), N);
}

bool AlxWavetable::prepareFft (int N)
{
    if (N != fftSize || fftConfig == nullptr)
    {
        if (fftConfig != nullptr)
            kiss_fftr_free (fftConfig);

        fftConfig = kiss_fftr_alloc (N, 1, nullptr, nullptr);
        fftSize = fftConfig != nullptr ? N : 0;
        bins.resize (fftConfig != nullptr ? (size_t) (N / 2 + 1) : 0);
    }

    return fftConfig != nullptr;
}

void AlxWavetable::inverseFft (int N, const float* magnitude, const float* phase, float* out)
{
    if (N < 2 || N % 2 != 0 || ! prepareFft (N))
        return;

    const int half = N / 2;

    // Most bins are empty; only the filled ones need their phase turned into a complex value.
    for (int j = 0; j < half; ++j)
    {
        const float m = magnitude[j];
        bins[(size_t) j] = m != 0.0f ? kiss_fft_cpx { m * std::cos (phase[j]), m * std::sin (phase[j]) }
                                     : kiss_fft_cpx { 0.0f, 0.0f };
    }

    bins[(size_t) half] = { 0.0f, 0.0f };
    kiss_fftri (fftConfig, bins.data(), out);
}
