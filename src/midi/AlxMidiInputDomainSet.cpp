#include "midi/AlxMidiInputDomainSet.h"

AlxMidiFromDeviceDomain::AlxMidiFromDeviceDomain (AlxDomainSet* set)
    : AlxMidiDeviceDomain (set, "Midi In", "Midi Input Device", "Midi device we receive our input from",
                           { { "Not connected", "Not connected", "Not connected" },
                             { "Track", "Midi track", "Built-in midi input tracks" },
                             { "VST/AU host", "VST/AU host", "Connected to host application hosting VST/AU plug-in" } },
                           builtInTracks)
{
}

AlxMidiFromChannelDomain::AlxMidiFromChannelDomain (AlxDomainSet* set)
    : AlxListDomain (set, "Channel", "Midi input channel", "Midi channel we are receiving input from")
{
    addValue (std::make_unique<AlxMidiFromChannelValue> (this, 0, 0.0f, 0.0, "All", "All", "Receiving from all channels"));

    for (int channel = 1; channel <= 16; ++channel)
        addValue (std::make_unique<AlxMidiFromChannelValue> (this, 0, 0.0f, 0.0, juce::String (channel)));

    finishValues (0);
}

AlxMidiFromFileDomain::AlxMidiFromFileDomain (AlxDomainSet* set)
    : AlxMidiListDomain (set, "Track", "Midi Input Track", "Midi track we receive our input from")
{
    replaceTracks ({}, {});
}

void AlxMidiFromFileDomain::setTrackNames (const juce::StringArray& names, const juce::StringArray& descriptions)
{
    replaceTracks (names, descriptions);
    postValuesRebuilt();
}

void AlxMidiFromFileDomain::replaceTracks (const juce::StringArray& names, const juce::StringArray& descriptions)
{
    std::vector<Entry> entries;

    for (int i = 0; i < names.size(); ++i)
        entries.push_back ({ names[i], names[i], i < descriptions.size() ? descriptions[i] : names[i] });

    if (entries.empty())
        entries.push_back ({ "<none>", "<no tracks>", "<no tracks>" });

    replaceValues<AlxMidiFromFileValue> (entries, 0);
}

AlxMidiInputDomainSet::AlxMidiInputDomainSet()
{
    deviceDomain = add<AlxMidiFromDeviceDomain>();
    channelDomain = add<AlxMidiFromChannelDomain>();
    trackDomain = add<AlxMidiFromFileDomain>();
}
