#include "standalone/plimsarApplication.h"

#include "standalone/AlxStandaloneSettings.h"

#include <iostream>

void plimsarApplication::initialise (const juce::String&)
{
    // Without a display there is no window to open: say so and end, rather than fail later
    // while placing a window on a screen that is not there.
    if (juce::Desktop::getInstance().getDisplays().displays.isEmpty())
    {
        std::cerr << "plimsar: no display; set DISPLAY or use plimsar-render for offline rendering" << std::endl;
        setApplicationReturnValue (1);
        quit();
        return;
    }

    juce::Logger::outputDebugString ("initializing plimsar");
    // Watching first: a termination request during start-up is answered once the message loop
    // runs, by the same quit that saves the settings.
    terminationWatcher = std::make_unique<AlxTerminationWatcher> ([this] { systemRequestedQuit(); });
    mainWindow = std::make_unique<MainAppWindow> (AlxStandaloneSettings::createFile (std::cerr));
}

void plimsarApplication::shutdown()
{
    terminationWatcher.reset();
    mainWindow.reset();
}
