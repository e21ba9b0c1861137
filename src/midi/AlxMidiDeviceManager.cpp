#include "midi/AlxMidiDeviceManager.h"

template <class Device>
AlxMidiDeviceManager<Device>::AlxMidiDeviceManager (AlxMidiDeviceService& service_,
                                                    const juce::String& tag_,
                                                    const juce::String& childTag_)
    : service (service_), tag (tag_), childTag (childTag_)
{
}

template <class Device>
AlxMidiDeviceManager<Device>::~AlxMidiDeviceManager()
{
    closeAll();
}

template <class Device>
std::unique_ptr<juce::XmlElement> AlxMidiDeviceManager<Device>::createXml() const
{
    auto xml = std::make_unique<juce::XmlElement> (tag);
    juce::StringArray names;
    getEnabledNames (names);

    for (auto& name : names)
        xml->createNewChildElement (childTag)->setAttribute ("name", name);

    return xml;
}

template <class Device>
void AlxMidiDeviceManager<Device>::restoreXml (const juce::XmlElement* xml)
{
    disableAll();

    if (xml == nullptr || ! xml->getTagName().equalsIgnoreCase (tag))
        return;

    for (auto* child : xml->getChildWithTagNameIterator (childTag))
        setEnabled (child->getStringAttribute ("name"), true);
}

template <class Device>
void AlxMidiDeviceManager<Device>::setEnabled (const juce::String& name, bool enable)
{
    if (isEnabled (name) == enable)
        return;

    if (enable)
    {
        if (auto device = open (name))
        {
            const juce::ScopedLock sl (devicesLock);
            devices.push_back (std::move (device));
        }
    }
    else if (const auto index = indexOf (name); index >= 0)
    {
        // Destroyed here, outside the lock.
        remove ((size_t) index);
    }

    // Also when the device could not be opened: the listeners show the real state.
    sendChangeMessage();
}

template <class Device>
bool AlxMidiDeviceManager<Device>::isEnabled (const juce::String& name) const
{
    return indexOf (name) >= 0;
}

template <class Device>
int AlxMidiDeviceManager<Device>::indexOf (const juce::String& name) const
{
    const juce::ScopedLock sl (devicesLock);

    for (size_t i = 0; i < devices.size(); ++i)
        if (devices[i]->getName() == name)
            return (int) i;

    return -1;
}

template <class Device>
void AlxMidiDeviceManager<Device>::getEnabledNames (juce::StringArray& names) const
{
    const juce::ScopedLock sl (devicesLock);
    names.clearQuick();

    for (auto& device : devices)
        names.add (device->getName());
}

template <class Device>
void AlxMidiDeviceManager<Device>::disableAll()
{
    juce::StringArray names;
    getEnabledNames (names);

    for (int i = names.size(); --i >= 0;)
        setEnabled (names[i], false);
}

template <class Device>
void AlxMidiDeviceManager<Device>::closeAll()
{
    std::vector<std::unique_ptr<Device>> closing;

    {
        const juce::ScopedLock sl (devicesLock);

        for (auto i = devices.size(); i > 0; --i)
            removing (*devices[i - 1]);

        closing.swap (devices);
    }

    // Last enabled first.
    while (! closing.empty())
        closing.pop_back();
}

template <class Device>
std::unique_ptr<Device> AlxMidiDeviceManager<Device>::remove (size_t index)
{
    const juce::ScopedLock sl (devicesLock);
    removing (*devices[index]);
    auto device = std::move (devices[index]);
    devices.erase (devices.begin() + (std::ptrdiff_t) index);
    return device;
}

template class AlxMidiDeviceManager<AlxMidiInputDevice>;
template class AlxMidiDeviceManager<AlxMidiOutputDevice>;
