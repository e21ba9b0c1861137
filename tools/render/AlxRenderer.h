#pragma once

#include "core/AlxPlimsarFilter.h"
#include "render/AlxRenderDeviceService.h"
#include "render/AlxRenderInput.h"
#include "render/AlxSoundingNotes.h"

#include <optional>

class AlxPlimsarModule;
class AlxTransportModule;

// Receives what a render produces, block by block.
class AlxRenderListener
{
public:
    virtual ~AlxRenderListener() = default;

    // An event the MIDI output stage delivered to its destination (the built-in synth, the
    // host, or a device), at its absolute sample position, in delivery order. Device sends are
    // immediate, so they carry the position of the block that sent them. Notes still sounding
    // when the render ends get their note-offs at its end position.
    virtual void midiDelivered (juce::int64 samplePosition, const juce::MidiMessage& message) = 0;

    // The processor's audio output of one block, which follows the previous one.
    virtual void audioRendered (const juce::AudioBuffer<float>& block) = 0;

    // After every block: how much of the render is done.
    virtual void blockDone (juce::int64 samplesDone, juce::int64 samplesTotal) { juce::ignoreUnused (samplesDone, samplesTotal); }
};

// A headless host for the processor. It runs the processor as the standalone application does,
// without a host play head: the processor's own transport plays from song position 0, and
// posted messages are delivered between blocks on the calling thread, which must own the JUCE
// message manager. Everything happens on that thread.
//
// The state is what the processor starts with (the factory bank) until a bank or preset is
// loaded. Failures throw AlxRenderError and leave the state as it was.
class AlxRenderer
{
public:
    // MIDI output devices are offered under the names the given service lists and record what
    // they are sent; no real device is opened.
    explicit AlxRenderer (AlxMidiDeviceService& systemDevices = AlxMidiDeviceService::getDefault());
    ~AlxRenderer();

    AlxPlimsarFilter& getProcessor() { return processor; }

    void loadBank (const juce::File& file);
    // An index 0 ... 127, or the exact name of a program.
    void selectProgram (const juce::String& indexOrName);
    // Into the selected program.
    void loadPreset (const juce::File& file);

    void setTempo (double bpm);
    void setTimeSignature (int numerator, int denominator);
    // The input of the render: the built-in demo track of this index, or a MIDI file played as
    // the host's MIDI (source "VST/AU host", channel "All").
    void playTrack (int track);
    void playInput (AlxRenderInput input);

    double getTempo() const;
    int getNumerator() const;
    int getDenominator() const;
    juce::String getCurrentProgramName();
    double getSamplesPerQuarter (double sampleRate) const { return sampleRate * 60.0 / getTempo(); }

    // The longest render, in samples.
    static juce::int64 getMaximumLength();

    // Prepares the processor, starts its transport and renders numSamples (at most
    // getMaximumLength) in blocks of blockSize from song position 0.
    void render (double sampleRate, int blockSize, juce::int64 numSamples, AlxRenderListener& listener);

private:
    AlxPlimsarModule& getRoot() const;
    AlxTransportModule& getTransport() const;
    void choose (AlxParameter& parameter, int valueIndex);
    void startTransport();
    void processBlock (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi);
    void collectDeliveries (juce::int64 blockStart, const juce::MidiBuffer& hostMidi, AlxRenderListener& listener);

    AlxRenderDeviceService devices;
    AlxPlimsarFilter processor;
    std::optional<AlxRenderInput> input;

    struct Delivery
    {
        juce::int64 position;
        juce::MidiMessage message;
    };

    std::vector<Delivery> deliveries;
    // The notes the render leaves sounding, so it can end them.
    AlxSoundingNotes sounding;

    JUCE_DECLARE_NON_COPYABLE (AlxRenderer)
};
