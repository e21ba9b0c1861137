#pragma once

#include "framework/AlxBlockCache.h"
#include "modules/AlxGrooveModule.h"
#include "modules/AlxModulatedModule.h"
#include "modules/AlxTriggerDomainSet.h"

#include <atomic>
#include <vector>

class AlxArpModule;
class AlxMidiInputGroupModule;

// The heart of note generation. While the transport plays, it fires the held chord on a step
// grid counted in grooved time from the song start, each firing with a gate length and a
// velocity of its own; step, velocity and gate may follow an LFO. For every firing the arp picks
// and doubles the notes, and note-ons and note-offs go into the MIDI output (note-offs may lie
// beyond the block; the output stage keeps them).
//
// Every grid point fires exactly once, in the block that holds the sample where grooved time
// reaches it, whatever the block sizes: blocks on the transport's own clock take their ends from
// the same sample count as the next block's start, grid slices are half-open, and note-on and
// note-off fall on the samples where grooved time reaches the firing time and its end.
//
// Threads: processing runs on the audio thread; findTriggerTimes and getLastTriggerTime may
// also be called from the message thread (status views).
class AlxTriggerModule : public AlxModulatedModule
{
public:
    static constexpr int moduleId = 4000;

    enum ParameterId
    {
        stepId = 0,
        stepSourceId,
        velocityId,
        velocitySourceId,
        gateId,
        gateSourceId
    };

    explicit AlxTriggerModule (AlxModuleContainer* container);
    ~AlxTriggerModule() override;

    void initialise() override;
    void prepareToPlay (double sampleRate, int blockSize) override;
    void processBlockBody (int numSamples) override;

    virtual AlxTriggerDomainSet* getDomainSet() const { return domainSet.get(); }
    virtual AlxParameter* getGateParameter() const { return programParameter (gateId); }
    virtual AlxParameter* getVelocityParameter() const { return programParameter (velocityId); }
    virtual AlxParameter* getStepParameter() const { return programParameter (stepId); }
    virtual AlxValue* stepAt (double t) const { return modulatedValueAt (stepId, t); }
    virtual AlxValue* velocityAt (double t) const { return modulatedValueAt (velocityId, t); }
    virtual AlxValue* gateAt (double t) const { return modulatedValueAt (gateId, t); }
    virtual AlxPin<AlxMidiKeyboardCable>* getKeyboardInputPin() const { return getPin<AlxPin<AlxMidiKeyboardCable>> (0); }
    virtual AlxPin<AlxMidiCable>* getMidiInputPin() const { return getPin<AlxPin<AlxMidiCable>> (1); }
    virtual AlxPin<AlxMidiCable>* getMidiOutputPin() const { return getPin<AlxPin<AlxMidiCable>> (2); }
    // The firings in grooved time [from, to), ascending, with the step each fires on. The grid
    // is scanned in slices of 1/128 quarter note counted from time 0: a slice fires at the first
    // multiple of the step valid at its start that lies in it, else at the first multiple of
    // the step valid at its end. A step of "Off" never fires.
    virtual void findTriggerTimes (double from, double to, std::vector<double>& times, std::vector<double>& intervals) const;
    // Grooved time of the last firing.
    virtual double getLastTriggerTime() const { return lastTriggerTime.load(); }
    // Fires the grid points of one block: held notes, the input's last note-on velocity (0 ... 1;
    // a quiet note halves the velocity), the output, the song position of the block's first
    // sample in samples and the block length. When blockStartSample reproduces the transport's
    // song position exactly, samples count on the transport's own clock.
    virtual void triggerBlock (const juce::MidiKeyboardState& held, float inputVelocity, juce::MidiBuffer& out,
                               double blockStartSample, int numSamples);
    // A note-on at noteSample and a note-off noteLength samples later for every sounding note
    // (channel 1); nothing for notes of no length.
    virtual void emitNotes (const juce::MidiKeyboardState& notes, float velocity, juce::MidiBuffer& out,
                            double noteSample, int noteLength) const;
    virtual AlxGrooveModule* getGrooveModule() const;
    virtual AlxArpModule* getArpModule() const;
    virtual AlxMidiInputGroupModule* getMidiInputGroup() const;

private:
    // The velocity (0 ... 1) of the last note-on the MIDI input module (300100) has seen; 0 until
    // a note-on arrives.
    float inputNoteVelocity() const;
    // The song position of the block's first sample, in samples.
    double blockStartSampleOf (const AlxTransportModule& transport) const;
    // The step, velocity and gate as read over one scan of the grid.
    struct Readings
    {
        AlxLFOGroupModule::Reading step, velocity, gate;
    };

    Readings currentReadings() const;

    // The readings of the step, velocity and gate and the groove's settings as the blocks use
    // them, resolved again when a setting may have changed or the time signature did; in
    // between, each block keeps them and takes none of their locks, and only the LFOs' levels
    // are looked at afresh.
    struct BlockSettings
    {
        Readings readings;
        AlxGrooveModule::Settings groove {};
        int numerator = 0, denominator = 0;
    };

    BlockSettings& blockSettings();
    template <typename Fire>
    void scanGrid (double from, double to, const Readings& readings, Fire&& fire) const;
    // The firing of the slice that starts at sliceStart, if it has one.
    bool sliceFiring (double sliceStart, const AlxLFOGroupModule::Reading& step, double& time, double& interval) const;
    // Asks the MIDI output stage to end the notes that sound, ahead of this block's notes.
    void endSoundingNotes() const;
    // Forgets the block before, so that the next one starts a new stretch of song.
    void breakContinuity() { continuing = false; }

    std::unique_ptr<AlxTriggerDomainSet> domainSet;
    AlxModuleRef<AlxGrooveModule> grooveModule;
    AlxModuleRef<AlxArpModule> arpModule;

    double lastNoteSample = 0.0;
    int lastNoteLength = 0;
    std::atomic<double> lastTriggerTime { 0.0 };

    // Song position of the current block's first sample, in samples.
    double currentBlockStart = 0.0;
    // Where the block before ended, in song and grooved time, while blocks follow each other.
    bool continuing = false;
    double lastBlockEnd = 0.0;
    double lastScanEnd = 0.0;

    AlxBlockCache<BlockSettings> settingsOfBlocks;

    // The chord of one firing after the arp mask, and after the doubling.
    juce::MidiKeyboardState maskedNotes, firedNotes;

    JUCE_DECLARE_NON_COPYABLE (AlxTriggerModule)
};
