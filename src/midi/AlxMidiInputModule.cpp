#include "midi/AlxMidiInputModule.h"

#include "midi/AlxMidiInputGroupModule.h"
#include "modules/AlxTransportModule.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <cmath>

namespace
{
    // Room for some hundreds of events per block, so the buffers the audio thread fills keep
    // their memory from the start.
    constexpr size_t reservedBytes = 8192;

    constexpr juce::uint8 songPositionPointer = 0xF2, midiStart = 0xFA, midiContinue = 0xFB, midiStop = 0xFC, midiClock = 0xF8;
}

AlxMidiInputModule::AlxMidiInputModule (AlxModuleContainer* container_) : AlxModule (container_, moduleId) {}

AlxMidiInputModule::~AlxMidiInputModule()
{
    deactivate();

    if (deviceManager != nullptr)
        deviceManager->removeCallback (&collector);

    destroyContents();
}

void AlxMidiInputModule::initialise()
{
    AlxModule::initialise();
    addPin<AlxPin<AlxMidiCable>> (AlxPinBase::inputMark);
    addPin<AlxPin<AlxMidiKeyboardCable>> (AlxPinBase::outputMark);
    addPin<AlxPin<AlxMidiCable>> (AlxPinBase::outputMark);
    registerInModuleMap();

    group = findModuleOf<AlxMidiInputGroupModule>();
    transport = findModuleOf<AlxTransportModule>();
    jassert (group != nullptr);

    auto* domains = group->getDomainSet();
    deviceParameter = addGlobalParameter (0, takeInternalIndex(), domains->getDeviceDomain());
    channelParameter = addGlobalParameter (1, takeInternalIndex(), domains->getChannelDomain());
    trackParameter = addGlobalParameter (2, takeInternalIndex(), domains->getTrackDomain());
    rebuildIdTables();
    followed.follow ({ deviceParameter, channelParameter, trackParameter });
    setCurrentProgram (0);
    registerParameters();

    deviceManager = group->getDeviceManager();
    deviceManager->addCallback (&collector);
    songPosition = 0;
    addSinkRecursive (this, false);
}

void AlxMidiInputModule::prepareToPlay (double sampleRate, int blockSize)
{
    clockCount = 0;

    if (sampleRate > 0.0)
        collector.reset (sampleRate);

    collector.ensureStorageAllocated (reservedBytes);
    unfiltered.ensureSize (reservedBytes);

    if (auto* copy = getMidiOutputPin()->getObject())
        copy->ensureSize (reservedBytes);

    forgetNotes();
    clearOutputPins();
    AlxModule::prepareToPlay (sampleRate, blockSize);
}

void AlxMidiInputModule::forgetNotes()
{
    lastVelocity = 0.0f;
    lastNote = 0;
    lastChannel = 0;
    anyNoteHeld = false;
}

void AlxMidiInputModule::processBlockBody (int numSamples)
{
    auto* buffer = getMidiInputPin()->getObject();
    auto* keys = getKeyboardPin()->getObject();
    auto* copy = getMidiOutputPin()->getObject();

    if (buffer == nullptr || keys == nullptr || copy == nullptr)
        return;

    // A reset drops what was held before this block. The notes of this block are new and stay:
    // the chord that begins the block after a start of the transport must reach the trigger.
    applyPendingReset();

    fillBlock (*buffer, numSamples);
    followSystemMessages (*buffer, numSamples);

    copy->clear();
    copy->addEvents (*buffer, 0, numSamples, 0);

    keys->processNextMidiBuffer (*buffer, 0, numSamples, false);

    bool held = false;

    for (int note = 1; note < 128 && ! held; ++note)
        held = keys->isNoteOnForChannels (0xffff, note);

    anyNoteHeld = held;
}

