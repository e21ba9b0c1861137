#pragma once

#include "midi/AlxMidiDeviceService.h"

// The system's MIDI devices through juce::MidiInput and juce::MidiOutput. JUCE identifies devices
// by an identifier; the names it reports are mapped to those identifiers at each open.
class AlxJuceMidiDeviceService : public AlxMidiDeviceService
{
public:
    juce::StringArray getInputNames() override;
    juce::StringArray getOutputNames() override;
    std::unique_ptr<AlxMidiInputDevice> openInput (const juce::String& name,
                                                   AlxMidiInputDeviceCallback& callback) override;
    std::unique_ptr<AlxMidiOutputDevice> openOutput (const juce::String& name) override;
};
