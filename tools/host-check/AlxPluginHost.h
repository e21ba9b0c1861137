#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <stdexcept>

// Loads the built plug-in bundles the way a plug-in host does, through JUCE's format manager with
// the VST3 and LV2 formats, and plays an instance block by block behind a play head the caller
// steers. The plug-in runs its own copy of JUCE with its own message thread.
class AlxPluginHost
{
public:
    enum class Format
    {
        vst3,
        lv2
    };

    // Finds the plug-in: for VST3 the bundle itself, for LV2 the plug-in with this URI among the
    // bundles in the bundle's folder. Throws std::runtime_error saying why it could not.
    AlxPluginHost (Format format, const juce::File& bundle, const juce::String& lv2Uri = {});

    const juce::PluginDescription& getDescription() const { return description; }
    juce::String getFormatName() const { return description.pluginFormatName; }

    // A new instance at this sample rate and largest block size (throws when it cannot be made).
    std::unique_ptr<juce::AudioPluginInstance> createInstance (double sampleRate, int blockSize);

private:
    juce::AudioPluginFormatManager formats;
    juce::PluginDescription description;
};

// The play head of the host, set by the caller between blocks. Like the hosts musicians use, it
// tells every part of the position from the first block on: stopped at the start at 120 bpm in
// 4/4 until set. (JUCE's LV2 plug-in client forms a pointer from null for every part a host's
// position leaves out.)
class AlxHostPlayHead : public juce::AudioPlayHead
{
public:
    AlxHostPlayHead() { set (0, 48000.0, 0.0, 120.0, false); }

    juce::Optional<PositionInfo> getPosition() const override { return info; }

    // The position at a host sample, with its musical time given.
    void set (juce::int64 sample, double sampleRate, double ppq, double bpm, bool playing);

    PositionInfo info;
};

// One prepared instance and the blocks played into it. Everything the plug-in sends out is kept
// at its absolute sample position (counted from the session's first block).
class AlxPluginSession
{
public:
    struct Event
    {
        juce::int64 sample;
        juce::MidiMessage message;
    };

    AlxPluginSession (juce::AudioPluginInstance& plugin, double sampleRate, int blockSize);
    ~AlxPluginSession();

    AlxHostPlayHead& getPlayHead() { return playHead; }

    // One block of numSamples with this MIDI in, at the play head's
    // position as set; returns the MIDI the plug-in sent out in this block.
    const juce::MidiBuffer& process (int numSamples, const juce::MidiBuffer& input = {});

    juce::int64 getSamplesPlayed() const { return samplesPlayed; }
    const std::vector<Event>& getEvents() const { return events; }
    // Forgets the events kept so far (a long run that only measures keeps none).
    void clearEvents() { events.clear(); }
    const juce::AudioBuffer<float>& getAudio() const { return audio; }
    juce::AudioPluginInstance& getPlugin() { return plugin; }

private:
    juce::AudioPluginInstance& plugin;
    AlxHostPlayHead playHead;
    juce::AudioBuffer<float> audio;
    juce::MidiBuffer midi;
    juce::int64 samplesPlayed = 0;
    std::vector<Event> events;
};
