#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

// A host's play head whose position a test sets: tempo, time signature, song position, time in
// samples and the playing and recording flags. With available false it answers like a host that
// has no position to give. Set from the test's thread, read from the audio thread.
class AlxTestPlayHead : public juce::AudioPlayHead
{
public:
    // Starts like a stopped host at the song start: 120 bpm, 4/4, position 0.
    AlxTestPlayHead()
    {
        info.setBpm (120.0);
        info.setTimeSignature (TimeSignature {});
        info.setPpqPosition (0.0);
        info.setTimeInSamples (0);
    }

    juce::Optional<PositionInfo> getPosition() const override
    {
        const juce::ScopedLock sl (lock);

        if (! available)
            return {};

        return info;
    }

    void setAvailable (bool isAvailable)
    {
        const juce::ScopedLock sl (lock);
        available = isAvailable;
    }

    void setBpm (double bpm)
    {
        const juce::ScopedLock sl (lock);
        info.setBpm (bpm);
    }

    void setTimeSignature (int numerator, int denominator)
    {
        const juce::ScopedLock sl (lock);
        info.setTimeSignature (TimeSignature { numerator, denominator });
    }

    // An empty position is a host that gives none.
    void setPpqPosition (juce::Optional<double> ppq)
    {
        const juce::ScopedLock sl (lock);
        info.setPpqPosition (ppq);
    }

    void setTimeInSamples (juce::int64 samples)
    {
        const juce::ScopedLock sl (lock);
        info.setTimeInSamples (samples);
    }

    void setTimeInSeconds (double seconds)
    {
        const juce::ScopedLock sl (lock);
        info.setTimeInSeconds (seconds);
    }

    void setPlaying (bool playing)
    {
        const juce::ScopedLock sl (lock);
        info.setIsPlaying (playing);
    }

    void setRecording (bool recording)
    {
        const juce::ScopedLock sl (lock);
        info.setIsRecording (recording);
    }

private:
    juce::CriticalSection lock;
    PositionInfo info;
    bool available = true;
};
