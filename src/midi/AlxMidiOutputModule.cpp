#include "midi/AlxMidiOutputModule.h"

#include "midi/AlxMidiOutputGroupModule.h"
#include "modules/AlxTransportModule.h"

#include <limits>

namespace
{
    // Room for some hundreds of events per block, so the buffers the audio thread fills keep
    // their memory from the start.
    constexpr size_t reservedBytes = 8192;

    void addAllNotesOff (juce::MidiBuffer& out)
    {
        for (int channel = 1; channel <= 16; ++channel)
            out.addEvent (juce::MidiMessage::allNotesOff (channel), 0);
    }

    // Appends the events before numSamples, every channel message moved to the channel (0 ... 15).
    void mapToChannel (const juce::MidiBuffer& events, int channel, int numSamples, juce::MidiBuffer& out)
    {
        for (const auto event : events)
        {
            if (event.samplePosition >= numSamples)
                break;

            if (event.data[0] >= 0xF0)
            {
                out.addEvent (event.data, event.numBytes, event.samplePosition);
                continue;
            }

            juce::uint8 bytes[3] = {};
            const int size = juce::jmin (event.numBytes, 3);
            std::copy (event.data, event.data + size, bytes);
            bytes[0] = (juce::uint8) ((bytes[0] & 0xF0) | channel);
            out.addEvent (bytes, size, event.samplePosition);
        }
    }
}

namespace
{
    // A host may prepare again mid-session (a new block size or sample rate) while notes sound.
    // Their note-offs still have to come, or the notes hang: they go first into the next block.
    // Every other pending event was timed at the old settings and is dropped.
    void keepOnlyNoteOffs (juce::MidiBuffer& pending, juce::MidiBuffer& scratch)
    {
        scratch.clear();

        for (const auto event : pending)
            if (juce::MidiMessage (event.data, event.numBytes).isNoteOff())
                scratch.addEvent (event.data, event.numBytes, 0);

        pending.swapWith (scratch);
        scratch.clear();
    }
}

AlxMidiOutputModule::AlxMidiOutputModule (AlxModuleContainer* container_) : AlxModule (container_, moduleId) {}

void AlxMidiOutputModule::initialise()
{
    AlxModule::initialise();
    addPin<AlxPin<AlxMidiCable>> (AlxPinBase::inputMark);
    addPin<AlxPin<AlxMidiCable>> (AlxPinBase::outputMark);
    addPin<AlxPin<AlxMidiCable>> (AlxPinBase::outputMark);
    registerInModuleMap();

    group = findModuleOf<AlxMidiOutputGroupModule>();
    transport = findModuleOf<AlxTransportModule>();
    jassert (group != nullptr);

    auto* domains = group->getDomainSet();
    deviceParameter = addGlobalParameter (0, takeInternalIndex(), domains->getDeviceDomain());
    channelParameter = addGlobalParameter (1, takeInternalIndex(), domains->getChannelDomain());
    rebuildIdTables();
    followed.follow ({ deviceParameter, channelParameter });
    setCurrentProgram (0);
    registerParameters();

    deviceManager = group->getDeviceManager();
    lastDestination = -1;
    lastChannel = -1;
    lastName = {};
    addSinkRecursive (this, false);
}

void AlxMidiOutputModule::prepareToPlay (double sampleRate, int blockSize)
{
    // lastName stays: with no destination yet the next block counts as the first.
    lastDestination = -1;
    lastChannel = -1;
    clearOutputPins();
    keepOnlyNoteOffs (carry, scratch);

    for (auto* buffer : { &carry, &blockEvents, &mapped, &scratch, getSynthOutputPin()->getObject() })
        if (buffer != nullptr)
            buffer->ensureSize (reservedBytes);

    AlxModule::prepareToPlay (sampleRate, blockSize);
}

