#include "render/AlxRenderDeviceService.h"

class AlxRenderDeviceService::RecordingOutput : public AlxMidiOutputDevice
{
public:
    RecordingOutput (AlxRenderDeviceService& owner_, const juce::String& name_) : owner (owner_), name (name_) {}

    juce::String getName() const override { return name; }
    void sendMessageNow (const juce::MidiMessage& message) override { owner.sent.push_back (message); }

private:
    AlxRenderDeviceService& owner;
    const juce::String name;
};

AlxRenderDeviceService::AlxRenderDeviceService (AlxMidiDeviceService& names) : nameSource (names) {}

juce::StringArray AlxRenderDeviceService::getOutputNames()
{
    return nameSource.getOutputNames();
}

std::unique_ptr<AlxMidiOutputDevice> AlxRenderDeviceService::openOutput (const juce::String& name)
{
    if (! getOutputNames().contains (name))
        return nullptr;

    return std::make_unique<RecordingOutput> (*this, name);
}

std::vector<juce::MidiMessage> AlxRenderDeviceService::takeSent()
{
    std::vector<juce::MidiMessage> result;
    result.swap (sent);
    return result;
}
