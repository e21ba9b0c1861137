#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <optional>

class AlxFilter;
class AlxParameter;

// What a host sees of the parameter with one host index: its full name, its value as the host
// position of the current value (choice i of N at i/(N-1), on the host's own steps), and the
// value's text. Program parameters are reached
// through the current program's links, so the host always addresses the current program. An
// index that no parameter holds reads as "Rsrvd<n>" / "Reserved" / 0.
//
// Its ID is "p" followed by the host index. Plug-in formats build their parameter identities
// (VST3 parameter ids, LV2 port symbols and URIs) from it, so it must be a real ID: without one
// they fall back to the bare index, which LV2 cannot use as a name.
class AlxHostParameter : public juce::AudioProcessorParameterWithID
{
public:
    AlxHostParameter (AlxFilter& filter, int hostIndex);

    float getValue() const override;
    // Host automation: the value at the step nearest the position, set with reason 3 so that it
    // is not echoed back to the host.
    void setValue (float newValue) override;
    float getDefaultValue() const override;
    juce::String getName (int maximumStringLength) const override;
    juce::String getLabel() const override { return {}; }
    int getNumSteps() const override;
    bool isDiscrete() const override;
    juce::String getText (float normalisedValue, int maximumStringLength) const override;
    float getValueForText (const juce::String& text) const override;

    int getHostIndex() const { return hostIndex; }

    // The value a fresh processor starts with (the factory bank's first program), which hosts
    // take as the default: LV2 hosts show it until the plug-in tells them otherwise. Until it is
    // taken, the domain's default.
    void takeDefaultValue() { defaultValue = getValue(); }

private:
    AlxParameter* find() const;

    AlxFilter& filter;
    const int hostIndex;
    std::optional<float> defaultValue;
};
