#include "modules/AlxTransportModule.h"

#include "framework/AlxMessageCode.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <cmath>

namespace
{
    constexpr int startKind = AlxMessageCode::kindOf (AlxTransportModule::startRequest);
    constexpr int playKind = AlxMessageCode::kindOf (AlxTransportModule::playRequest);
    constexpr int rewindKind = AlxMessageCode::kindOf (AlxTransportModule::rewindRequest);
    constexpr int stopKind = AlxMessageCode::kindOf (AlxTransportModule::stopRequest);

    // Whole bars or beats in x, rounded down; positions no int can count (or no number at all)
    // are held at the ends of the range instead of overflowing.
    int wholeUnits (double x)
    {
        if (std::isnan (x))
            return 0;

        return (int) juce::jlimit (-2147483648.0, 2147483647.0, std::floor (x));
    }

    // Hosts report a tempo of zero or below, or a zero signature, when they have none; such a
    // position would make beat lengths and samples per quarter note meaningless.
    void repairHostPosition (AlxTransportPosition& info)
    {
        if (! (info.bpm > 0.0) || ! std::isfinite (info.bpm))
            info.bpm = 120.0;

        if (info.timeSigNumerator <= 0)
            info.timeSigNumerator = 4;

        if (info.timeSigDenominator <= 0)
            info.timeSigDenominator = 4;
    }

    // Shows a host's tempo or signature in the parameter. A value the parameter cannot hold
    // (a host tempo of 1500) is left out: it would be refused, and the refusal would come back
    // as a change of the parameter.
    void mirror (AlxParameter& parameter, double value)
    {
        const juce::ScopedLock sl (parameter.getLock());

        if (parameter.getDomain()->acceptsRealValue ((float) value))
            parameter.setRealValue ((float) value, AlxMessageCode::fromPlayHead, false, true);
    }
}

AlxTransportModule::AlxTransportModule (AlxModuleContainer* container_) : AlxModule (container_, moduleId) {}

AlxTransportModule::~AlxTransportModule()
{
    stopTimer();
    destroyContents();
}

void AlxTransportModule::initialise()
{
    AlxModule::initialise();
    registerInModuleMap();
    domainSet = std::make_unique<AlxTransportDomainSet>();

    tempoParameter = addGlobalParameter (0, takeInternalIndex(), domainSet->getBpmDomain());
    numeratorParameter = addGlobalParameter (1, takeInternalIndex(), domainSet->getNumeratorDomain());
    denominatorParameter = addGlobalParameter (2, takeInternalIndex(), domainSet->getDenominatorDomain());
    stateParameter = addStatusParameter (1, domainSet->getStateDomain());
    rebuildIdTables();
    setState (domainSet->getStateDomain()->getArmed());

    // The tempo of 90 stands until the tempo parameter's value arrives (every state load
    // resends it) or a host position is applied.
    position = {};
    position.bpm = 90.0;
    position.timeSigNumerator = 4;
    position.timeSigDenominator = 4;
    publishSignature();
    bar = beat = -1;
    hostDriven = false;
    positionApplied = false;
    sampleCounter = 0.0;

    setCurrentProgram (0);
    registerParameters();
    addSinkRecursive (this, false);
    startTimer (tickIntervalMs);
}

void AlxTransportModule::prepareToPlay (double newSampleRate, int blockSize)
{
    AlxModule::prepareToPlay (newSampleRate, blockSize);
    sampleCounter = 0.0;
    sampleRate = newSampleRate;
    process (0);
}

void AlxTransportModule::processBlockBody (int)
{
    AlxTransportPosition info;
    readPosition (info);
    applyPosition (info);
}

bool AlxTransportModule::readHostPosition (AlxTransportPosition& info) const
{
    auto* processor = getContainer()->getFilter();
    auto* playHead = processor != nullptr ? processor->getPlayHead() : nullptr;

    if (playHead == nullptr)
        return false;

    const auto hostPosition = playHead->getPosition();

    if (! hostPosition.hasValue())
        return false;

    info = AlxTransportPosition::fromHost (*hostPosition);
    return true;
}

void AlxTransportModule::readPosition (AlxTransportPosition& info)
{
    if (readHostPosition (info))
    {
        hostDriven = true;
        repairHostPosition (info);

        bool changed = false, running = false;
        checkHostRunning (info, changed, running);

        // While the host runs, or just started or stopped, its position stands. A stopped host
        // leaves the clock to the transport when the transport itself plays.
        if (changed || running || ! isPlaying())
            return;
    }
    else
    {
        hostDriven = false;
        info = position;
        info.isPlaying = isPlaying();
    }

    info.ppqPosition = sampleRate > 0.0 ? sampleCounter / sampleRate * (info.bpm / 60.0) : 0.0;
}

void AlxTransportModule::checkHostRunning (const AlxTransportPosition& info, bool& changed, bool& running)
{
    const bool wasRunning = position.isPlaying || position.isRecording;
    running = info.isPlaying || info.isRecording;
    changed = running != wasRunning;

    if (! changed || isStopped())
        return;

    // The state itself changes when the posted request is delivered on the message thread; the
    // blocks before that still see Armed and produce no notes.
    if (running)
    {
        if (isArmed())
        {
            sampleCounter = 0.0;
            postStart();
        }
    }
    else if (isPlaying())
    {
        postStop (false);
    }
}

