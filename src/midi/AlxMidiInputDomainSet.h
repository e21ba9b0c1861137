#pragma once

#include "framework/AlxDomainSet.h"
#include "midi/AlxMidiListDomain.h"

class AlxMidiFromDeviceValue : public AlxValue
{
public:
    using AlxValue::AlxValue;
};

// Where the held notes come from. The first three values are fixed; every further value is an
// enabled MIDI input device, chosen by its name. Default: the built-in tracks.
class AlxMidiFromDeviceDomain : public AlxMidiDeviceDomain<AlxMidiFromDeviceValue>
{
public:
    enum Source
    {
        notConnected = 0,
        builtInTracks = 1,
        host = 2,
        firstDevice = 3
    };

    explicit AlxMidiFromDeviceDomain (AlxDomainSet* set);
};

class AlxMidiFromChannelValue : public AlxValue
{
public:
    using AlxValue::AlxValue;
};

// The input channel filter: "All", then the MIDI channels "1" ... "16" at indices 1 ... 16.
class AlxMidiFromChannelDomain : public AlxListDomain
{
public:
    explicit AlxMidiFromChannelDomain (AlxDomainSet* set);
};

class AlxMidiFromFileValue : public AlxValue
{
public:
    using AlxValue::AlxValue;
};

// Which built-in demo sequence plays: value i is sequence i of the input's sequencer.
class AlxMidiFromFileDomain : public AlxMidiListDomain
{
public:
    explicit AlxMidiFromFileDomain (AlxDomainSet* set);

    // One value per name, described by the description at the same position (by the name itself
    // where descriptions run out); without names a single "<none>" value. The first is the default.
    void setTrackNames (const juce::StringArray& names, const juce::StringArray& descriptions);

private:
    void replaceTracks (const juce::StringArray& names, const juce::StringArray& descriptions);
};

// The MIDI input group's domains, in their fixed order: device, channel, track.
class AlxMidiInputDomainSet : public AlxDomainSet
{
public:
    AlxMidiInputDomainSet();

    AlxMidiFromDeviceDomain* getDeviceDomain() const { return deviceDomain; }
    AlxMidiFromChannelDomain* getChannelDomain() const { return channelDomain; }
    AlxMidiFromFileDomain* getTrackDomain() const { return trackDomain; }

private:
    AlxMidiFromDeviceDomain* deviceDomain;
    AlxMidiFromChannelDomain* channelDomain;
    AlxMidiFromFileDomain* trackDomain;
};
