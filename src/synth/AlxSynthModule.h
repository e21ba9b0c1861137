#pragma once

#include "framework/AlxModule.h"
#include "synth/AlxSynth.h"
#include "synth/AlxSynthDomainSet.h"

// The built-in test synth as a module: renders the MIDI on its input pin into the audio buffer on
// its output pin, at a gain chosen per program (one host-visible parameter, id 0).
//
// Pins: 0 = audio output (AlxAudioCable), 1 = MIDI input (AlxMidiCable).
// Threads: processBlockBody runs on the audio thread; the gain is read once per block under its
// lock and ramped across the block, so a change never clicks.
class AlxSynthModule : public AlxModule
{
public:
    static constexpr int moduleId = 8000;
    static constexpr int gainParameterId = 0;
    static constexpr int audioOutputPinIndex = 0;
    static constexpr int midiInputPinIndex = 1;
    // The gain's linear value is scaled by this, leaving headroom for chords.
    static constexpr float gainScale = 0.65f;
    // What a silent block carries in its first sample.
    static constexpr float silenceMarker = 0.0001f;

    explicit AlxSynthModule (AlxModuleContainer* container);
    ~AlxSynthModule() override;

    void initialise() override;
    void prepareToPlay (double sampleRate, int blockSize) override;
    void releaseResources() override;
    void applyPendingReset() override;
    void processBlockBody (int numSamples) override;

    // The current program's gain parameter (a link that follows program changes).
    virtual AlxParameter* getGainParameter() const;
    virtual AlxPin<AlxAudioCable>* getAudioOutputPin() const;
    virtual AlxPin<AlxMidiCable>* getMidiInputPin() const;
    virtual AlxSynthDomainSet* getDomainSet() const { return domainSet.get(); }
    // The current program's linear gain, scaled by gainScale.
    virtual float getGain() const;
    // Clears `out`, renders the synth into it and ramps the gain from startGain to endGain.
    virtual void render (juce::Synthesiser& synthesiser, juce::AudioSampleBuffer& out, const juce::MidiBuffer& midi,
                         float startGain, float endGain);
    // A block that came out all zero carries silenceMarker in channel 0, sample 0.
    virtual void guardSilence (juce::AudioSampleBuffer& out);

    AlxSynth* getSynth() const { return synth.get(); }

private:
    std::unique_ptr<AlxSynthDomainSet> domainSet;
    std::unique_ptr<AlxSynth> synth;
    float lastGain = 0.0f;
};
