#pragma once

#include "midi/AlxMidiGroupModule.h"
#include "midi/AlxMidiInputDeviceManager.h"
#include "midi/AlxMidiInputDomainSet.h"

class AlxMidiInputModule;

// The MIDI input group: the input domains, the input device manager and the one input module.
class AlxMidiInputGroupModule : public AlxMidiGroupModule<AlxMidiInputDomainSet, AlxMidiInputDeviceManager>
{
public:
    static constexpr int moduleId = 3000;

    explicit AlxMidiInputGroupModule (AlxModuleContainer* container);

    void initialise() override;

    // Child index as input module; only index 0 exists.
    virtual AlxMidiInputModule* getInputModule (int index) const;
};
