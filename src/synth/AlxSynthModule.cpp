#include "synth/AlxSynthModule.h"

AlxSynthModule::AlxSynthModule (AlxModuleContainer* container_) : AlxModule (container_, moduleId) {}

AlxSynthModule::~AlxSynthModule()
{
    destroyContents();
}

void AlxSynthModule::initialise()
{
    AlxModule::initialise();

    addPin<AlxPin<AlxAudioCable>> (AlxPinBase::outputMark);
    addPin<AlxPin<AlxMidiCable>> (AlxPinBase::inputMark);

    synth = std::make_unique<AlxSynth>();
    lastGain = 0.0f;
    registerInModuleMap();

    domainSet = std::make_unique<AlxSynthDomainSet>();
    addProgramParameter (gainParameterId, takeHostIndex(), domainSet->getGainDomain());
    rebuildIdTables();

    setCurrentProgram (0);
    registerParameters();
    addSinkRecursive (this, false);
}

AlxParameter* AlxSynthModule::getGainParameter() const
{
    auto* links = getProgramParameters();
    return links != nullptr ? links->findById (gainParameterId) : nullptr;
}

AlxPin<AlxAudioCable>* AlxSynthModule::getAudioOutputPin() const
{
    return getPin<AlxPin<AlxAudioCable>> (audioOutputPinIndex);
}

AlxPin<AlxMidiCable>* AlxSynthModule::getMidiInputPin() const
{
    return getPin<AlxPin<AlxMidiCable>> (midiInputPinIndex);
}

void AlxSynthModule::prepareToPlay (double sampleRate, int blockSize)
{
    AlxModule::prepareToPlay (sampleRate, blockSize);

    // The library changes the rate under its own lock, after stopping every note at once.
    if (synth != nullptr && sampleRate > 0.0)
        synth->setCurrentPlaybackSampleRate (sampleRate);
}

void AlxSynthModule::releaseResources()
{
    AlxModule::releaseResources();

    if (synth != nullptr)
        synth->allNotesOff (0, false);
}

void AlxSynthModule::applyPendingReset()
{
    if (isResetPending() && synth != nullptr)
        synth->allNotesOff (0, true);

    AlxModule::applyPendingReset();
}

float AlxSynthModule::getGain() const
{
    auto* parameter = getGainParameter();

    if (parameter == nullptr)
        return 0.0f;

    const juce::ScopedLock sl (parameter->getLock());
    auto* value = parameter->getValue();
    return value != nullptr ? (float) value->getRealValue() * gainScale : 0.0f;
}

void AlxSynthModule::processBlockBody (int)
{
    auto* outPin = getAudioOutputPin();
    auto* midiPin = getMidiInputPin();
    auto* out = outPin != nullptr ? outPin->getObject() : nullptr;
    auto* midi = midiPin != nullptr ? midiPin->getObject() : nullptr;

    if (synth == nullptr || out == nullptr || midi == nullptr)
        return;

    const float gain = getGain();
    render (*synth, *out, *midi, lastGain, gain);
    lastGain = gain;
}

void AlxSynthModule::render (juce::Synthesiser& synthesiser, juce::AudioSampleBuffer& out, const juce::MidiBuffer& midi,
                             float startGain, float endGain)
{
    out.clear();

    if (out.getNumChannels() == 0)
        return;

    synthesiser.renderNextBlock (out, midi, 0, out.getNumSamples());
    out.applyGainRamp (0, out.getNumSamples(), startGain, endGain);
    guardSilence (out);
}

void AlxSynthModule::guardSilence (juce::AudioSampleBuffer& out)
{
    if (out.getNumChannels() == 0 || out.getNumSamples() == 0)
        return;

    float loudest = 0.0f;

    for (int c = 0; c < out.getNumChannels(); ++c)
        loudest = std::max (loudest, out.getMagnitude (c, 0, out.getNumSamples()));

    if (loudest == 0.0f)
        out.setSample (0, 0, silenceMarker);
}
