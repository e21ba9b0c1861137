#include "core/AlxPlimsarModule.h"

#include "core/AlxLegacyDocument.h"
#include "core/AlxProgramModule.h"
#include "framework/AlxPresetFile.h"
#include "editor/AlxHelpModule.h"
#include "midi/AlxMidiInputGroupModule.h"
#include "midi/AlxMidiInputModule.h"
#include "midi/AlxMidiOutputGroupModule.h"
#include "midi/AlxMidiOutputModule.h"
#include "modules/AlxArpModule.h"
#include "modules/AlxGrooveModule.h"
#include "modules/AlxLFOGroupModule.h"
#include "modules/AlxTransportModule.h"
#include "modules/AlxTriggerModule.h"
#include "synth/AlxSynthModule.h"

#include "AlxEmbeddedData.h"


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
    addChild (std::make_unique<AlxMidiInputGroupModule> (getContainer()));
    addChild (std::make_unique<AlxMidiOutputGroupModule> (getContainer()));
    addChild (std::make_unique<AlxTriggerModule> (getContainer()));
    addChild (std::make_unique<AlxGrooveModule> (getContainer()));
    addChild (std::make_unique<AlxArpModule> (getContainer()));
    addChild (std::make_unique<AlxLFOGroupModule> (getContainer()));
    addChild (std::make_unique<AlxSynthModule> (getContainer()));
    addChild (std::make_unique<AlxHelpModule> (getContainer()));

    for (auto& child : getChildren())
        child->initialise();

    installDemoSequences();
    transport = getTransportModule();

    for (int id : { AlxMidiInputModule::moduleId, AlxTransportModule::moduleId, AlxTriggerModule::moduleId,
                    AlxMidiOutputModule::moduleId, AlxSynthModule::moduleId })
        if (auto* module = findModule (id))
            processingOrder.push_back (module);

    const std::vector<Wiring> stages {
        { findModule (AlxMidiInputModule::moduleId), { &hostMidi, &heldKeys, &inputMidi } },
        { findModule (AlxTriggerModule::moduleId), { &heldKeys, &inputMidi, &generatedMidi } },
        { findModule (AlxMidiOutputModule::moduleId), { &generatedMidi, &hostMidi, &synthMidi } },
        { findModule (AlxSynthModule::moduleId), { &audio, &synthMidi } }
    };

    for (auto& stage : stages)
        if (stage.module != nullptr)
            wiring.push_back (stage);

    setCurrentProgram (0);
}

void AlxPlimsarModule::loadFactoryBank()
{
    juce::MemoryInputStream archive (AlxEmbeddedData::factoryZip, (size_t) AlxEmbeddedData::factoryZipSize, false);
    juce::ZipFile zip (archive);
    std::unique_ptr<juce::InputStream> entry (zip.getNumEntries() > 0 ? zip.createStreamForEntry (0) : nullptr);

    if (entry == nullptr)
        return;

    juce::MemoryBlock content;
    entry->readIntoMemoryBlock (content);

    if (auto chunk = AlxPresetFile::findChunk (AlxPresetFile::Kind::bank, content.getData(), content.getSize()))
        loadBankChunk (chunk->data, chunk->size);
}

AlxTransportModule* AlxPlimsarModule::getTransportModule() const
{
    return findModuleOf<AlxTransportModule>();
}

AlxSynthModule* AlxPlimsarModule::getSynthModule() const
{
    return findModuleOf<AlxSynthModule>();
}

AlxProgramModule* AlxPlimsarModule::getProgramModule() const
{
    return findModuleOf<AlxProgramModule>();
}

AlxMidiInputGroupModule* AlxPlimsarModule::getMidiInputGroup() const
{
    return findModuleOf<AlxMidiInputGroupModule>();
}

AlxMidiOutputGroupModule* AlxPlimsarModule::getMidiOutputGroup() const
{
    return findModuleOf<AlxMidiOutputGroupModule>();
}

AlxTriggerModule* AlxPlimsarModule::getTriggerModule() const
{
    return findModuleOf<AlxTriggerModule>();
}

AlxGrooveModule* AlxPlimsarModule::getGrooveModule() const
{
    return findModuleOf<AlxGrooveModule>();
}

AlxArpModule* AlxPlimsarModule::getArpModule() const
{
    return findModuleOf<AlxArpModule>();
}

AlxLFOGroupModule* AlxPlimsarModule::getLfoGroup() const
{
    return findModuleOf<AlxLFOGroupModule>();
}

AlxHelpModule* AlxPlimsarModule::getHelpModule() const
{
    return findModuleOf<AlxHelpModule>();
}

void AlxPlimsarModule::installDemoSequences()
{
    auto* group = getMidiInputGroup();
    auto* input = group != nullptr ? group->getInputModule (0) : nullptr;

    if (input == nullptr)
        return;

    group->getDomainSet()->getTrackDomain()->setTrackNames (
        { "Demo me! (chords)", "Demo me! (bass)" },
        { "Built-in midi sequence for demo/testing purposes. Use with lead instrument",
          "Built-in midi sequence for demo/testing purposes. Use with bass instrument" });

    juce::MemoryInputStream archive (AlxEmbeddedData::demoMidiZip, (size_t) AlxEmbeddedData::demoMidiZipSize, false);
    input->getSequencer().loadZip (archive);
}

void AlxPlimsarModule::connectStages()
{
    for (auto& stage : wiring)
    {
        const auto& pins = stage.module->getPins();

        // A host may prepare again without releasing first: no cable is connected twice.
        for (size_t i = 0; i < stage.cables.size() && i < pins.size(); ++i)
        {
            pins[i]->disconnect (stage.cables[i]);
            pins[i]->connect (stage.cables[i]);
        }

        stage.module->activate();
    }
}

void AlxPlimsarModule::disconnectStages()
{
    for (auto& stage : wiring)
    {
        stage.module->deactivate();
        const auto& pins = stage.module->getPins();

        for (size_t i = 0; i < stage.cables.size() && i < pins.size(); ++i)
            pins[i]->disconnect (stage.cables[i]);
    }
}

void AlxPlimsarModule::prepareToPlay (double sampleRate, int blockSize)
{
    connectStages();
    AlxModule::prepareToPlay (sampleRate, blockSize);
}

void AlxPlimsarModule::releaseResources()
{
    AlxModule::releaseResources();
    disconnectStages();
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

void AlxPlimsarModule::processBlockBody (int numSamples)
{
    for (auto* module : processingOrder)
        module->process (numSamples);

    transport->advanceSampleCounter (numSamples);
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
