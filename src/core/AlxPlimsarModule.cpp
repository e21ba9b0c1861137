#include "core/AlxPlimsarModule.h"

#include "core/AlxLegacyDocument.h"
#include "core/AlxProgramModule.h"

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

    auto* programs = addChild (std::make_unique<AlxProgramModule> (getContainer()));

    for (auto* child : { programs })
        child->initialise();

    setCurrentProgram (0);
}

AlxProgramModule* AlxPlimsarModule::getProgramModule() const
{
    return dynamic_cast<AlxProgramModule*> (findModule (AlxProgramModule::moduleId));
}

void AlxPlimsarModule::prepareToPlay (double sampleRate, int blockSize)
{
    AlxModule::prepareToPlay (sampleRate, blockSize);
}

void AlxPlimsarModule::releaseResources()
{
    AlxModule::releaseResources();
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

void AlxPlimsarModule::processBlockBody (int)
{
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
