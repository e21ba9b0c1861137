#include "midi/AlxMidiInputGroupModule.h"

#include "midi/AlxMidiInputModule.h"

AlxMidiInputGroupModule::AlxMidiInputGroupModule (AlxModuleContainer* container_)
    : AlxMidiGroupModule (container_, moduleId)
{
}

void AlxMidiInputGroupModule::initialise()
{
    initialiseGroup (std::make_unique<AlxMidiInputModule> (getContainer()));
}

AlxMidiInputModule* AlxMidiInputGroupModule::getInputModule (int index) const
{
    return dynamic_cast<AlxMidiInputModule*> (childAt (index));
}
