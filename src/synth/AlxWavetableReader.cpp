#include "synth/AlxWavetableReader.h"

#include <algorithm>

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