AlxMidiInputModule::Selection AlxMidiInputModule::readSelection() const
{
    Selection s;

    {
        // The value belongs to the domain, which the message thread may rebuild: its text is
        // taken under the domain's lock.
        const juce::ScopedLock sl (deviceParameter->getLock());
        s.source = deviceParameter->getValueIndex();

        if (s.source >= AlxMidiFromDeviceDomain::firstDevice)
            s.deviceName = deviceParameter->getValue()->getText();
    }

    s.channel = channelParameter->getValueIndex();
    s.track = trackParameter->getValueIndex();
    return s;
}

void AlxMidiInputModule::fillBlock (juce::MidiBuffer& buffer, int numSamples)
{
    const auto& [source, deviceName, channel, track] = selection.get ([this] { return readSelection(); });

    if (source == AlxMidiFromDeviceDomain::host)
    {
        if (channel > 0)
        {
            unfiltered.clear();
            unfiltered.addEvents (buffer, 0, -1, 0);
            buffer.clear();
            filterChannel (unfiltered, channel, numSamples, buffer);
        }

        return;
    }

    buffer.clear();

    if (source == AlxMidiFromDeviceDomain::builtInTracks)
        playTracks (buffer, numSamples, track);
    else if (source >= AlxMidiFromDeviceDomain::firstDevice)
        takeDeviceMessages (buffer, deviceName, channel, numSamples);
}

void AlxMidiInputModule::filterChannel (const juce::MidiBuffer& from, int channel, int numSamples, juce::MidiBuffer& to)
{
    for (const auto event : from)
    {
        if (event.samplePosition >= numSamples)
            break;

        const auto status = event.data[0];

        if (status >= 0xF0 || (status & 0x0F) == channel - 1)
            to.addEvent (event.data, event.numBytes, event.samplePosition);
    }
}

void AlxMidiInputModule::playTracks (juce::MidiBuffer& buffer, int numSamples, int track)
{
    if (transport == nullptr || ! transport->isPlaying())
        return;

    const auto& position = transport->getPosition();
    const int barQuarters = position.timeSigDenominator > 0 ? (int) (4.0 / position.timeSigDenominator * position.timeSigNumerator) : 0;
    sequencer.play (track, 0, blockPosition(), numSamples, transport->getSamplesPerQuarter(),
                    barQuarters, buffer);
}

double AlxMidiInputModule::blockPosition() const
{
    // The transport takes this block's position only after this module ran (it has to: this
    // module may set its clock from a song position). The position it holds is the previous
    // block's, so the block's own is read where the transport will read it: from a running host,
    // or else from the transport's own clock.
    if (transport->isHostDriven())
    {
        auto* processor = getContainer()->getFilter();

        if (auto* playHead = processor != nullptr ? processor->getPlayHead() : nullptr)
            if (const auto info = playHead->getPosition(); info.hasValue() && (info->getIsPlaying() || info->getIsRecording()))
                return AlxTransportPosition::fromHost (*info).ppqPosition;
    }

    return transport->getSampleCounter() / transport->getSamplesPerQuarter();
}

void AlxMidiInputModule::takeDeviceMessages (juce::MidiBuffer& buffer, const juce::String& deviceName, int channel, int numSamples)
{
    if (deviceManager->getCurrentInputName() != deviceName)
        deviceManager->setCurrentInput (deviceName);

    if (numSamples <= 0)
        return;

    if (channel == 0)
    {
        collector.removeNextBlockOfMessages (buffer, numSamples);
        return;
    }

    unfiltered.clear();
    collector.removeNextBlockOfMessages (unfiltered, numSamples);
    filterChannel (unfiltered, channel, numSamples, buffer);
}

