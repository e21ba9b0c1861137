#include "standalone/plimsarApplication.h"

#include "standalone/AlxStandaloneSettings.h"

void plimsarApplication::initialise (const juce::String&)
{
    juce::Logger::outputDebugString ("initializing plimsar");
    mainWindow = std::make_unique<MainAppWindow> (AlxStandaloneSettings::createFile());
    terminationWatcher = std::make_unique<AlxTerminationWatcher> ([this] { systemRequestedQuit(); });
}

void plimsarApplication::shutdown()
{
    terminationWatcher.reset();
    mainWindow.reset();
}
