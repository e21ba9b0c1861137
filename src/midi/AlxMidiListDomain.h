#pragma once

#include "framework/AlxMessageCode.h"
#include "framework/AlxRealDomain.h"

// A choice list whose values are rebuilt while the program runs, from the names of MIDI devices
// or demo tracks. Parameters over it store the chosen value's text, so a saved choice finds its
// device again by name, and a rebuild that drops the name sends them back to the default.
class AlxMidiListDomain : public AlxListDomain
{
public:
    using AlxListDomain::AlxListDomain;

    bool isIndexed() const override { return false; }
    bool isNamed() const override { return true; }

protected:
    struct Entry
    {
        juce::String text, shortText, longText;
    };

    // Replaces every value by one value of the given class per entry, under the domain lock, so
    // the audio thread (which reads the current value under the same lock) never meets a half-built
    // list.
    template <class ValueClass>
    void replaceValues (const std::vector<Entry>& entries, int defaultIndex)
    {
        const juce::ScopedLock sl (getLock());
        clearValues();

        for (auto& entry : entries)
            addValue (std::make_unique<ValueClass> (this, 0, 0.0f, 0.0, entry.text, entry.shortText, entry.longText));

        finishValues (defaultIndex);
    }

    // Tells the parameters over this domain that its values were rebuilt (code 0x0704); each then
    // selects its value again by text.
    void postValuesRebuilt();
};

// The choice of a MIDI device: a few fixed entries (no device, the built-in sources), then one
// value per enabled device in the device manager's order, and the "Configure..." command, which
// opens the MIDI settings.
template <class ValueClass>
class AlxMidiDeviceDomain : public AlxMidiListDomain
{
public:
    // The devices' names; the fixed entries stay in front and the default stays the same.
    void setDeviceNames (const juce::StringArray& names)
    {
        auto entries = fixedEntries;

        for (auto& deviceName : names)
            entries.push_back ({ deviceName, deviceName, deviceName });

        replaceValues<ValueClass> (entries, defaultIndex);
        postValuesRebuilt();
    }

    int getNumFixedValues() const { return (int) fixedEntries.size(); }

protected:
    AlxMidiDeviceDomain (AlxDomainSet* set, const juce::String& name_, const juce::String& label_,
                         const juce::String& description_, std::vector<Entry> fixedEntries_, int defaultIndex_)
        : AlxMidiListDomain (set, name_, label_, description_),
          fixedEntries (std::move (fixedEntries_)), defaultIndex (defaultIndex_)
    {
        addCommand (AlxMessageCode::domainCommand, "Configure...");
        replaceValues<ValueClass> (fixedEntries, defaultIndex);
    }

private:
    const std::vector<Entry> fixedEntries;
    const int defaultIndex;
};
