#include "synth/AlxSamplerSound.h"

#include <algorithm>
#include <cmath>

namespace
{
    // A time in seconds as a whole number of samples, within 0 ... maxSeconds.
    int secondsToSamples (double seconds, double rate)
    {
        const double bounded = std::isfinite (seconds) ? juce::jlimit (0.0, AlxSamplerSound::maxSeconds, seconds) : 0.0;
        return juce::roundToInt (bounded * rate);
    }
}

AlxSamplerSound::AlxSamplerSound (const juce::String& name_, juce::AudioFormatReader& source, const NoteSet& notes_,
                                  int rootNote_, double attackSeconds, double releaseSeconds,
                                  double maxDurationSeconds, bool loop_)
    : name (name_), sourceSampleRate (source.sampleRate), notes (notes_),
      rootNote (juce::jlimit (0, 127, rootNote_)), loop (loop_)
{
    length = keptLength (source, maxDurationSeconds);

    if (length == 0)
        return;

    const int channels = (int) std::min (source.numChannels, 2u);
    data = std::make_unique<juce::AudioBuffer<float>> (channels, length + guardSamples);
    source.read (data.get(), 0, length + guardSamples, 0, true, true);

    // A looping sound continues with its own start, so interpolating across the loop point joins
    // the end to the beginning without a click.
    if (loop)
        for (int c = 0; c < channels; ++c)
            for (int k = 0; k < guardSamples; ++k)
                data->setSample (c, length + k, data->getSample (c, k % length));

    attackSamples = secondsToSamples (attackSeconds, sourceSampleRate);
    releaseSamples = secondsToSamples (releaseSeconds, sourceSampleRate);
}

int AlxSamplerSound::keptLength (const juce::AudioFormatReader& source, double maxDurationSeconds)
{
    const double rate = source.sampleRate;

    if (! (rate > 0.0 && std::isfinite (rate)) || source.lengthInSamples <= 0 || source.numChannels == 0)
        return 0;

    // A duration of 0 or less asks for the whole recording; the span kept is bounded all the same,
    // so a header that claims an enormous length cannot make us allocate it.
    const double seconds = maxDurationSeconds > 0.0 ? std::min (maxDurationSeconds, maxSeconds) : maxSeconds;
    return (int) std::min ({ (double) source.lengthInSamples, std::floor (seconds * rate), (double) maxLength });
}

bool AlxSamplerSound::appliesToNote (int midiNoteNumber)
{
    return midiNoteNumber >= 0 && midiNoteNumber < (int) notes.size() && notes.test ((size_t) midiNoteNumber);
}
