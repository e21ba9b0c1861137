#include "synth/AlxWavetable.h"

#include "synth/AlxWavetableReader.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <system_error>
#include <thread>

AlxWavetable::AlxWavetable (int rootNote_, std::vector<float> amplitudes_, double bandwidth_, double bandwidthScale_,
                            double relativeFrequency_, int baseFunction_, int tableLength_)
    : rootNote (rootNote_), amplitudes (std::move (amplitudes_)), bandwidth (bandwidth_),
      bandwidthScale (bandwidthScale_), relativeFrequency (relativeFrequency_), baseFunction (baseFunction_),
      tableLength (tableLength_)
{
    jassert (juce::isPowerOfTwo (tableLength) && tableLength >= 2);
}

AlxWavetable::~AlxWavetable() = default;

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

void AlxWavetable::generateSounds (std::vector<AlxSamplerSound::Ptr>& out, int threads)
{
    out.clear();

    const auto spectrum = baseFunction != sine ? convertBaseFunction (amplitudes, baseFunction) : amplitudes;
    const float limit = (float) tableSampleRate * 0.4999f;

    std::vector<int> notes { rootNote };

    for (int c = rootNote + 12; c <= 127; c += 12)
        notes.push_back (c);

    for (int c = rootNote - 12; c >= 0; c -= 12)
        notes.push_back (c);

    struct Octave
    {
        int note;
        Spectrum spectrum;
        AlxSamplerSound::Ptr sound;
    };

    // Each octave's table holds only the harmonics that stay below Nyquist up to its highest note
    // (note + 5), the root's table too, so no note aliases. The phases are drawn here, in the
    // order of the sounds, so the tables do not depend on which thread computes them.
    std::vector<Octave> octaves;

    for (int note : notes)
    {
        auto list = spectrum;
        cutAboveLimit (list, noteFrequency (note + 5), limit);

        if (! list.empty())
            octaves.push_back ({ note, drawSpectrum (tableLength, tableSampleRate, noteFrequency (note), (float) bandwidth,
                                                     (float) bandwidthScale, (float) relativeFrequency,
                                                     (int) list.size(), list.data()), nullptr });
    }

    std::atomic<size_t> next { 0 };

    auto compute = [this, &octaves, &next] (FftWorkspace& workspace)
    {
        std::vector<float> table ((size_t) tableLength);

        for (size_t k = next++; k < octaves.size(); k = next++)
        {
            renderTable (workspace, tableLength, octaves[k].spectrum, table.data());
            octaves[k].sound = soundFromTable (octaves[k].note, table.data());
        }
    };

    std::vector<std::unique_ptr<FftWorkspace>> helperWorkspaces;

    // Helper threads, joined however this thread leaves, before the octaves they fill go away.
    struct Helpers
    {
        std::vector<std::thread> threads;

        void join()
        {
            for (auto& thread : threads)
                if (thread.joinable())
                    thread.join();
        }

        ~Helpers() { join(); }
    } helpers;

    for (int t = 1; t < std::min (threads, (int) octaves.size()); ++t)
    {
        helperWorkspaces.push_back (std::make_unique<FftWorkspace>());

        // Without another thread this one computes every table.
        try
        {
            helpers.threads.emplace_back (compute, std::ref (*helperWorkspaces.back()));
        }
        catch (const std::system_error&)
        {
            break;
        }
    }

    compute (fft);
    helpers.join();

    for (auto& octave : octaves)
        out.push_back (octave.sound);
}

AlxSamplerSound::Ptr AlxWavetable::makeSound (int note, const std::vector<float>& list)
{
    if (list.empty())
        return nullptr;

    std::vector<float> table ((size_t) tableLength);
    synthesiseTable (tableLength, tableSampleRate, noteFrequency (note), (float) bandwidth, (float) bandwidthScale,
                     (float) relativeFrequency, (int) list.size(), list.data(), table.data());
    return soundFromTable (note, table.data());
}

AlxSamplerSound::Ptr AlxWavetable::soundFromTable (int note, const float* table) const
{
    AlxSamplerSound::NoteSet notes;

    for (int n = std::max (note - 6, 0); n <= std::min (note + 5, 127); ++n)
        notes.set ((size_t) n);

    AlxWavetableReader reader (table, tableLength, tableSampleRate);
    return new AlxSamplerSound (name, reader, notes, note, attackSeconds, releaseSeconds, maxDurationSeconds, true);
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
    if (N < 2 || N % 2 != 0 || ! fft.prepare (N))
    {
        std::fill (out, out + std::max (N, 0), 0.0f);
        return;
    }

    renderTable (fft, N, drawSpectrum (N, rate, f0, bw, bwScale, relF, count, weights), out);
}

AlxWavetable::Spectrum AlxWavetable::drawSpectrum (int N, int rate, float f0, float bw, float bwScale, float relF,
                                                   int count, const float* weights)
{
    magnitudes.assign ((size_t) (N / 2), 0.0f);
    addHarmonicProfiles (N, rate, f0, bw, bwScale, relF, count, weights, magnitudes.data());

    // A bin without energy sounds the same at any phase, so only filled bins draw one.
    Spectrum spectrum;

    for (int j = 0; j < N / 2; ++j)
    {
        const float m = magnitudes[(size_t) j];

        if (m != 0.0f)
        {
            const float phase = (float) (phaseGenerator() >> 17) / 32768.0f * juce::MathConstants<float>::twoPi;
            spectrum.push_back ({ j, { m * std::cos (phase), m * std::sin (phase) } });
        }
    }

    return spectrum;
}

void AlxWavetable::renderTable (FftWorkspace& workspace, int N, const Spectrum& spectrum, float* out)
{
    if (! workspace.prepare (N))
    {
        std::fill (out, out + N, 0.0f);
        return;
    }

    inverseFft (workspace, spectrum, out);

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

AlxWavetable::FftWorkspace::~FftWorkspace()
{
    if (config != nullptr)
        kiss_fftr_free (config);
}

bool AlxWavetable::FftWorkspace::prepare (int N)
{
    if (N != size || config == nullptr)
    {
        if (config != nullptr)
            kiss_fftr_free (config);

        config = kiss_fftr_alloc (N, 1, nullptr, nullptr);
        size = config != nullptr ? N : 0;
        bins.resize (config != nullptr ? (size_t) (N / 2 + 1) : 0);
    }

    return config != nullptr;
}

void AlxWavetable::inverseFft (FftWorkspace& workspace, const Spectrum& spectrum, float* out)
{
    std::fill (workspace.bins.begin(), workspace.bins.end(), kiss_fft_cpx { 0.0f, 0.0f });

    for (const auto& bin : spectrum)
        workspace.bins[(size_t) bin.index] = bin.value;

    kiss_fftri (workspace.config, workspace.bins.data(), out);
}
