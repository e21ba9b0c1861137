#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

class AlxFilter;
class AlxParameter;

// What a host sees of the parameter with one host index: its full name, its value as the
// normalised position of the current value, and the value's text. Program parameters are reached
// through the current program's links, so the host always addresses the current program. An
// index that no parameter holds reads as "Rsrvd<n>" / "Reserved" / 0.
class AlxHostParameter : public juce::HostedAudioProcessorParameter
{
public:
    AlxHostParameter (AlxFilter& filter, int hostIndex);

    float getValue() const override;
    // Host automation: the value whose bin holds the position, set with reason 3 so that it is
    // not echoed back to the host.
    void setValue (float newValue) override;
    float getDefaultValue() const override;
    juce::String getName (int maximumStringLength) const override;
    juce::String getLabel() const override { return {}; }
    int getNumSteps() const override;
    bool isDiscrete() const override;
    juce::String getText (float normalisedValue, int maximumStringLength) const override;
    float getValueForText (const juce::String& text) const override;
    juce::String getParameterID() const override { return "p" + juce::String (hostIndex); }

    int getHostIndex() const { return hostIndex; }

private:
    AlxParameter* find() const;

    AlxFilter& filter;
    const int hostIndex;
};
