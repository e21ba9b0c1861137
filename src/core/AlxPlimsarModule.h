#pragma once

#include "framework/AlxModule.h"

class AlxArpModule;
class AlxGrooveModule;
class AlxHelpModule;
class AlxLFOGroupModule;
class AlxMidiInputGroupModule;
class AlxMidiOutputGroupModule;
class AlxProgramModule;
class AlxSynthModule;
class AlxTransportModule;
class AlxTriggerModule;

// The root of the module tree. It builds the tree, owns the cables between the stages, wires them
// into the modules' pins while audio runs, runs the stages in a fixed order for every block with
// the host's MIDI and audio buffers plugged in, and speaks for the whole document: plug-in name,
// id, version and the built-in content.
class AlxPlimsarModule : public AlxModule
{
public:
    static constexpr int moduleId = 4;

    explicit AlxPlimsarModule (AlxModuleContainer* container);
    ~AlxPlimsarModule() override;

    void initialise() override;
    juce::String getPluginName() const override { return "plimsar"; }
    // Documents name the root after the plug-in, which is how they are recognised on loading.
    juce::String getName() const override { return getPluginName(); }
    int getPluginId() const override;
    // Loads the bank built into the program: the first entry of the factory archive.
    void loadFactoryBank() override;
    void prepareToPlay (double sampleRate, int blockSize) override;
    void releaseResources() override;
    void processHostBlockBody (const juce::AudioSampleBuffer& input, juce::AudioSampleBuffer& output,
                               bool flag, juce::MidiBuffer& midiMessages) override;
    void processBlockBody (int numSamples) override;

    virtual AlxTransportModule* getTransportModule() const;
    virtual AlxProgramModule* getProgramModule() const;
    virtual AlxMidiInputGroupModule* getMidiInputGroup() const;
    virtual AlxMidiOutputGroupModule* getMidiOutputGroup() const;
    virtual AlxTriggerModule* getTriggerModule() const;
    virtual AlxGrooveModule* getGrooveModule() const;
    virtual AlxArpModule* getArpModule() const;
    virtual AlxLFOGroupModule* getLfoGroup() const;
    virtual AlxSynthModule* getSynthModule() const;
    virtual AlxHelpModule* getHelpModule() const;
    // Documents of version 1.0: where each of their values goes (AlxLegacyDocument).
    virtual void mapLegacyParameter (int legacyIndex, int& targetModuleId, int& parameterId, bool& isGlobal) const;
    // Names the demo tracks and loads the built-in demo sequences into the MIDI input's sequencer.
    virtual void installDemoSequences();

    // The cables, for tests and tools that look inside a block.
    AlxMidiKeyboardCable& getHeldKeysCable() { return heldKeys; }
    AlxMidiCable& getHostMidiCable() { return hostMidi; }
    AlxMidiCable& getInputMidiCable() { return inputMidi; }
    AlxMidiCable& getGeneratedMidiCable() { return generatedMidi; }
    AlxMidiCable& getSynthMidiCable() { return synthMidi; }
    AlxAudioCable& getAudioCable() { return audio; }

protected:
    std::unique_ptr<juce::XmlElement> upgradeLegacyXml (std::unique_ptr<juce::XmlElement> element,
                                                        const juce::String& tag) override;

private:
    // A stage's pins, in pin order, and the cables they are connected to while audio runs.
    struct Wiring
    {
        AlxModule* module;
        std::vector<AlxCableBase*> cables;
    };

    // Connects (or disconnects) every stage's pins to its cables and activates (deactivates) it.
    void connectStages();
    void disconnectStages();

    // The modules that process, in the order they run in every block, and the transport, whose
    // clock the root advances.
    std::vector<AlxModule*> processingOrder;
    AlxTransportModule* transport = nullptr;
    std::vector<Wiring> wiring;

    AlxMidiKeyboardCable heldKeys { new juce::MidiKeyboardState() };   // K
    // A and E carry the host's buffers during a block and nothing between blocks; owning objects
    // of their own would only have them freed on the audio thread by the first block.
    AlxMidiCable hostMidi;                                             // A
    AlxMidiCable inputMidi { new juce::MidiBuffer() };                 // B
    AlxMidiCable generatedMidi { new juce::MidiBuffer() };             // C
    AlxMidiCable synthMidi { new juce::MidiBuffer() };                 // D
    AlxAudioCable audio;                                               // E
};
