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

    bool isNoteOn (const juce::MidiMessageMetadata& event)
    {
        return event.numBytes >= 3 && (event.data[0] & 0xF0) == 0x90 && event.data[2] != 0;
    }

    bool isNoteOff (const juce::MidiMessageMetadata& event)
    {
        return event.numBytes >= 3 && ((event.data[0] & 0xF0) == 0x80 || (event.data[0] & 0xF0) == 0x90);
    }

    // All Notes Off or All Sound Off.
    bool endsEveryNote (const juce::MidiMessageMetadata& event)
    {
        return event.numBytes >= 3 && (event.data[0] & 0xF0) == 0xB0 && (event.data[1] == 123 || event.data[1] == 120);
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
    // Notes still sounding keep their pending note-offs (now due at the next block's start), so
    // the sounding-note bookkeeping stays true across a new preparation.
    keepOnlyNoteOffs (carry, scratch);

    for (auto* buffer : { &carry, &blockEvents, &mapped, &paired, &scratch, getSynthOutputPin()->getObject() })
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
        // The sounding notes end and All Notes Off follows, ahead of the block's own events: the
        // notes started in this block come after the reset (a start of the transport is one) and
        // must sound.
        scratch.clear();
        endSoundingNotes (scratch);
        scratch.addEvents (blockEvents, 0, -1, 0);
        blockEvents.swapWith (scratch);
        setResetPending (false);
    }

    route (blockEvents, *hostOut, *synthOut, numSamples);
}

AlxMidiOutputModule::Selection AlxMidiOutputModule::readSelection() const
{
    Selection s;

    {
        // The value belongs to the domain, which the message thread may rebuild: its text is
        // taken under the domain's lock.
        const juce::ScopedLock sl (deviceParameter->getLock());
        s.destination = deviceParameter->getValueIndex();
        s.name = deviceParameter->getValue()->getText();
    }

    s.channel = channelParameter->getValueIndex();
    return s;
}

void AlxMidiOutputModule::route (juce::MidiBuffer& events, juce::MidiBuffer& hostOut, juce::MidiBuffer& synthOut, int numSamples)
{
    hostOut.clear();
    synthOut.clear();

    const auto& [destination, name, channel] = selection.get ([this] { return readSelection(); });

    if (lastDestination < 0 || lastChannel < 0 || lastName.isEmpty())
    {
        lastDestination = destination;
        lastChannel = channel;
        lastName = name;
    }
    else if (destination != lastDestination || channel != lastChannel || name != lastName)
    {
        // The old destination is silenced; the notes of this block are dropped, and so are the
        // note-offs still to come, whose notes have just been ended.
        events.clear();
        carry.clear();
        endSoundingNotes (events);
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

    pairNotes (events, numSamples, paired);

    if (destination == AlxMidiToDeviceDomain::host)
    {
        mapToChannel (paired, channel, numSamples, hostOut);
    }
    else if (destination == AlxMidiToDeviceDomain::builtInSynth)
    {
        mapToChannel (paired, channel, numSamples, synthOut);
    }
    else if (destination >= AlxMidiToDeviceDomain::firstDevice)
    {
        mapped.clear();
        mapToChannel (paired, channel, numSamples, mapped);
        sendToDevice (name, mapped, numSamples);
    }
}

void AlxMidiOutputModule::pairNotes (const juce::MidiBuffer& events, int numSamples, juce::MidiBuffer& out)
{
    out.clear();

    for (const auto event : events)
    {
        if (event.samplePosition >= numSamples)
            break;

        const auto note = (size_t) (event.numBytes >= 2 ? event.data[1] & 0x7F : 0);

        if (isNoteOn (event))
        {
            // A note fired again while it still sounds (a gate over 100 %, a step that shortens
            // under a sounding note) ends there and starts anew; the note-off scheduled for it
            // is dropped when it comes.
            if (sounding[note])
            {
                out.addEvent (juce::MidiMessage::noteOff ((event.data[0] & 0x0F) + 1, (int) note), event.samplePosition);
                ++supersededNoteOffs[note];
            }

            sounding[note] = true;
        }
        else if (isNoteOff (event))
        {
            if (supersededNoteOffs[note] > 0)
            {
                --supersededNoteOffs[note];
                continue;
            }

            // A note-off of a note that does not sound (its note was ended by a reset) would
            // only cut short a new note of the same key.
            if (! sounding[note])
                continue;

            sounding[note] = false;
        }
        else if (endsEveryNote (event))
        {
            sounding.fill (false);
            supersededNoteOffs.fill (0);
        }

        out.addEvent (event.data, event.numBytes, event.samplePosition);
    }
}

void AlxMidiOutputModule::endSoundingNotes (juce::MidiBuffer& out)
{
    // The note-offs still to come have been dropped with the carried events.
    supersededNoteOffs.fill (0);

    for (size_t note = 0; note < sounding.size(); ++note)
        if (sounding[note])
            out.addEvent (juce::MidiMessage::noteOff (1, (int) note), 0);

    addAllNotesOff (out);
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
