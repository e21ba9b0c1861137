#pragma once

#include "core/AlxPlimsarFilter.h"
#include "core/AlxPlimsarModule.h"

#include <functional>

// Drives an AlxPlimsarFilter as a host does: prepareToPlay, then blocks under the processor's
// callback lock (skipped while suspended) with host MIDI and a stereo audio buffer, an optional
// play head, and delivery of posted messages between blocks.
class AlxTestHost
{
public:
    struct Event
    {
        juce::int64 sample;   // absolute position since prepareToPlay
        juce::MidiMessage message;
    };

    explicit AlxTestHost (double sampleRate = 48000.0, int maximumBlockSize = 4096);
    ~AlxTestHost();

    AlxPlimsarFilter& getProcessor() { return processor; }
    AlxPlimsarModule& getRoot() { return static_cast<AlxPlimsarModule&> (*processor.getRootModule()); }
    AlxModuleContainer& getContainer() { return *processor.getContainer(); }
    template <typename ModuleClass>
    ModuleClass& module (int id) { return dynamic_cast<ModuleClass&> (*getContainer().findModule (id)); }

    // A play head the host supplies from now on (null: none, the processor keeps its own clock).
    void setPlayHead (juce::AudioPlayHead* playHead);
    void prepare (double sampleRate, int maximumBlockSize);

    // One block of numSamples with the given host MIDI. Afterwards getMidi() holds what the
    // processor left in the host's MIDI buffer and getAudio() its audio output.
    void processBlock (int numSamples, const juce::MidiBuffer& hostMidi = {});
    const juce::MidiBuffer& getMidi() const { return midi; }
    const juce::AudioBuffer<float>& getAudio() const { return audio; }

    // Blocks of blockSize (the last one shorter) until totalSamples have passed, delivering posted
    // messages after each block. input gives the host MIDI of each block (start, length); every
    // event the processor put into the host's buffer is returned at its absolute position.
    std::vector<Event> run (juce::int64 totalSamples, int blockSize,
                            const std::function<juce::MidiBuffer (juce::int64, int)>& input = {});

    void deliver();
    juce::int64 getSamplesProcessed() const { return samplesProcessed; }
    double getSampleRate() const { return sampleRate; }

private:
    AlxPlimsarFilter processor;
    juce::MidiBuffer midi;
    juce::AudioBuffer<float> audio;
    double sampleRate = 48000.0;
    juce::int64 samplesProcessed = 0;
};
