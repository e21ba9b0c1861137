#include "midi/AlxMidiOutputDomainSet.h"

AlxMidiToDeviceDomain::AlxMidiToDeviceDomain (AlxDomainSet* set)
    : AlxMidiDeviceDomain (set, "Midi Out", "Midi Output Device", "Midi device we send our output to",
                           { { "Not connected", "Not connected", "Not connected" },
                             { "VST host", "VST host", "Connected to host application hosting VST plug-in" },
                             { "Built-in synth", "Built-in synth", "Connected to internal synth" } },
                           builtInSynth)
{
}

AlxMidiToChannelDomain::AlxMidiToChannelDomain (AlxDomainSet* set)
    : AlxListDomain (set, "Channel", "Midi output channel", "Midi channel we are sending output to")
{
    for (int channel = 1; channel <= 16; ++channel)
        addValue (std::make_unique<AlxMidiToChannelValue> (this, 0, 0.0f, 0.0, juce::String (channel)));

    finishValues (0);
}

AlxMidiOutputDomainSet::AlxMidiOutputDomainSet()
{
    deviceDomain = add<AlxMidiToDeviceDomain>();
    channelDomain = add<AlxMidiToChannelDomain>();
}
