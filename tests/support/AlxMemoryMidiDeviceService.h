#pragma once

#include "midi/AlxMidiDeviceService.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// MIDI devices held in memory, for tests. Devices appear and disappear by name, can be made to
// fail to open, deliver messages (stamped with their arrival time, as a driver does) from the
// calling thread or from a driver thread of their own, and outputs record what they were sent.
//
// Like a driver, the service delivers under its own lock and closing an input takes that lock, so
// once an input is closed none of its callbacks is running. Callbacks must not call back into the
// service. Open devices must be closed before the service is destroyed.
class AlxMemoryMidiDeviceService : public AlxMidiDeviceService
{
public:
    AlxMemoryMidiDeviceService() = default;
    ~AlxMemoryMidiDeviceService() override;

    void addInput (const juce::String& name);
    void addOutput (const juce::String& name);

    // The first device listed under the name disappears: its open inputs go silent, what its open
    // outputs are sent is lost. Adding the name again makes a new device.
    void removeInput (const juce::String& name);
    void removeOutput (const juce::String& name);

    // Opening devices of this name fails (or works again).
    void setFailsToOpen (const juce::String& name, bool fails);

    int countOpenInputs (const juce::String& name) const;
    int countOpenOutputs (const juce::String& name) const;

    // Delivers a message from the first input listed under the name to each of its started open
    // instances, on the calling thread; the number of instances reached.
    int deliver (const juce::String& inputName, const juce::MidiMessage& message);

    // What the outputs of the first device listed under the name were sent, in order.
    std::vector<juce::MidiMessage> getSent (const juce::String& outputName) const;

    juce::StringArray getInputNames() override;
    juce::StringArray getOutputNames() override;
    std::unique_ptr<AlxMidiInputDevice> openInput (const juce::String& name,
                                                   AlxMidiInputDeviceCallback& callback) override;
    std::unique_ptr<AlxMidiOutputDevice> openOutput (const juce::String& name) override;

    // A driver thread of one input: delivers the messages, in order, for the given number of
    // rounds. Destroying it waits for the thread.
    class Driver
    {
    public:
        Driver (AlxMemoryMidiDeviceService& service, const juce::String& inputName,
                std::vector<juce::MidiMessage> messages, int rounds);
        ~Driver();

        bool isFinished() const { return finished; }

        // Deliveries that reached an open, started instance.
        int getNumReached() const { return reached; }

    private:
        std::atomic<bool> finished { false };
        std::atomic<int> reached { 0 };
        std::thread thread;
    };

private:
    struct Device
    {
        juce::String name;
        bool listed = true;
        std::vector<juce::MidiMessage> sent;
    };

    class OpenInput;
    class OpenOutput;

    using DeviceList = std::vector<std::shared_ptr<Device>>;
    static std::shared_ptr<Device> find (const DeviceList& list, const juce::String& name);
    static juce::StringArray namesOf (const DeviceList& list);
    static void unlist (DeviceList& list, const juce::String& name);

    mutable std::mutex lock;
    DeviceList inputs, outputs;
    juce::StringArray failing;
    std::vector<OpenInput*> openInputs;
    std::vector<OpenOutput*> openOutputs;
};
