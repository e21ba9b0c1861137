#include "midi/AlxMidiOutputDeviceManager.h"

AlxMidiOutputDeviceManager::AlxMidiOutputDeviceManager (AlxMidiDeviceService& service_)
    : AlxMidiDeviceManager (service_, "midiOutputDeviceManager", "midiOutput")
{
}

void AlxMidiOutputDeviceManager::sendMessageNow (int index, const juce::MidiMessage& message)
{
    const juce::ScopedLock sl (devicesLock);

    if (juce::isPositiveAndBelow (index, devices.size()))
        devices[(size_t) index]->sendMessageNow (message);
}

void AlxMidiOutputDeviceManager::sendMessageTo (const juce::String& name, const juce::MidiMessage& message)
{
    const juce::ScopedLock sl (devicesLock);
    sendMessageNow (indexOf (name), message);
}

std::unique_ptr<AlxMidiOutputDevice> AlxMidiOutputDeviceManager::open (const juce::String& name)
{
    return service.openOutput (name);
}
