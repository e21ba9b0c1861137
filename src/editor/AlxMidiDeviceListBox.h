#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A list of MIDI devices with a tick box per row: ticked rows are the devices the system may
// use. The rows are the devices offered when the list was made, followed by enabled devices the
// system no longer offers, so those can still be switched off. A click on the tick box or a
// double click anywhere on a row switches the device; a click on the text only selects the row.
class AlxMidiDeviceListBox : public juce::ListBox, public juce::ListBoxModel
{
public:
    // The row of the tick box ends here; a click left of it switches the device.
    static constexpr int rowHeight = 21;
    static constexpr int tickRight = rowHeight + 5;

    int getNumRows() override { return items.size(); }
    void paintListBoxItem (int row, juce::Graphics& g, int width, int height, bool rowIsSelected) override;
    void listBoxItemClicked (int row, const juce::MouseEvent& event) override;
    void listBoxItemDoubleClicked (int row, const juce::MouseEvent& event) override;
    void paintOverChildren (juce::Graphics& g) override;

    const juce::StringArray& getItems() const { return items; }

protected:
    // `available` are the devices the system offers, `enabled` those switched on now.
    AlxMidiDeviceListBox (const juce::String& name, const juce::StringArray& available,
                          const juce::StringArray& enabled, const juce::String& emptyMessage);

    virtual bool isDeviceEnabled (const juce::String& deviceName) const = 0;
    virtual void setDeviceEnabled (const juce::String& deviceName, bool enable) = 0;

private:
    void flip (int row);

    juce::StringArray items;
    const juce::String emptyText;
};

// A device list over a device manager of one direction.
template <class Manager>
class AlxManagedDeviceListBox : public AlxMidiDeviceListBox
{
protected:
    AlxManagedDeviceListBox (const juce::String& name, Manager& manager, const juce::String& emptyMessage)
        : AlxMidiDeviceListBox (name, manager.getAvailableNames(), enabledNamesOf (manager), emptyMessage),
          deviceManager (manager)
    {
    }

    bool isDeviceEnabled (const juce::String& deviceName) const override { return deviceManager.isEnabled (deviceName); }
    void setDeviceEnabled (const juce::String& deviceName, bool enable) override { deviceManager.setEnabled (deviceName, enable); }

private:
    static juce::StringArray enabledNamesOf (const Manager& source)
    {
        juce::StringArray names;
        source.getEnabledNames (names);
        return names;
    }

    Manager& deviceManager;
};
