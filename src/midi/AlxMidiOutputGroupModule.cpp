#include "midi/AlxMidiOutputGroupModule.h"

#include "midi/AlxMidiOutputModule.h"

AlxMidiOutputGroupModule::AlxMidiOutputGroupModule (AlxModuleContainer* container_)
    : AlxMidiGroupModule (container_, moduleId)
{
}

void AlxMidiOutputGroupModule::initialise()
{
    initialiseGroup (std::make_unique<AlxMidiOutputModule> (getContainer()));
}

AlxMidiOutputModule* AlxMidiOutputGroupModule::getOutputModule (int index) const
{
    return dynamic_cast<AlxMidiOutputModule*> (childAt (index));
}
