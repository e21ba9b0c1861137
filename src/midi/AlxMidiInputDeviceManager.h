#pragma once

#include "midi/AlxMidiDeviceManager.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <atomic>

// The MIDI input devices the user enabled. Of these, only the current input feeds the system:
// its messages, less active sensing, go to the registered callbacks on the driver's thread; the
// messages of every other input are dropped.
//
// Threads: enabling, disabling and the XML on the message thread; setCurrentInput and
// getCurrentInputName also on the audio thread (they take the devices lock briefly); delivery on
// the drivers' threads, which never take the devices lock, so closing a device (which waits for
// its running callback) cannot deadlock against them.
class AlxMidiInputDeviceManager : public AlxMidiDeviceManager<AlxMidiInputDevice>,
                                  private AlxMidiInputDeviceCallback
{
public:
    explicit AlxMidiInputDeviceManager (AlxMidiDeviceService& service_ = AlxMidiDeviceService::getDefault());
    ~AlxMidiInputDeviceManager() override;

    // Registering a callback again moves it to the end. Callbacks get nullptr as the source
    // device: the devices are the service's, not juce::MidiInputs.
    void addCallback (juce::MidiInputCallback* callback);
    void removeCallback (juce::MidiInputCallback* callback);

    // Makes the enabled input of this name current (the last one if several share it); none when
    // no enabled input has the name.
    void setCurrentInput (const juce::String& name);

    // The current input's name, empty when there is none. The device itself is not handed out:
    // the message thread may close it at any time.
    juce::String getCurrentInputName() const;

    juce::StringArray getAvailableNames() const override { return service.getInputNames(); }

private:
    std::unique_ptr<AlxMidiInputDevice> open (const juce::String& name) override;
    void removing (AlxMidiInputDevice& device) override;
    void handleIncomingMidiMessage (AlxMidiInputDevice& source, const juce::MidiMessage& message) override;

    juce::Array<juce::MidiInputCallback*> callbacks;
    juce::CriticalSection callbackLock;

    // Written under the devices lock; read by the drivers' threads without it.
    std::atomic<AlxMidiInputDevice*> current { nullptr };
};
