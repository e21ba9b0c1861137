#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <memory>

// The operating system's MIDI device service, reduced to what the device managers need. Devices
// are identified by the names the service lists; when several share a name, the first listed is
// the one opened. The system's own service is AlxJuceMidiDeviceService; tests put an in-memory
// service in its place.

// An open MIDI input device.
class AlxMidiInputDevice
{
public:
    // Closing a device stops it; once the destructor has returned, no callback of this device
    // is running or will run.
    virtual ~AlxMidiInputDevice() = default;

    virtual juce::String getName() const = 0;

    // Messages are delivered only between start and stop.
    virtual void start() = 0;
    virtual void stop() = 0;
};

// Receives the messages of an open input, on the driver's thread. Each message carries the time it
// arrived as Time::getMillisecondCounterHiRes() * 0.001 seconds, the stamp that
// juce::MidiMessageCollector turns into sample positions.
class AlxMidiInputDeviceCallback
{
public:
    virtual ~AlxMidiInputDeviceCallback() = default;
    virtual void handleIncomingMidiMessage (AlxMidiInputDevice& source, const juce::MidiMessage& message) = 0;
};

// An open MIDI output device.
class AlxMidiOutputDevice
{
public:
    virtual ~AlxMidiOutputDevice() = default;
    virtual juce::String getName() const = 0;

    // Sends at once, on the calling thread.
    virtual void sendMessageNow (const juce::MidiMessage& message) = 0;
};

class AlxMidiDeviceService
{
public:
    virtual ~AlxMidiDeviceService() = default;

    virtual juce::StringArray getInputNames() = 0;
    virtual juce::StringArray getOutputNames() = 0;

    // Opens the first device listed under this name; nothing when none is listed or it fails to
    // open. An input delivers to the callback once started; the callback must outlive the device.
    virtual std::unique_ptr<AlxMidiInputDevice> openInput (const juce::String& name,
                                                           AlxMidiInputDeviceCallback& callback) = 0;
    virtual std::unique_ptr<AlxMidiOutputDevice> openOutput (const juce::String& name) = 0;

    // The service the program uses: the system's, unless a ScopedDefault stands in for it.
    static AlxMidiDeviceService& getDefault();

    // Makes another service the default for its lifetime (tests use it to stand in for the
    // system's devices). Devices and managers made through it must be gone before it ends.
    class ScopedDefault
    {
    public:
        explicit ScopedDefault (AlxMidiDeviceService& replacement);
        ~ScopedDefault();

    private:
        AlxMidiDeviceService* previous;

        JUCE_DECLARE_NON_COPYABLE (ScopedDefault)
    };
};
