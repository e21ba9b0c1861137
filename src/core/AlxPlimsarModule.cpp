#include "core/AlxPlimsarModule.h"

#include "core/AlxProgramModule.h"
#include "editor/AlxHelpModule.h"
#include "modules/AlxArpModule.h"
#include "modules/AlxGrooveModule.h"
#include "modules/AlxLFOGroupModule.h"
#include "modules/AlxTransportModule.h"
#include "modules/AlxTriggerModule.h"

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
    addChild (std::make_unique<AlxTriggerModule> (getContainer()));
    addChild (std::make_unique<AlxGrooveModule> (getContainer()));
    addChild (std::make_unique<AlxArpModule> (getContainer()));
    addChild (std::make_unique<AlxLFOGroupModule> (getContainer()));
    addChild (std::make_unique<AlxHelpModule> (getContainer()));

    for (auto& child : getChildren())
        child->initialise();

    for (int id : { AlxTransportModule::moduleId, AlxTriggerModule::moduleId })
        if (auto* module = findModule (id))
            processingOrder.push_back (module);

    setCurrentProgram (0);
}

AlxTransportModule* AlxPlimsarModule::getTransportModule() const
{
    return dynamic_cast<AlxTransportModule*> (findModule (AlxTransportModule::moduleId));
}

AlxProgramModule* AlxPlimsarModule::getProgramModule() const
{
    return dynamic_cast<AlxProgramModule*> (findModule (AlxProgramModule::moduleId));
}

AlxTriggerModule* AlxPlimsarModule::getTriggerModule() const
{
    return dynamic_cast<AlxTriggerModule*> (findModule (AlxTriggerModule::moduleId));
}

AlxGrooveModule* AlxPlimsarModule::getGrooveModule() const
{
    return dynamic_cast<AlxGrooveModule*> (findModule (AlxGrooveModule::moduleId));
}

AlxArpModule* AlxPlimsarModule::getArpModule() const
{
    return dynamic_cast<AlxArpModule*> (findModule (AlxArpModule::moduleId));
}

AlxLFOGroupModule* AlxPlimsarModule::getLfoGroup() const
{
    return dynamic_cast<AlxLFOGroupModule*> (findModule (AlxLFOGroupModule::moduleId));
}

AlxHelpModule* AlxPlimsarModule::getHelpModule() const
{
    return dynamic_cast<AlxHelpModule*> (findModule (AlxHelpModule::moduleId));
}

void AlxPlimsarModule::prepareToPlay (double sampleRate, int blockSize)
{
    auto* trigger = getTriggerModule();
    trigger->getKeyboardInputPin()->connect (&heldKeys);
    trigger->getMidiInputPin()->connect (&inputMidi);
    trigger->getMidiOutputPin()->connect (&generatedMidi);
    trigger->activate();

    AlxModule::prepareToPlay (sampleRate, blockSize);
}

void AlxPlimsarModule::releaseResources()
{
    AlxModule::releaseResources();

    auto* trigger = getTriggerModule();
    trigger->deactivate();
    trigger->getKeyboardInputPin()->disconnect (&heldKeys);
    trigger->getMidiInputPin()->disconnect (&inputMidi);
    trigger->getMidiOutputPin()->disconnect (&generatedMidi);
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
