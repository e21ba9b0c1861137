#pragma once

#include "synth/AlxSamplerSound.h"

// A voice that plays an AlxSamplerSound at the pitch of its note, interpolating linearly between
// source samples, with a linear attack and release. Pitch wheel and controllers are ignored.
class AlxSamplerVoice : public juce::SynthesiserVoice
{
public:
    bool canPlaySound (juce::SynthesiserSound* sound) override;
    void startNote (int midiNoteNumber, float velocity, juce::SynthesiserSound* sound, int currentPitchWheelPosition) override;
    void stopNote (float velocity, bool allowTailOff) override;
    void pitchWheelMoved (int) override {}
    void controllerMoved (int, int) override {}
    using juce::SynthesiserVoice::renderNextBlock;
    void renderNextBlock (juce::AudioBuffer<float>& output, int startSample, int numSamples) override;

    // Source samples advanced per output sample for the current note.
    double getPitchRatio() const noexcept { return pitchRatio; }

private:
    // The block loop for one layout of source and output channels. The voice's state lives in
    // locals while it runs: the output could alias the members, so the compiler would otherwise
    // store and reload them on every sample.
    template <bool stereoSource, bool stereoOutput>
    void renderSamples (const AlxSamplerSound& sound, juce::AudioBuffer<float>& output, int startSample, int numSamples);

    double pitchRatio = 0.0;
    double position = 0.0;
    float leftGain = 0.0f, rightGain = 0.0f;
    float level = 0.0f;
    float attackDelta = 0.0f, releaseDelta = 0.0f;
    bool inAttack = false, inRelease = false;

    JUCE_LEAK_DETECTOR (AlxSamplerVoice)
};
