#include "standalone/plimsarApplication.h"

#include "standalone/AlxStandaloneSettings.h"

void plimsarApplication::initialise (const juce::String&)
{
    juce::Logger::outputDebugString ("initializing plimsar");
    // Watching first: a termination request during start-up is answered once the message loop
    // runs, by the same quit that saves the settings.
    terminationWatcher = std::make_unique<AlxTerminationWatcher> ([this] { systemRequestedQuit(); });
    mainWindow = std::make_unique<MainAppWindow> (AlxStandaloneSettings::createFile());
}

void plimsarApplication::shutdown()
{
    terminationWatcher.reset();
    mainWindow.reset();
}
