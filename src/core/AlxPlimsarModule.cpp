#include "core/AlxPlimsarModule.h"

#include "core/AlxLegacyDocument.h"
#include "core/AlxProgramModule.h"
#include "editor/AlxHelpModule.h"
#include "modules/AlxTransportModule.h"
#include "synth/AlxSynthModule.h"

#include <cmath>

AlxPlimsarModule::AlxPlimsarModule (AlxModuleContainer* container_) : AlxModule (container_, moduleId)
{
    setVersion (1, 5, 544);
}

AlxPlimsarModule::~AlxPlimsarModule()
{
    destroyContents();
}

int AlxPlimsarModule::getPluginId() const
{
    return ('Q' << 24) | ('Z' << 16) | ('0' << 8) | '4';
}

void AlxPlimsarModule::initialise()
{
    // The root observes nothing and owns no parameters: it is not attached to the broadcast set.
    registerInModuleMap();

    addChild (std::make_unique<AlxProgramModule> (getContainer()));
    addChild (std::make_unique<AlxTransportModule> (getContainer()));
    addChild (std::make_unique<AlxSynthModule> (getContainer()));
    addChild (std::make_unique<AlxHelpModule> (getContainer()));

    for (auto& child : getChildren())
        child->initialise();

    for (int id : { AlxTransportModule::moduleId, AlxSynthModule::moduleId })
        if (auto* module = findModule (id))
            processingOrder.push_back (module);

    setCurrentProgram (0);
}

AlxTransportModule* AlxPlimsarModule::getTransportModule() const
{
    return dynamic_cast<AlxTransportModule*> (findModule (AlxTransportModule::moduleId));
}

AlxSynthModule* AlxPlimsarModule::getSynthModule() const
{
    return dynamic_cast<AlxSynthModule*> (findModule (AlxSynthModule::moduleId));
}

AlxProgramModule* AlxPlimsarModule::getProgramModule() const
{
    return dynamic_cast<AlxProgramModule*> (findModule (AlxProgramModule::moduleId));
}

AlxHelpModule* AlxPlimsarModule::getHelpModule() const
{
    return dynamic_cast<AlxHelpModule*> (findModule (AlxHelpModule::moduleId));
}

void AlxPlimsarModule::prepareToPlay (double sampleRate, int blockSize)
{
    auto* synth = getSynthModule();
    synth->getMidiInputPin()->connect (&synthMidi);
    synth->getAudioOutputPin()->connect (&audio);
    synth->activate();

    AlxModule::prepareToPlay (sampleRate, blockSize);
}

void AlxPlimsarModule::releaseResources()
{
    AlxModule::releaseResources();

    auto* synth = getSynthModule();
    synth->deactivate();
    synth->getMidiInputPin()->disconnect (&synthMidi);
    synth->getAudioOutputPin()->disconnect (&audio);
}

void AlxPlimsarModule::processHostBlockBody (const juce::AudioSampleBuffer&, juce::AudioSampleBuffer& output,
                                             bool, juce::MidiBuffer& midiMessages)
{
    hostMidi.attach (&midiMessages, false);
    audio.attach (&output, false);
    process (output.getNumSamples());
    hostMidi.attach (nullptr, false);
    audio.attach (nullptr, false);
}

bool AlxPlimsarModule::positionOutOfRange (int numSamples) const
{
    auto* transport = getTransportModule();
    const auto& position = transport->getPosition();
    const double samplePosition = std::floor (position.ppqPosition * transport->getSampleRate() / (position.bpm / 60.0));
    return samplePosition >= 2147483647.0 - numSamples;
}

void AlxPlimsarModule::processBlockBody (int numSamples)
{
    if (positionOutOfRange (numSamples))
        return;

    for (auto* module : processingOrder)
        module->process (numSamples);

    getTransportModule()->advanceSampleCounter (numSamples);
}

void AlxPlimsarModule::mapLegacyParameter (int legacyIndex, int& targetModuleId, int& parameterId, bool& isGlobal) const
{
    AlxLegacyDocument::mapParameter (legacyIndex, targetModuleId, parameterId, isGlobal);
}

std::unique_ptr<juce::XmlElement> AlxPlimsarModule::upgradeLegacyXml (std::unique_ptr<juce::XmlElement> element,
                                                                      const juce::String& tag)
{
    if (element == nullptr)
        return nullptr;

    return AlxLegacyDocument::convert (*element, tag, getPluginName(), getVersionString(),
                                       [this] (int legacyIndex, int& targetModuleId, int& parameterId, bool& isGlobal)
                                       { mapLegacyParameter (legacyIndex, targetModuleId, parameterId, isGlobal); });
}
