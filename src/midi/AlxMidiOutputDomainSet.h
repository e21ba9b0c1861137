#pragma once

#include "framework/AlxDomainSet.h"
#include "midi/AlxMidiListDomain.h"

class AlxMidiToDeviceValue : public AlxValue
{
public:
    using AlxValue::AlxValue;
};

// Where the generated notes go. The first three values are fixed; every further value is an
// enabled MIDI output device, chosen by its name. Default: the built-in synth.
class AlxMidiToDeviceDomain : public AlxMidiDeviceDomain<AlxMidiToDeviceValue>
{
public:
    enum Destination
    {
        notConnected = 0,
        host = 1,
        builtInSynth = 2,
        firstDevice = 3
    };

    explicit AlxMidiToDeviceDomain (AlxDomainSet* set);
};

class AlxMidiToChannelValue : public AlxValue
{
public:
    using AlxValue::AlxValue;
};

// The output channel: index i is MIDI channel i + 1 ("1" ... "16"); there is no "all channels".
class AlxMidiToChannelDomain : public AlxListDomain
{
public:
    explicit AlxMidiToChannelDomain (AlxDomainSet* set);
};

// The MIDI output group's domains, in their fixed order: device, channel.
class AlxMidiOutputDomainSet : public AlxDomainSet
{
public:
    AlxMidiOutputDomainSet();

    AlxMidiToDeviceDomain* getDeviceDomain() const { return deviceDomain; }
    AlxMidiToChannelDomain* getChannelDomain() const { return channelDomain; }

private:
    AlxMidiToDeviceDomain* deviceDomain;
    AlxMidiToChannelDomain* channelDomain;
};
