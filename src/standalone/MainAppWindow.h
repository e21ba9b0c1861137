#pragma once

#include "standalone/StandaloneFilterWindow.h"

// The window the application opens: the processor window with the native title bar, a menu bar,
// a fixed start size, centred on the screen.
class MainAppWindow : public StandaloneFilterWindow, public juce::MenuBarModel
{
public:
    explicit MainAppWindow (std::unique_ptr<juce::PropertySet> settingsToOwn);
    ~MainAppWindow() override;

    void closeButtonPressed() override;

    // juce::MenuBarModel
    juce::StringArray getMenuBarNames() override { return {}; }
    juce::PopupMenu getMenuForIndex (int, const juce::String&) override { return {}; }
    void menuItemSelected (int, int) override {}

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainAppWindow)
};
