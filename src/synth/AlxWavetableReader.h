#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

#include <limits>
#include <vector>

// Reads one wavetable as a two-channel recording: the table, and the table half a period later
// (a wide stereo image for free). Sounds are made from readers, and a table's sound has always
// held the samples of a 16-bit WAV file of it; this reader yields exactly those samples without
// writing and parsing the file: each value is quantised the way the library's WAV writer does it
// and handed over in the fixed-point form its WAV reader produces.
class AlxWavetableReader : public juce::AudioFormatReader
{
public:
    // The table must hold a power-of-two number of samples, at least 2.
    AlxWavetableReader (const float* table, int numSamples, double sampleRate);

    bool readSamples (int* const* destChannels, int numDestChannels, int startOffsetInDestBuffer,
                      juce::int64 startSampleInFile, int numSamples) override;

    // A sample after the trip through a 16-bit WAV file, in the reader's 32-bit fixed point: the
    // writer's float to 32-bit conversion, of which the 16-bit field keeps the top half, which
    // reading the field back puts in the top half of a 32-bit value again.
    static int quantise (float sample) noexcept
    {
        const double value = sample;
        const int full = value <= -1.0 ? std::numeric_limits<int>::min()
                       : value >= 1.0  ? std::numeric_limits<int>::max()
                                       : juce::roundToInt (std::numeric_limits<int>::max() * value);
        return (int) ((juce::uint32) (full >> 16) << 16);
    }

private:
    std::vector<int> samples;

    JUCE_DECLARE_NON_COPYABLE (AlxWavetableReader)
};
