#pragma once

#include "midi/AlxMidiDeviceManager.h"

// The MIDI output devices the user enabled. The audio thread sends to them by position or by
// name; sends and list changes share the devices lock, so a send never meets a closed device.
class AlxMidiOutputDeviceManager : public AlxMidiDeviceManager<AlxMidiOutputDevice>
{
public:
    explicit AlxMidiOutputDeviceManager (AlxMidiDeviceService& service_ = AlxMidiDeviceService::getDefault());

    // Sends to the device at this position in the enabled order; nothing when there is none.
    void sendMessageNow (int index, const juce::MidiMessage& message);

    // Sends to the enabled device of this name; nothing when there is none.
    void sendMessageTo (const juce::String& name, const juce::MidiMessage& message);

    juce::StringArray getAvailableNames() const override { return service.getOutputNames(); }

private:
    std::unique_ptr<AlxMidiOutputDevice> open (const juce::String& name) override;
};
