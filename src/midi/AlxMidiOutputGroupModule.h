#pragma once

#include "midi/AlxMidiGroupModule.h"
#include "midi/AlxMidiOutputDeviceManager.h"
#include "midi/AlxMidiOutputDomainSet.h"

class AlxMidiOutputModule;

// The MIDI output group: the output domains, the output device manager and the one output module.
class AlxMidiOutputGroupModule : public AlxMidiGroupModule<AlxMidiOutputDomainSet, AlxMidiOutputDeviceManager>
{
public:
    static constexpr int moduleId = 3100;

    explicit AlxMidiOutputGroupModule (AlxModuleContainer* container);

    void initialise() override;

    // Child index as output module; only index 0 exists.
    virtual AlxMidiOutputModule* getOutputModule (int index) const;
};
