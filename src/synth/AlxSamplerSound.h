#pragma once

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_audio_formats/juce_audio_formats.h>

#include <bitset>
#include <memory>

// A recording the synth's voices play: up to two channels of samples, the notes it answers, the
// note at which it plays at its own pitch, its attack and release times and whether it loops.
// A reader that yields no usable audio gives a silent sound (no data).
class AlxSamplerSound : public juce::SynthesiserSound
{
public:
    using Ptr = juce::ReferenceCountedObjectPtr<AlxSamplerSound>;
    using NoteSet = std::bitset<128>;

    // Longest time span kept, whatever the caller asks for (also caps attack and release), and
    // the most samples per channel kept at any sample rate (16 MB per stereo sound).
    static constexpr double maxSeconds = 60.0;
    static constexpr int maxLength = 1 << 21;
    // Samples kept after the end, so interpolation may read one sample past `length`.
    static constexpr int guardSamples = 4;

    AlxSamplerSound (const juce::String& name, juce::AudioFormatReader& source, const NoteSet& notes,
                     int rootNote, double attackSeconds, double releaseSeconds,
                     double maxDurationSeconds, bool loop);

    // The samples per channel a sound made from this reader keeps (0 for a silent sound), known
    // before anything is read: a bank adds them up to bound what all its sounds read together.
    static int keptLength (const juce::AudioFormatReader& source, double maxDurationSeconds);

    bool appliesToNote (int midiNoteNumber) override;
    bool appliesToChannel (int) override { return true; }

    const juce::String& getName() const noexcept { return name; }
    // The samples (length plus guard samples per channel), or null for a silent sound.
    const juce::AudioBuffer<float>* getAudioData() const noexcept { return data.get(); }
    double getSourceSampleRate() const noexcept { return sourceSampleRate; }
    const NoteSet& getNotes() const noexcept { return notes; }
    int getLength() const noexcept { return length; }
    int getAttackSamples() const noexcept { return attackSamples; }
    int getReleaseSamples() const noexcept { return releaseSamples; }
    int getRootNote() const noexcept { return rootNote; }
    bool isLooping() const noexcept { return loop; }

private:
    juce::String name;
    std::unique_ptr<juce::AudioBuffer<float>> data;
    double sourceSampleRate;
    NoteSet notes;
    int length = 0;
    int attackSamples = 0;
    int releaseSamples = 0;
    int rootNote;
    bool loop;

    JUCE_LEAK_DETECTOR (AlxSamplerSound)
};