void AlxMidiOutputModule::processBlockBody (int numSamples)
{
    auto* in = getMidiInputPin()->getObject();
    auto* hostOut = getHostOutputPin()->getObject();
    auto* synthOut = getSynthOutputPin()->getObject();

    if (in == nullptr || hostOut == nullptr || synthOut == nullptr)
        return;

    // The All Notes Off of a reset silences every note that is sounding; note-offs still waiting
    // for those notes could only cut short new notes of the same pitch.
    const bool reset = isResetPending();

    if (reset)
        carry.clear();

    // Positions too close to the end of an int could not be moved on from block to block.
    carry.addEvents (*in, 0, std::numeric_limits<int>::max() - numSamples, 0);

    blockEvents.clear();
    blockEvents.addEvents (carry, 0, numSamples, 0);

    scratch.clear();
    scratch.addEvents (carry, numSamples, -1, -numSamples);
    carry.swapWith (scratch);

    if (reset)
    {
        // All Notes Off ahead of the block's own events: the notes started in this block come
        // after the reset (a start of the transport is one) and must sound.
        scratch.clear();
        addAllNotesOff (scratch);
        scratch.addEvents (blockEvents, 0, -1, 0);
        blockEvents.swapWith (scratch);
        setResetPending (false);
    }

    route (blockEvents, *hostOut, *synthOut, numSamples);
}

void AlxMidiOutputModule::route (juce::MidiBuffer& events, juce::MidiBuffer& hostOut, juce::MidiBuffer& synthOut, int numSamples)
{
    hostOut.clear();
    synthOut.clear();

    int destination = AlxMidiToDeviceDomain::notConnected;
    juce::String name;

    {
        // The value belongs to the domain, which the message thread may rebuild: its text is
        // taken under the domain's lock.
        const juce::ScopedLock sl (deviceParameter->getLock());
        destination = deviceParameter->getValueIndex();
        name = deviceParameter->getValue()->getText();
    }

    const int channel = channelParameter->getValueIndex();

    if (lastDestination < 0 || lastChannel < 0 || lastName.isEmpty())
    {
        lastDestination = destination;
        lastChannel = channel;
        lastName = name;
    }
    else if (destination != lastDestination || channel != lastChannel || name != lastName)
    {
        // The old destination is silenced; the notes of this block are dropped.
        events.clear();
        addAllNotesOff (events);
        deliver (events, lastDestination, lastName, lastChannel, hostOut, synthOut, numSamples);
        lastDestination = destination;
        lastChannel = channel;
        lastName = name;
        return;
    }

    deliver (events, destination, name, channel, hostOut, synthOut, numSamples);
}

void AlxMidiOutputModule::deliver (const juce::MidiBuffer& events, int destination, const juce::String& name, int channel,
                                   juce::MidiBuffer& hostOut, juce::MidiBuffer& synthOut, int numSamples)
{
    if (events.isEmpty())
        return;

    if (destination == AlxMidiToDeviceDomain::host)
    {
        mapToChannel (events, channel, numSamples, hostOut);
    }
    else if (destination == AlxMidiToDeviceDomain::builtInSynth)
    {
        mapToChannel (events, channel, numSamples, synthOut);
    }
    else if (destination >= AlxMidiToDeviceDomain::firstDevice)
    {
        mapped.clear();
        mapToChannel (events, channel, numSamples, mapped);
        sendToDevice (name, mapped, numSamples);
    }
}

void AlxMidiOutputModule::sendToDevice (const juce::String& name, const juce::MidiBuffer& events, int numSamples)
{
    const int index = deviceManager->indexOf (name);

    if (index < 0)
        return;

    for (const auto event : events)
    {
        if (event.samplePosition > numSamples)
            break;

        deviceManager->sendMessageNow (index, event.getMessage());
    }
}

bool AlxMidiOutputModule::handleModuleMessage (void* source, int code, std::uint32_t timeMs)
{
    for (auto* parameter : { deviceParameter, channelParameter })
    {
        if (parameter != nullptr && source == parameter)
        {
            if (! followed.changed (*parameter))
                return true;

            const juce::ScopedLock callbackLock (getCallbackLock());
            const juce::ScopedLock parameterLock (parameter->getLock());
            clearOutputPins();

            if (transport != nullptr)
                transport->postRewind();

            return true;
        }
    }

    return AlxModule::handleModuleMessage (source, code, timeMs);
}
