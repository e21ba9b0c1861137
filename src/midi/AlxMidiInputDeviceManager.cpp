#include "midi/AlxMidiInputDeviceManager.h"

AlxMidiInputDeviceManager::AlxMidiInputDeviceManager (AlxMidiDeviceService& service_)
    : AlxMidiDeviceManager (service_, "midiInputDeviceManager", "midiInput")
{
}

AlxMidiInputDeviceManager::~AlxMidiInputDeviceManager()
{
    // The devices call back into this object, so they close before it is gone.
    closeAll();
}

void AlxMidiInputDeviceManager::addCallback (juce::MidiInputCallback* callback)
{
    const juce::ScopedLock sl (callbackLock);
    callbacks.removeFirstMatchingValue (callback);
    callbacks.add (callback);
}

void AlxMidiInputDeviceManager::removeCallback (juce::MidiInputCallback* callback)
{
    const juce::ScopedLock sl (callbackLock);
    callbacks.removeFirstMatchingValue (callback);
}

void AlxMidiInputDeviceManager::setCurrentInput (const juce::String& name)
{
    const juce::ScopedLock sl (devicesLock);
    AlxMidiInputDevice* found = nullptr;

    for (auto& device : devices)
        if (device->getName() == name)
            found = device.get();

    current = found;
}

juce::String AlxMidiInputDeviceManager::getCurrentInputName() const
{
    const juce::ScopedLock sl (devicesLock);

    if (auto* device = current.load())
        return device->getName();

    return {};
}

std::unique_ptr<AlxMidiInputDevice> AlxMidiInputDeviceManager::open (const juce::String& name)
{
    auto device = service.openInput (name, *this);

    // Started at once; its messages are dropped until it becomes current.
    if (device != nullptr)
        device->start();

    return device;
}

void AlxMidiInputDeviceManager::removing (AlxMidiInputDevice& device)
{
    // Closing the device, outside the lock, stops it.
    if (current == &device)
        current = nullptr;
}

void AlxMidiInputDeviceManager::handleIncomingMidiMessage (AlxMidiInputDevice& source, const juce::MidiMessage& message)
{
    if (message.isActiveSense() || &source != current.load())
        return;

    const juce::ScopedLock sl (callbackLock);

    for (auto* callback : callbacks)
        callback->handleIncomingMidiMessage (nullptr, message);
}
