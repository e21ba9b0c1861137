#pragma once

#include "framework/AlxModule.h"
#include "framework/AlxModuleRef.h"
#include "modules/AlxLFOGroupModule.h"

#include <initializer_list>
#include <utility>

class AlxTransportModule;

// A note-generation stage whose program settings come in pairs: a setting, then its modulation
// source ("None", "LFO1", "LFO2"), the choice of LFO that takes the setting over. Settings are
// read at a musical time through the LFO group, which applies the modulation.
class AlxModulatedModule : public AlxModule
{
public:
    using AlxModule::AlxModule;

    virtual AlxTransportModule* getTransport() const;
    virtual AlxLFOGroupModule* getLfoGroup() const;

protected:
    // Creates in every program set one parameter per domain (ids 0, 2, 4, ...), each followed by
    // its modulation source with the given name (ids 1, 3, 5, ...). The host indices are taken
    // first, one per parameter, in id order, and shared by all program sets.
    void addModulatedParameters (std::initializer_list<std::pair<AlxDomain*, const char*>> settings);
    // Parameter id of the current program.
    AlxParameter* programParameter (int id) const;
    // The value of the current program's parameter id at time t (quarter notes), modulation applied.
    AlxValue* modulatedValueAt (int id, double t) const;
    // The current program's parameter id as read at many times within one block, in the
    // transport's time signature: what modulatedValueAt gives, its locks taken once.
    AlxLFOGroupModule::Reading readingOf (int id) const;

private:
    AlxModuleRef<AlxTransportModule> transportModule;
    AlxModuleRef<AlxLFOGroupModule> lfoGroupModule;
};
