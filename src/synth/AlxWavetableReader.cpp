#include "synth/AlxWavetableReader.h"

#include <algorithm>
#include <limits>

int AlxWavetableReader::quantise (float sample) noexcept
{
    // The writer's float to 32-bit conversion, then its 16-bit field keeps the top half; reading
    // the field back puts it in the top half of a 32-bit value again.
    const double value = sample;
    const int full = value <= -1.0 ? std::numeric_limits<int>::min()
                   : value >= 1.0  ? std::numeric_limits<int>::max()
                                   : juce::roundToInt (std::numeric_limits<int>::max() * value);
    return (int) ((juce::uint32) (full >> 16) << 16);
}

AlxWavetableReader::AlxWavetableReader (const float* table, int numSamples, double rate)
    : juce::AudioFormatReader (nullptr, "wavetable"), samples ((size_t) numSamples)
{
    jassert (juce::isPowerOfTwo (numSamples) && numSamples >= 2);

    sampleRate = rate;
    bitsPerSample = 16;
    lengthInSamples = numSamples;
    numChannels = 2;
    usesFloatingPointData = false;

    for (size_t s = 0; s < samples.size(); ++s)
        samples[s] = quantise (table[s]);
}

bool AlxWavetableReader::readSamples (int* const* destChannels, int numDestChannels, int startOffsetInDestBuffer,
                                      juce::int64 startSampleInFile, int numSamples)
{
    const juce::int64 length = lengthInSamples;
    const juce::int64 half = length / 2;

    for (int c = 0; c < std::min (numDestChannels, 2); ++c)
    {
        int* dest = destChannels[c];

        if (dest == nullptr)
            continue;

        dest += startOffsetInDestBuffer;

        // Channel 1 starts half a table in; past the end of the recording there is silence.
        const juce::int64 offset = c == 1 ? half : 0;
        int s = 0;

        while (s < numSamples)
        {
            const juce::int64 index = startSampleInFile + s;

            if (index >= length)
            {
                std::fill (dest + s, dest + numSamples, 0);
                break;
            }

            const juce::int64 from = (index + offset) % length;
            const int run = (int) std::min ({ (juce::int64) (numSamples - s), length - index, length - from });
            std::copy_n (samples.data() + from, run, dest + s);
            s += run;
        }
    }

    return true;
}
