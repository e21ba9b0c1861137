#pragma once

#include "standalone/AlxTerminationWatcher.h"
#include "standalone/MainAppWindow.h"

// The desktop application: it creates the settings file and the main window, and deletes the
// window (which saves the settings) when it shuts down.
class plimsarApplication : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override { return "plimsar"; }
    const juce::String getApplicationVersion() override { return "1.5.0"; }
    bool moreThanOneInstanceAllowed() override { return true; }
    void anotherInstanceStarted (const juce::String&) override {}
    void systemRequestedQuit() override { quit(); }

    void initialise (const juce::String& commandLine) override;
    void shutdown() override;

private:
    std::unique_ptr<MainAppWindow> mainWindow;
    std::unique_ptr<AlxTerminationWatcher> terminationWatcher;
};