void AlxMidiInputModule::followSystemMessages (const juce::MidiBuffer& buffer, int numSamples)
{
    if (transport == nullptr)
        return;

    for (const auto event : buffer)
    {
        if (event.samplePosition > numSamples)
            break;

        const auto status = event.data[0];

        if ((status & 0xF0) != 0xF0 || transport->isStopped())
            continue;

        const int offset = event.samplePosition;

        switch (status)
        {
            case songPositionPointer:
                if (event.numBytes >= 3)
                    setSongPosition ((event.data[2] & 0x7F) * 128 + (event.data[1] & 0x7F), offset);
                break;

            case midiStart:
                // A MIDI start plays the song from its beginning.
                setSongPosition (0, offset);
                transport->postStart();
                break;

            case midiContinue:
                transport->postStart();
                break;

            case midiStop:
                transport->postStop (false);
                break;

            case midiClock:
                clockTick (offset);
                break;

            default:
                break;
        }
    }
}

void AlxMidiInputModule::moveClockTo (double samplePosition, int offset, bool realign)
{
    // The message sits offset samples into the block: the block starts that much earlier. Whole
    // samples keep the clock on the sample grid the root advances it by.
    const double blockStart = std::round (samplePosition) - offset;

    if (realign)
        transport->realignSampleCounter (blockStart);
    else
        transport->setSampleCounter (blockStart);
}

void AlxMidiInputModule::setSongPosition (int sixteenths, int offset)
{
    if (sixteenths >= 0)
        songPosition = sixteenths;

    if (transport == nullptr)
        return;

    const double samplesPerQuarter = transport->getSamplesPerQuarter();

    if (! (samplesPerQuarter > 0.0) || ! std::isfinite (samplesPerQuarter))
        return;

    // The next clock marks this position: six clocks to the sixteenth note.
    setClockCount (songPosition * 6);
    moveClockTo (samplesPerQuarter * songPosition * 0.25, offset, false);
}

void AlxMidiInputModule::clockTick (int offset)
{
    // This clock marks the song position of the clocks counted before it: the first clock after
    // a start is the song's beginning.
    const int clock = clockCount++;

    // The clock re-aligns the position once per sixteenth note; a host's position stands.
    if (clock % 6 != 0 || transport == nullptr || transport->isHostDriven())
        return;

    const double samplesPerQuarter = transport->getSamplesPerQuarter();

    if (samplesPerQuarter > 0.0 && std::isfinite (samplesPerQuarter))
        moveClockTo (samplesPerQuarter / 24.0 * clock, offset, true);
}

bool AlxMidiInputModule::handleModuleMessage (void* source, int code, std::uint32_t timeMs)
{
    for (auto* parameter : { deviceParameter, channelParameter, trackParameter })
    {
        if (parameter != nullptr && source == parameter)
        {
            if (! followed.changed (*parameter))
                return true;

            // Another source, channel or track: what was held came from the old one.
            const juce::ScopedLock callbackLock (getCallbackLock());
            const juce::ScopedLock parameterLock (parameter->getLock());
            clearOutputPins();
            forgetNotes();

            if (transport != nullptr)
                transport->postRewind();

            return true;
        }
    }

    return AlxModule::handleModuleMessage (source, code, timeMs);
}

void AlxMidiInputModule::applyPendingReset()
{
    if (! isResetPending())
        return;

    clearOutputPins();
    setResetPending (false);
}

void AlxMidiInputModule::activate()
{
    auto* keys = getKeyboardPin()->getObject();

    if (keys != listenedKeys)
    {
        deactivate();

        if (keys != nullptr)
            keys->addListener (this);

        listenedKeys = keys;
    }

    AlxModule::activate();
}

void AlxMidiInputModule::deactivate()
{
    if (listenedKeys != nullptr)
    {
        listenedKeys->removeListener (this);
        listenedKeys = nullptr;
    }

    AlxModule::deactivate();
}

void AlxMidiInputModule::handleNoteOn (juce::MidiKeyboardState*, int midiChannel, int midiNoteNumber, float velocity)
{
    if (velocity > 0.0f)
    {
        lastVelocity = velocity;
        lastNote = midiNoteNumber;
        lastChannel = midiChannel;
    }
}

void AlxMidiInputModule::handleNoteOff (juce::MidiKeyboardState*, int, int, float) {}
