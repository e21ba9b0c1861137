#include "editor/AlxHelpModule.h"

#include "editor/AlxHelpPanel.h"
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

    const int kind = AlxMessageCode::kindOf (code);
    if (kind != showAbout && kind != showHelp && kind != openHome && kind != openManual && kind != openUpdates)
        return AlxModule::handleModuleMessage (source, code, timeMs);

    // The panel carries the command out; without one (the editor closed after the command was
    // posted) there is nothing to show.
    if (helpPanel == nullptr)
        return true;

    switch (kind)
    {
        case showAbout:   helpPanel->showAboutPage(); break;
        case showHelp:    helpPanel->showHelpPage(); break;
        case openHome:    helpPanel->openLink ({}); break;
        case openManual:  helpPanel->openLink ("manual"); break;
        default:
        {
            auto* root = getContainer()->getRootModule();
            helpPanel->openLink ("updates/?version=" + (root != nullptr ? root->getVersionString() : juce::String()));
            break;
        }
    }
    return true;
}
