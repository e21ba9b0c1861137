#pragma once

#include "editor/AlxMidiDeviceListBox.h"
#include "midi/AlxMidiInputDeviceManager.h"

// The MIDI inputs the system offers, ticked where the input device manager has them enabled.
class MidiInputListBox : public AlxManagedDeviceListBox<AlxMidiInputDeviceManager>
{
public:
    MidiInputListBox (const juce::String& name, AlxMidiInputDeviceManager& manager)
        : AlxManagedDeviceListBox (name, manager, "(no midi inputs available)") {}
};
