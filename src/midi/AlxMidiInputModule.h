#pragma once

#include "midi/AlxFollowedChoices.h"
#include "framework/AlxBlockCache.h"
#include "framework/AlxModule.h"
#include "midi/AlxMidiSequencer.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <atomic>

class AlxMidiInputDeviceManager;
class AlxMidiInputGroupModule;
class AlxTransportModule;

// Where the notes that drive everything come from, once per block: nowhere, a built-in demo
// sequence, the MIDI the host delivers with the block, or the current MIDI input device. It can
// keep one MIDI channel only, follows MIDI clock, start, continue, stop and song position into the
// transport, and publishes the block's MIDI twice: as held keys (pin 1) and as a MIDI copy (pin 2).
// The trigger reads both, and the velocity of the last note-on.
//
// Threads: the block work runs on the audio thread. Device messages arrive on the drivers' threads
// in the collector, which hands them over under its own lock. Parameter changes are handled on the
// message thread under the processor's callback lock, so a block never sees the outputs half
// cleared.
class AlxMidiInputModule : public AlxModule,
                           public juce::MidiKeyboardState::Listener
{
public:
    static constexpr int moduleId = 300100;

    explicit AlxMidiInputModule (AlxModuleContainer* container);
    ~AlxMidiInputModule() override;

    void initialise() override;
    void prepareToPlay (double sampleRate, int blockSize) override;
    void processBlockBody (int numSamples) override;
    bool handleModuleMessage (void* source, int code, std::uint32_t timeMs) override;
    void applyPendingReset() override;
    // Listens to the held keys for note-ons while audio runs.
    void activate() override;
    void deactivate() override;

    virtual AlxParameter* getDeviceParameter() const { return deviceParameter; }
    virtual AlxParameter* getTrackParameter() const { return trackParameter; }
    virtual AlxParameter* getChannelParameter() const { return channelParameter; }
    virtual AlxPin<AlxMidiCable>* getMidiInputPin() const { return getPin<AlxPin<AlxMidiCable>> (0); }
    virtual AlxPin<AlxMidiKeyboardCable>* getKeyboardPin() const { return getPin<AlxPin<AlxMidiKeyboardCable>> (1); }
    virtual AlxPin<AlxMidiCable>* getMidiOutputPin() const { return getPin<AlxPin<AlxMidiCable>> (2); }
    // The last note-on seen on the held keys: velocity 0..1 (0 until one arrives), number, channel.
    virtual float getLastNoteOnVelocity() const { return lastVelocity.load(); }
    virtual int getLastNoteOnNumber() const { return lastNote.load(); }
    virtual int getLastNoteOnChannel() const { return lastChannel.load(); }
    virtual bool isAnyNoteHeld() const { return anyNoteHeld.load(); }
    virtual AlxMidiSequencer& getSequencer() { return sequencer; }
    // Follows the song position, start, continue, stop and clock messages of the block (up to and
    // including position numSamples) into the transport; nothing while the transport is stopped.
    virtual void followSystemMessages (const juce::MidiBuffer& buffer, int numSamples);
    // Moves the transport's clock to a song position in sixteenth notes, reached offset samples
    // into the block; a negative position keeps the last one. The next clock marks it.
    virtual void setSongPosition (int sixteenths, int offset = 0);
    // One MIDI clock (24 per quarter note) offset samples into the block. It marks the song
    // position of the clocks before it (the first after a start marks the beginning); every
    // sixth re-aligns the transport's clock so that this clock's sample lies at that position.
    virtual void clockTick (int offset = 0);
    virtual void setClockCount (int count) { clockCount = count; }
    // Rewrites the buffer with the block's MIDI from the selected source.
    virtual void fillBlock (juce::MidiBuffer& buffer, int numSamples);
    virtual AlxTransportModule* getTransport() const { return transport; }
    virtual AlxMidiInputGroupModule* getMidiInputGroup() const { return group; }

    int getClockCount() const { return clockCount; }
    int getSongPosition() const { return songPosition; }

    // juce::MidiKeyboardState::Listener; called while the held keys take in a block.
    void handleNoteOn (juce::MidiKeyboardState* source, int midiChannel, int midiNoteNumber, float velocity) override;
    void handleNoteOff (juce::MidiKeyboardState* source, int midiChannel, int midiNoteNumber, float velocity) override;

private:
    AlxFollowedChoices followed;
    // Appends the events of from before numSamples that are system messages or belong to the
    // channel (1 ... 16).
    static void filterChannel (const juce::MidiBuffer& from, int channel, int numSamples, juce::MidiBuffer& to);
    // The settings fillBlock follows: the source, the device's name, the channel (0 all) and the
    // built-in track.
    struct Selection
    {
        int source = 0;
        juce::String deviceName;
        int channel = 0;
        int track = 0;
    };

    Selection readSelection() const;
    void playTracks (juce::MidiBuffer& buffer, int numSamples, int track);
    void takeDeviceMessages (juce::MidiBuffer& buffer, const juce::String& deviceName, int channel, int numSamples);
    double blockPosition() const;
    // Sets the transport's clock so that the sample offset samples into the block lies at
    // samplePosition; a re-alignment by the clock continues the song, a move jumps.
    void moveClockTo (double samplePosition, int offset, bool realign);
    void forgetNotes();

    AlxMidiInputGroupModule* group = nullptr;
    AlxMidiInputDeviceManager* deviceManager = nullptr;
    AlxTransportModule* transport = nullptr;
    AlxParameter* deviceParameter = nullptr;
    AlxParameter* channelParameter = nullptr;
    AlxParameter* trackParameter = nullptr;
    juce::MidiKeyboardState* listenedKeys = nullptr;
    juce::MidiMessageCollector collector;
    AlxMidiSequencer sequencer;
    // The block before the channel filter; sized in prepareToPlay so blocks do not allocate.
    juce::MidiBuffer unfiltered;
    AlxBlockCache<Selection> selection;
    std::atomic<float> lastVelocity { 0.0f };
    std::atomic<int> lastNote { 0 };
    std::atomic<int> lastChannel { 0 };
    std::atomic<bool> anyNoteHeld { false };
    int songPosition = 0;
    int clockCount = 0;

    JUCE_DECLARE_NON_COPYABLE (AlxMidiInputModule)
};
