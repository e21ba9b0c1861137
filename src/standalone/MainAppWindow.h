#pragma once

#include "standalone/StandaloneFilterWindow.h"

// The window the application opens: the processor window with the native title bar and the
// menu bar of the application ("File", "Settings", "Help"). The preset, MIDI settings and help
// items post their command on the event parameter of the module that owns the matter (program
// module, MIDI input group, help module); the editor's panels carry them out. The audio settings
// dialog and "Restore Defaults" are the window's own.
class MainAppWindow : public StandaloneFilterWindow, public juce::MenuBarModel
{
public:
    enum MenuItem
    {
        loadBankItem = 110,
        loadPresetItem = 111,
        saveBankItem = 120,
        savePresetItem = 121,
        renamePresetItem = 125,
        exitItem = 130,
        audioSettingsItem = 210,
        midiSettingsItem = 220,
        restoreDefaultsItem = 230,
        helpItem = 310,
        productHomeItem = 320,
        onlineManualItem = 330,
        latestUpdatesItem = 340,
        unlistedHelpItem = 350, // carried by no menu item; posts the help module's kind 22
        aboutItem = 360
    };

    // Opens the window at 695 x 520, where it was left when that place is on a screen. Off the
    // desktop (tests) it shows nothing.
    explicit MainAppWindow (std::unique_ptr<juce::PropertySet> settingsToOwn, bool onDesktop = true);
    ~MainAppWindow() override;

    void closeButtonPressed() override;

    // juce::MenuBarModel
    juce::StringArray getMenuBarNames() override;
    juce::PopupMenu getMenuForIndex (int menuIndex, const juce::String& menuName) override;
    void menuItemSelected (int menuItemID, int topLevelMenuIndex) override;

    // The audio device selector (output channels only, no MIDI) in a dialog of its own.
    void showAudioSettingsDialog();
    // Asks, then puts the processor back in its initial state; the audio setup stays.
    void restoreDefaults();

protected:
    // Ends the application the ordinary way, which saves the settings.
    virtual void quitApplication();

private:
    // The selector of an open audio settings dialog; it works on the device manager, which goes
    // with this window, so its dialog is closed first.
    juce::Component::SafePointer<juce::Component> audioSettings;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainAppWindow)
};
