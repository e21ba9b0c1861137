#include "editor/AlxHelpModule.h"

#include "framework/AlxMessageCode.h"

AlxHelpModule::AlxHelpModule (AlxModuleContainer* container_) : AlxModule (container_, moduleId) {}

void AlxHelpModule::initialise()
{
    AlxModule::initialise();
    registerInModuleMap();
    addSinkRecursive (this, false);
}

bool AlxHelpModule::handleModuleMessage (void* source, int code, std::uint32_t timeMs)
{
    if (source != getEventParameter() || AlxMessageCode::reasonOf (code) != AlxMessageCode::moduleEvent)
        return AlxModule::handleModuleMessage (source, code, timeMs);

    switch (AlxMessageCode::kindOf (code))
    {
        case showAbout:
        case showHelp:
        case openHome:
        case openManual:
        case openUpdates:
            // The panel carries the command out; without one there is nothing to show.
            return true;

        default:
            return AlxModule::handleModuleMessage (source, code, timeMs);
    }
}
