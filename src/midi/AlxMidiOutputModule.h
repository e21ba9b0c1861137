#pragma once

#include "midi/AlxFollowedChoices.h"
#include "framework/AlxBlockCache.h"
#include "framework/AlxModule.h"

#include <array>

class AlxMidiOutputDeviceManager;
class AlxMidiOutputGroupModule;
class AlxTransportModule;

// Where the generated notes go, once per block: nowhere, into the host's MIDI buffer (pin 1), to
// the built-in synth (pin 2) or to one MIDI output device. Every channel message goes out on the
// chosen channel; events the trigger scheduled beyond the block wait for the block they fall in.
// Every note-on gets its note-off and no key is switched on twice: a note fired again while it
// sounds is ended first. When the destination or the channel changes, or a reset asks for it (a
// start, stop or jump of the song position), the sounding notes get their note-offs and All Notes
// Off follows, so no note hangs there.
//
// Threads: the block work, device sends included, runs on the audio thread. Parameter changes are
// handled on the message thread under the processor's callback lock.
class AlxMidiOutputModule : public AlxModule
{
public:
    static constexpr int moduleId = 310100;

    explicit AlxMidiOutputModule (AlxModuleContainer* container);

    void initialise() override;
    void prepareToPlay (double sampleRate, int blockSize) override;
    void processBlockBody (int numSamples) override;
    bool handleModuleMessage (void* source, int code, std::uint32_t timeMs) override;

    virtual AlxParameter* getDeviceParameter() const { return deviceParameter; }
    virtual AlxParameter* getChannelParameter() const { return channelParameter; }
    virtual AlxTransportModule* getTransport() const { return transport; }
    virtual AlxMidiOutputGroupModule* getMidiOutputGroup() const { return group; }

    AlxPin<AlxMidiCable>* getMidiInputPin() const { return getPin<AlxPin<AlxMidiCable>> (0); }
    AlxPin<AlxMidiCable>* getHostOutputPin() const { return getPin<AlxPin<AlxMidiCable>> (1); }
    AlxPin<AlxMidiCable>* getSynthOutputPin() const { return getPin<AlxPin<AlxMidiCable>> (2); }

    // Empties both outputs, then delivers the block's events (positions below numSamples) to the
    // current destination on the current channel. After a change of destination or channel the
    // block's events are replaced by All Notes Off, which go to the old destination on the old
    // channel. The first block after prepareToPlay has nothing to compare with and sends none.
    void route (juce::MidiBuffer& events, juce::MidiBuffer& hostOut, juce::MidiBuffer& synthOut, int numSamples);

    // Sends the events at positions up to numSamples, in order and at once, to the enabled output
    // of this name; nothing when no enabled output has it.
    void sendToDevice (const juce::String& name, const juce::MidiBuffer& events, int numSamples);

    // Keeps every key on or off, never on twice: a note-on for a key that sounds is preceded by
    // its note-off, the note-off scheduled for the note it replaced is dropped, and so is a
    // note-off for a key that does not sound. Takes the events before numSamples.
    void pairNotes (const juce::MidiBuffer& events, int numSamples, juce::MidiBuffer& out);

    // A note-off for every sounding note, then All Notes Off on every channel; for when the
    // carried events are dropped (a reset, a change of destination).
    void endSoundingNotes (juce::MidiBuffer& out);

private:
    AlxFollowedChoices followed;
    // The settings route follows: the destination, its name and the channel's value index.
    struct Selection
    {
        int destination = 0;
        juce::String name;
        int channel = 0;
    };

    Selection readSelection() const;
    void deliver (const juce::MidiBuffer& events, int destination, const juce::String& name, int channel,
                  juce::MidiBuffer& hostOut, juce::MidiBuffer& synthOut, int numSamples);

    AlxMidiOutputGroupModule* group = nullptr;
    AlxMidiOutputDeviceManager* deviceManager = nullptr;
    AlxTransportModule* transport = nullptr;
    AlxParameter* deviceParameter = nullptr;
    AlxParameter* channelParameter = nullptr;
    AlxBlockCache<Selection> selection;

    // What the last block was sent to; -1 until the first block after prepareToPlay.
    int lastDestination = -1;
    int lastChannel = -1;
    juce::String lastName;

    // Events that belong to later blocks, positioned from the start of the next block. With the
    // other buffers it is sized in prepareToPlay, so blocks do not allocate.
    juce::MidiBuffer carry;
    juce::MidiBuffer blockEvents;
    juce::MidiBuffer mapped;
    juce::MidiBuffer paired;
    juce::MidiBuffer scratch;

    // Which keys sound at the destination (every event goes out on one channel), and how many
    // note-offs of each key to drop because their notes were ended early.
    std::array<bool, 128> sounding {};
    std::array<int, 128> supersededNoteOffs {};

    JUCE_DECLARE_NON_COPYABLE (AlxMidiOutputModule)
};
