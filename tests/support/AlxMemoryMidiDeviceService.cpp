#include "support/AlxMemoryMidiDeviceService.h"

#include <algorithm>
#include <chrono>

class AlxMemoryMidiDeviceService::OpenInput final : public AlxMidiInputDevice
{
public:
    OpenInput (AlxMemoryMidiDeviceService& service_, std::shared_ptr<Device> device_,
               AlxMidiInputDeviceCallback& callback_)
        : service (service_), device (std::move (device_)), callback (callback_)
    {
    }

    ~OpenInput() override
    {
        const std::lock_guard<std::mutex> sl (service.lock);
        auto& open = service.openInputs;
        open.erase (std::remove (open.begin(), open.end(), this), open.end());
    }

    juce::String getName() const override { return device->name; }

    void start() override
    {
        const std::lock_guard<std::mutex> sl (service.lock);
        started = true;
    }

    void stop() override
    {
        const std::lock_guard<std::mutex> sl (service.lock);
        started = false;
    }

    AlxMemoryMidiDeviceService& service;
    const std::shared_ptr<Device> device;
    AlxMidiInputDeviceCallback& callback;
    bool started = false;
};

class AlxMemoryMidiDeviceService::OpenOutput final : public AlxMidiOutputDevice
{
public:
    OpenOutput (AlxMemoryMidiDeviceService& service_, std::shared_ptr<Device> device_)
        : service (service_), device (std::move (device_))
    {
    }

    ~OpenOutput() override
    {
        const std::lock_guard<std::mutex> sl (service.lock);
        auto& open = service.openOutputs;
        open.erase (std::remove (open.begin(), open.end(), this), open.end());
    }

    juce::String getName() const override { return device->name; }

    void sendMessageNow (const juce::MidiMessage& message) override
    {
        const std::lock_guard<std::mutex> sl (service.lock);

        if (device->listed)
            device->sent.push_back (message);
    }

    AlxMemoryMidiDeviceService& service;
    const std::shared_ptr<Device> device;
};

AlxMemoryMidiDeviceService::~AlxMemoryMidiDeviceService()
{
    // Open devices point back at the service.
    jassert (openInputs.empty() && openOutputs.empty());
}

void AlxMemoryMidiDeviceService::addInput (const juce::String& name)
{
    const std::lock_guard<std::mutex> sl (lock);
    inputs.push_back (std::make_shared<Device> (Device { name, true, {} }));
}

void AlxMemoryMidiDeviceService::addOutput (const juce::String& name)
{
    const std::lock_guard<std::mutex> sl (lock);
    outputs.push_back (std::make_shared<Device> (Device { name, true, {} }));
}

void AlxMemoryMidiDeviceService::removeInput (const juce::String& name)
{
    const std::lock_guard<std::mutex> sl (lock);
    unlist (inputs, name);
}

void AlxMemoryMidiDeviceService::removeOutput (const juce::String& name)
{
    const std::lock_guard<std::mutex> sl (lock);
    unlist (outputs, name);
}

void AlxMemoryMidiDeviceService::setFailsToOpen (const juce::String& name, bool fails)
{
    const std::lock_guard<std::mutex> sl (lock);

    if (fails)
        failing.addIfNotAlreadyThere (name);
    else
        failing.removeString (name);
}

int AlxMemoryMidiDeviceService::countOpenInputs (const juce::String& name) const
{
    const std::lock_guard<std::mutex> sl (lock);
    return (int) std::count_if (openInputs.begin(), openInputs.end(),
                                [&] (auto* input) { return input->device->name == name; });
}

int AlxMemoryMidiDeviceService::countOpenOutputs (const juce::String& name) const
{
    const std::lock_guard<std::mutex> sl (lock);
    return (int) std::count_if (openOutputs.begin(), openOutputs.end(),
                                [&] (auto* output) { return output->device->name == name; });
}

int AlxMemoryMidiDeviceService::deliver (const juce::String& inputName, const juce::MidiMessage& message)
{
    juce::MidiMessage stamped (message, juce::Time::getMillisecondCounterHiRes() * 0.001);
    const std::lock_guard<std::mutex> sl (lock);
    const auto device = find (inputs, inputName);
    int reached = 0;

    for (auto* input : openInputs)
    {
        if (input->device == device && input->started)
        {
            input->callback.handleIncomingMidiMessage (*input, stamped);
            ++reached;
        }
    }

    return reached;
}

std::vector<juce::MidiMessage> AlxMemoryMidiDeviceService::getSent (const juce::String& outputName) const
{
    const std::lock_guard<std::mutex> sl (lock);

    if (auto device = find (outputs, outputName))
        return device->sent;

    return {};
}

juce::StringArray AlxMemoryMidiDeviceService::getInputNames()
{
    const std::lock_guard<std::mutex> sl (lock);
    return namesOf (inputs);
}

juce::StringArray AlxMemoryMidiDeviceService::getOutputNames()
{
    const std::lock_guard<std::mutex> sl (lock);
    return namesOf (outputs);
}

std::unique_ptr<AlxMidiInputDevice> AlxMemoryMidiDeviceService::openInput (const juce::String& name,
                                                                           AlxMidiInputDeviceCallback& callback)
{
    const std::lock_guard<std::mutex> sl (lock);
    auto device = find (inputs, name);

    if (device == nullptr || failing.contains (name))
        return nullptr;

    auto input = std::make_unique<OpenInput> (*this, std::move (device), callback);
    openInputs.push_back (input.get());
    return input;
}

std::unique_ptr<AlxMidiOutputDevice> AlxMemoryMidiDeviceService::openOutput (const juce::String& name)
{
    const std::lock_guard<std::mutex> sl (lock);
    auto device = find (outputs, name);

    if (device == nullptr || failing.contains (name))
        return nullptr;

    auto output = std::make_unique<OpenOutput> (*this, std::move (device));
    openOutputs.push_back (output.get());
    return output;
}

std::shared_ptr<AlxMemoryMidiDeviceService::Device> AlxMemoryMidiDeviceService::find (const DeviceList& list,
                                                                                      const juce::String& name)
{
    for (auto& device : list)
        if (device->name == name)
            return device;

    return nullptr;
}

juce::StringArray AlxMemoryMidiDeviceService::namesOf (const DeviceList& list)
{
    juce::StringArray names;

    for (auto& device : list)
        names.add (device->name);

    return names;
}

void AlxMemoryMidiDeviceService::unlist (DeviceList& list, const juce::String& name)
{
    if (auto device = find (list, name))
    {
        device->listed = false;
        list.erase (std::find (list.begin(), list.end(), device));
    }
}

AlxMemoryMidiDeviceService::Driver::Driver (AlxMemoryMidiDeviceService& service, const juce::String& inputName,
                                            std::vector<juce::MidiMessage> messages, int rounds)
    : thread ([this, &service, inputName, messages = std::move (messages), rounds]
              {
                  for (int round = 0; round < rounds; ++round)
                  {
                      for (auto& message : messages)
                          reached += service.deliver (inputName, message);

                      // A device plays over time: a short pause lets the audio thread run
                      // blocks between rounds however the scheduler ranks the threads, as it
                      // would between the notes of a player.
                      std::this_thread::sleep_for (std::chrono::microseconds (20));
                  }

                  finished = true;
              })
{
}

AlxMemoryMidiDeviceService::Driver::~Driver()
{
    thread.join();
}
