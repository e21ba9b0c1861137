#pragma once

#include "framework/AlxModule.h"
#include "modules/AlxTransportDomainSet.h"
#include "modules/AlxTransportPosition.h"

#include <juce_events/juce_events.h>

#include <atomic>

// The musical clock of the whole system: tempo, time signature, the transport state (Stopped,
// Armed, Playing) and the song position in quarter notes, with the bar and beat derived from
// it. Inside a host that supplies a play head it follows the host; otherwise it runs its own
// clock from a sample counter that the root advances after every block.
//
// Threads: readPosition, applyPosition and checkHostRunning run on the audio thread inside block
// processing; the state machine and the tempo/signature parameters are handled on the message
// thread, under the processor's callback lock, so a block never sees half an update. Other
// modules read the clock (getPosition, getSampleRate, getSampleCounter, ...) on the audio
// thread; the editor takes a copy with getPositionSnapshot.
class AlxTransportModule : public AlxModule,
                           public juce::Timer
{
public:
    static constexpr int moduleId = 2000;

    // Events posted on the state parameter. The requests (kinds 23 to 26) drive the state
    // machine when they are delivered; the others tell the status views what happened.
    enum Code
    {
        startRequest = 0x1706,
        playRequest = 0x1806,
        rewindRequest = 0x1906,
        stopRequest = 0x1A06,
        barChanged = 0x1E01,
        beatChanged = 0x1F01,
        notesTriggered = 0x2101,
        tick = 0x2507
    };


    static constexpr int tickIntervalMs = 500;

    explicit AlxTransportModule (AlxModuleContainer* container);
    ~AlxTransportModule() override;

    void initialise() override;
    void prepareToPlay (double newSampleRate, int blockSize) override;
    bool handleModuleMessage (void* source, int code, std::uint32_t timeMs) override;
    void processBlockBody (int numSamples) override;

    virtual AlxTransportDomainSet* getDomainSet() const { return domainSet.get(); }
    virtual AlxParameter* getTempoParameter() const { return tempoParameter; }
    virtual AlxParameter* getNumeratorParameter() const { return numeratorParameter; }
    virtual AlxParameter* getDenominatorParameter() const { return denominatorParameter; }
    // The transport state; also the parameter on which transport and trigger events are posted.
    virtual AlxParameter* getStateParameter() const { return stateParameter; }
    // The position for the coming block: the host's, or the own clock's.
    virtual void readPosition (AlxTransportPosition& info);
    // Stores the position, derives bar and beat, mirrors a host's tempo and signature into the
    // parameters and announces bar and beat changes.
    virtual void applyPosition (const AlxTransportPosition& info);
    // A consistent copy for the editor, taken under the callback lock.
    virtual void getPositionSnapshot (AlxTransportPosition& info, int& barOut, int& beatOut, bool& hostDrivenOut) const;
    // Reacts to the host starting (Armed goes to Playing from position 0) or stopping (Playing
    // goes back to Armed).
    virtual void checkHostRunning (const AlxTransportPosition& info, bool& changed, bool& running);
    virtual bool isPlaying() const;
    virtual bool isArmed() const;
    virtual bool isStopped() const;
    virtual void setTempo (float bpm) { position.bpm = bpm; }
    virtual void setNumerator (int numerator) { position.timeSigNumerator = numerator; publishSignature(); }
    // The time signature may be read from any thread: status views read modulated settings on
    // the message thread while blocks change the position.
    virtual int getNumerator() const { return signatureNumerator.load (std::memory_order_relaxed); }
    virtual void setDenominator (int denominator) { position.timeSigDenominator = denominator; publishSignature(); }
    virtual int getDenominator() const { return signatureDenominator.load (std::memory_order_relaxed); }
    virtual void postStart();
    virtual void postPlay();
    virtual void postRewind();
    // Playing goes to Armed; with twice, on to Stopped.
    virtual void postStop (bool twice);
    // Every module of the tree drops its running state at the end of its next processing pass.
    // The modules' reset flags are raised at once, under the callback lock, together with the
    // state change that asks for it: a reset delivered later as a message would let a block play
    // the first notes of a start and then cut them off, and drop the chord just taken up.
    virtual void postReset();

    // The clock as the current block sees it (audio thread, under the callback lock).
    const AlxTransportPosition& getPosition() const noexcept { return position; }
    int getBar() const noexcept { return bar; }
    int getBeat() const noexcept { return beat; }
    bool isHostDriven() const noexcept { return hostDriven; }
    double getSampleRate() const noexcept { return sampleRate; }
    double getSamplesPerQuarter() const noexcept { return sampleRate / (position.bpm / 60.0); }
    // Samples since the origin of the own clock, a whole number: exact far beyond any song's
    // length. The root adds each block's length after the block; the MIDI input module sets it
    // when it follows song position and clock messages.
    double getSampleCounter() const noexcept { return sampleCounter; }
    void setSampleCounter (double samples) noexcept { sampleCounter = samples; }
    // Moves the clock to where an external MIDI clock says the block starts. The song goes on
    // from there: for the current block the move is a correction, not a jump of the position.
    void realignSampleCounter (double samples) noexcept
    {
        sampleCounter = samples;
        realigned = true;
    }
    // True while the block in which the clock was re-aligned runs.
    bool wasRealigned() const noexcept { return realigned; }
    void advanceSampleCounter (int numSamples) noexcept
    {
        sampleCounter += numSamples;
        realigned = false;
    }

private:
    void timerCallback() override;
    bool readHostPosition (AlxTransportPosition& info) const;
    AlxValue* getState() const;
    void setState (AlxValue* state);
    void handleStateRequest (int kind);
    // A tempo or signature parameter changed: the own clock restarts at 0 with the new value.
    void followParameter (AlxParameter& parameter);
    // Copies the position's time signature to where other threads read it.
    void publishSignature() noexcept
    {
        signatureNumerator.store (position.timeSigNumerator, std::memory_order_relaxed);
        signatureDenominator.store (position.timeSigDenominator, std::memory_order_relaxed);
    }

    std::unique_ptr<AlxTransportDomainSet> domainSet;
    AlxParameter* tempoParameter = nullptr;
    AlxParameter* numeratorParameter = nullptr;
    AlxParameter* denominatorParameter = nullptr;
    AlxParameter* stateParameter = nullptr;
    AlxTransportPosition position;
    std::atomic<int> signatureNumerator { 4 };
    std::atomic<int> signatureDenominator { 4 };
    int bar = -1;
    int beat = -1;
    bool hostDriven = false;
    // The first position is applied even when it equals the initial record, so bar and beat
    // are known from the start.
    bool positionApplied = false;
    double sampleCounter = 0.0;
    bool realigned = false;
    double sampleRate = 0.0;

    JUCE_DECLARE_NON_COPYABLE (AlxTransportModule)
};
