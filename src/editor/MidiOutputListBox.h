#pragma once

#include "editor/AlxMidiDeviceListBox.h"
#include "midi/AlxMidiOutputDeviceManager.h"

// The MIDI outputs the system offers, ticked where the output device manager has them enabled.
class MidiOutputListBox : public AlxManagedDeviceListBox<AlxMidiOutputDeviceManager>
{
public:
    MidiOutputListBox (const juce::String& name, AlxMidiOutputDeviceManager& manager)
        : AlxManagedDeviceListBox (name, manager, "(no midi outputs available)") {}
};
