#pragma once

#include "editor/MidiInputListBox.h"
#include "editor/MidiOutputListBox.h"

#include <memory>

class AlxLabel;

// The content of the "Midi Settings" dialog: the MIDI inputs and outputs side by side, each with
// a tick box that enables the device in its device manager. The lists follow the managers: every
// change (also a device that failed to open) repaints them.
class AlxMidiDeviceSelectorComponent : public juce::Component, public juce::ChangeListener
{
public:
    AlxMidiDeviceSelectorComponent (AlxMidiInputDeviceManager& inputManager, AlxMidiOutputDeviceManager& outputManager);
    ~AlxMidiDeviceSelectorComponent() override;

    MidiInputListBox& getInputList() { return *inputList; }
    MidiOutputListBox& getOutputList() { return *outputList; }

    void changeListenerCallback (juce::ChangeBroadcaster* source) override;
    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    AlxMidiInputDeviceManager& inputManager;
    AlxMidiOutputDeviceManager& outputManager;
    std::unique_ptr<MidiInputListBox> inputList;
    std::unique_ptr<MidiOutputListBox> outputList;
    std::unique_ptr<AlxLabel> inputLabel, outputLabel;

    JUCE_DECLARE_NON_COPYABLE (AlxMidiDeviceSelectorComponent)
};
