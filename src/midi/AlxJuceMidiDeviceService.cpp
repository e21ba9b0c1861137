#include "midi/AlxJuceMidiDeviceService.h"

#include <juce_audio_devices/juce_audio_devices.h>

namespace
{
    juce::StringArray namesOf (const juce::Array<juce::MidiDeviceInfo>& devices)
    {
        juce::StringArray names;

        for (auto& info : devices)
            names.add (info.name);

        return names;
    }

    // The identifier of the first device listed under the name, or an empty string.
    juce::String identifierOf (const juce::Array<juce::MidiDeviceInfo>& devices, const juce::String& name)
    {
        for (auto& info : devices)
            if (info.name == name)
                return info.identifier;

        return {};
    }

    class JuceInput final : public AlxMidiInputDevice,
                            private juce::MidiInputCallback
    {
    public:
        JuceInput (const juce::String& name_, AlxMidiInputDeviceCallback& callback_)
            : name (name_), callback (callback_)
        {
        }

        // juce::MidiInput stops its device and waits for a running callback when destroyed.
        ~JuceInput() override { input.reset(); }

        bool open (const juce::String& identifier)
        {
            input = juce::MidiInput::openDevice (identifier, this);
            return input != nullptr;
        }

        juce::String getName() const override { return name; }
        void start() override { input->start(); }
        void stop() override { input->stop(); }

    private:
        // JUCE stamps each message with Time::getMillisecondCounterHiRes() * 0.001 already.
        void handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& message) override
        {
            callback.handleIncomingMidiMessage (*this, message);
        }

        const juce::String name;
        AlxMidiInputDeviceCallback& callback;
        std::unique_ptr<juce::MidiInput> input;
    };

    class JuceOutput final : public AlxMidiOutputDevice
    {
    public:
        JuceOutput (const juce::String& name_, std::unique_ptr<juce::MidiOutput> output_)
            : name (name_), output (std::move (output_))
        {
        }

        juce::String getName() const override { return name; }
        void sendMessageNow (const juce::MidiMessage& message) override { output->sendMessageNow (message); }

    private:
        const juce::String name;
        std::unique_ptr<juce::MidiOutput> output;
    };
}

juce::StringArray AlxJuceMidiDeviceService::getInputNames()
{
    return namesOf (juce::MidiInput::getAvailableDevices());
}

juce::StringArray AlxJuceMidiDeviceService::getOutputNames()
{
    return namesOf (juce::MidiOutput::getAvailableDevices());
}

std::unique_ptr<AlxMidiInputDevice> AlxJuceMidiDeviceService::openInput (const juce::String& name,
                                                                         AlxMidiInputDeviceCallback& callback)
{
    const auto identifier = identifierOf (juce::MidiInput::getAvailableDevices(), name);

    if (identifier.isEmpty())
        return nullptr;

    auto device = std::make_unique<JuceInput> (name, callback);

    if (! device->open (identifier))
        return nullptr;

    return device;
}

std::unique_ptr<AlxMidiOutputDevice> AlxJuceMidiDeviceService::openOutput (const juce::String& name)
{
    const auto identifier = identifierOf (juce::MidiOutput::getAvailableDevices(), name);

    if (identifier.isEmpty())
        return nullptr;

    auto output = juce::MidiOutput::openDevice (identifier);

    if (output == nullptr)
        return nullptr;

    return std::make_unique<JuceOutput> (name, std::move (output));
}
