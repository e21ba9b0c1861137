#pragma once

#include "midi/AlxFollowedChoices.h"
#include "framework/AlxModule.h"

class AlxMidiOutputDeviceManager;
class AlxMidiOutputGroupModule;
class AlxTransportModule;

// Where the generated notes go, once per block: nowhere, into the host's MIDI buffer (pin 1), to
// the built-in synth (pin 2) or to one MIDI output device. Every channel message goes out on the
// chosen channel; events the trigger scheduled beyond the block wait for the block they fall in.
// When the destination or the channel changes, the old one gets All Notes Off first, so no note
// hangs there.
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

private:
    AlxFollowedChoices followed;
    void deliver (const juce::MidiBuffer& events, int destination, const juce::String& name, int channel,
                  juce::MidiBuffer& hostOut, juce::MidiBuffer& synthOut, int numSamples);

    AlxMidiOutputGroupModule* group = nullptr;
    AlxMidiOutputDeviceManager* deviceManager = nullptr;
    AlxTransportModule* transport = nullptr;
    AlxParameter* deviceParameter = nullptr;
    AlxParameter* channelParameter = nullptr;

    // What the last block was sent to; -1 until the first block after prepareToPlay.
    int lastDestination = -1;
    int lastChannel = -1;
    juce::String lastName;

    // Events that belong to later blocks, positioned from the start of the next block. With the
    // other buffers it is sized in prepareToPlay, so blocks do not allocate.
    juce::MidiBuffer carry;
    juce::MidiBuffer blockEvents;
    juce::MidiBuffer mapped;
    juce::MidiBuffer scratch;

    JUCE_DECLARE_NON_COPYABLE (AlxMidiOutputModule)
};