void AlxTransportModule::applyPosition (const AlxTransportPosition& info)
{
    if (positionApplied && info == position)
        return;

    positionApplied = true;
    const auto previous = position;
    const int previousBar = bar, previousBeat = beat;
    position = info;
    publishSignature();

    const double beatLength = 4.0 / info.timeSigDenominator;
    const double barLength = info.timeSigNumerator * beatLength;
    bar = wholeUnits (info.ppqPosition / barLength);
    beat = wholeUnits ((info.ppqPosition - bar * barLength) / beatLength);

    if (info.bpm != previous.bpm)
        mirror (*tempoParameter, info.bpm);

    if (info.timeSigNumerator != previous.timeSigNumerator)
        mirror (*numeratorParameter, info.timeSigNumerator);

    if (info.timeSigDenominator != previous.timeSigDenominator)
        mirror (*denominatorParameter, info.timeSigDenominator);

    if (bar != previousBar)
        stateParameter->post (barChanged);

    if (beat != previousBeat)
        stateParameter->post (beatChanged);
}

void AlxTransportModule::getPositionSnapshot (AlxTransportPosition& info, int& barOut, int& beatOut,
                                              bool& hostDrivenOut) const
{
    const juce::ScopedLock sl (getCallbackLock());
    info = position;
    barOut = bar;
    beatOut = beat;
    hostDrivenOut = hostDriven;
}

AlxValue* AlxTransportModule::getState() const
{
    return stateParameter->getValue();
}

bool AlxTransportModule::isPlaying() const
{
    return getState() == domainSet->getStateDomain()->getPlaying();
}

bool AlxTransportModule::isArmed() const
{
    return getState() == domainSet->getStateDomain()->getArmed();
}

bool AlxTransportModule::isStopped() const
{
    return getState() == domainSet->getStateDomain()->getStopped();
}

void AlxTransportModule::setState (AlxValue* state)
{
    stateParameter->setValue (state, AlxMessageCode::internal, false, true);
}

void AlxTransportModule::postStart()
{
    stateParameter->post (startRequest);
}

void AlxTransportModule::postPlay()
{
    stateParameter->post (playRequest);
}

void AlxTransportModule::postRewind()
{
    stateParameter->post (rewindRequest);
}

void AlxTransportModule::postStop (bool twice)
{
    stateParameter->post (stopRequest);

    if (twice)
        stateParameter->post (stopRequest);
}

namespace
{
    void raiseResetPending (AlxModule& module)
    {
        module.setResetPending (true);

        for (auto& child : module.getChildren())
            raiseResetPending (*child);
    }
}

void AlxTransportModule::postReset()
{
    const juce::ScopedLock sl (getCallbackLock());

    if (auto* root = getContainer()->getRootModule())
        raiseResetPending (*root);
    else
        raiseResetPending (*this);
}

bool AlxTransportModule::handleModuleMessage (void* source, int code, std::uint32_t timeMs)
{
    const int kind = AlxMessageCode::kindOf (code);

    if (source == stateParameter && kind >= startKind && kind <= stopKind)
    {
        handleStateRequest (kind);
        return true;
    }

    if (kind == AlxMessageCode::valueChanged)
    {
        for (auto* parameter : { tempoParameter, numeratorParameter, denominatorParameter })
        {
            if (source == parameter)
            {
                followParameter (*parameter);
                return true;
            }
        }
    }

    return AlxModule::handleModuleMessage (source, code, timeMs);
}

void AlxTransportModule::handleStateRequest (int kind)
{
    auto* states = domainSet->getStateDomain();

    // The counter and the state change together, so the next block starts playing from 0.
    const juce::ScopedLock sl (getCallbackLock());

    switch (kind)
    {
        case startKind:
            if (isStopped())
                setState (states->getArmed());
            else if (isArmed())
                setState (states->getPlaying());
            break;

        case playKind:
            postReset();

            if (isStopped())
            {
                setState (states->getArmed());
            }
            else
            {
                sampleCounter = 0.0;
                setState (states->getPlaying());
            }
            break;

        case rewindKind:
            postReset();

            if (isPlaying())
                sampleCounter = 0.0;
            break;

        case stopKind:
            postReset();

            if (isArmed())
                setState (states->getStopped());
            else if (isPlaying())
                setState (states->getArmed());
            break;

        default:
            break;
    }
}

void AlxTransportModule::followParameter (AlxParameter& parameter)
{
    const juce::ScopedLock callbackLock (getCallbackLock());
    const juce::ScopedLock parameterLock (parameter.getLock());
    const float value = parameter.getRealValue();

    // A refused entry, a resent value or the host's own tempo coming back changes nothing, so
    // the position does not restart for it.
    if (&parameter == tempoParameter)
    {
        if ((double) value == position.bpm)
            return;

        setTempo (value);
    }
    else if (&parameter == numeratorParameter)
    {
        if ((int) value == getNumerator())
            return;

        setNumerator ((int) value);
    }
    else
    {
        if ((int) value == getDenominator())
            return;

        setDenominator ((int) value);
    }

    sampleCounter = 0.0;
    stateParameter->post (beatChanged);
}

void AlxTransportModule::timerCallback()
{
    stateParameter->post (tick);
}
