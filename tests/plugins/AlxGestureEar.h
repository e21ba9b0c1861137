#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>

// What a host hears from a parameter: its value changes and its gestures, in order.
struct AlxGestureEar : juce::AudioProcessorParameter::Listener
{
    void parameterValueChanged (int, float) override { ++changes; }
    void parameterGestureChanged (int, bool starting) override { gestures.add (starting ? "begin" : "end"); }

    std::atomic<int> changes { 0 };
    juce::StringArray gestures;
};
