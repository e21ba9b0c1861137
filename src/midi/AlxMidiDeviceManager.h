#pragma once

#include "midi/AlxMidiDeviceService.h"

#include <juce_events/juce_events.h>

#include <memory>
#include <vector>

// The MIDI devices of one direction that the user enabled: opened by name through a device
// service, kept in the order enabled, and saved as an XML element with one child per device.
// Listeners get a change message after every enable or disable request that asked for a change,
// also when the device could not be opened.
//
// Enabling, disabling and the XML run on the message thread. The lock guards the list against
// the audio thread; a device is opened and closed outside it, so the audio thread never waits for
// the system's device calls.
template <class Device>
class AlxMidiDeviceManager : public juce::ChangeBroadcaster
{
public:
    ~AlxMidiDeviceManager() override;

    std::unique_ptr<juce::XmlElement> createXml() const;

    // Closes every device, then opens the ones listed, when the element has this manager's tag.
    // Devices the system does not offer are skipped.
    void restoreXml (const juce::XmlElement* xml);

    void setEnabled (const juce::String& name, bool enable);
    bool isEnabled (const juce::String& name) const;

    // Position of the device in the enabled order, or -1.
    int indexOf (const juce::String& name) const;

    void getEnabledNames (juce::StringArray& names) const;
    void disableAll();

    // The devices of this direction the system offers now, by name.
    virtual juce::StringArray getAvailableNames() const = 0;

protected:
    AlxMidiDeviceManager (AlxMidiDeviceService& service_, const juce::String& tag_, const juce::String& childTag_);

    // Opens and, where the device needs it, starts the named device; nothing when that fails.
    virtual std::unique_ptr<Device> open (const juce::String& name) = 0;

    // Called under the lock just before a device leaves the list.
    virtual void removing (Device&) {}

    // Closes every device without telling listeners; for destructors of subclasses whose devices
    // call back into them.
    void closeAll();

    AlxMidiDeviceService& service;
    juce::CriticalSection devicesLock;
    std::vector<std::unique_ptr<Device>> devices;

private:
    std::unique_ptr<Device> remove (size_t index);

    const juce::String tag, childTag;

    JUCE_DECLARE_NON_COPYABLE (AlxMidiDeviceManager)
};
