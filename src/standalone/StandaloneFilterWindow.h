#pragma once

#include "core/AlxPlimsarFilter.h"

#include <juce_audio_utils/juce_audio_utils.h>
#include <juce_gui_basics/juce_gui_basics.h>

// The desktop window that hosts the processor: it owns the processor, the audio device manager
// and the player that runs the processor from the device, shows the processor's editor, and
// keeps window position, audio setup and processor state in the settings it owns.
//
// Without an audio device (none present, or none that opens) the application still runs: the
// title says so, and it follows later device changes.
class StandaloneFilterWindow : public juce::DocumentWindow,
                               public juce::Button::Listener,
                               private juce::ChangeListener
{
public:
    // Takes ownership of the settings, which must be given. Adds itself to the desktop, so it
    // needs a display.
    StandaloneFilterWindow (const juce::String& title, juce::Colour backgroundColour,
                            std::unique_ptr<juce::PropertySet> settingsToOwn);
    ~StandaloneFilterWindow() override;

    AlxPlimsarFilter* getFilter() const { return filter.get(); }
    juce::AudioDeviceManager* getDeviceManager() const { return deviceManager.get(); }
    bool hasAudioDevice() const;

    void createFilter();
    void deleteFilter();
    // Replaces the processor by one in its initial state and forgets the stored state.
    void resetFilter();

    void resized() override;
    void closeButtonPressed() override;
    void buttonClicked (juce::Button*) override {}

private:
    void changeListenerCallback (juce::ChangeBroadcaster*) override;
    void showEditor();
    void updateTitle();

    std::unique_ptr<juce::PropertySet> settings;
    std::unique_ptr<AlxPlimsarFilter> filter;
    std::unique_ptr<juce::AudioDeviceManager> deviceManager;
    juce::AudioProcessorPlayer player;
    juce::TextButton optionsButton { "options" };
    const juce::String baseTitle;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StandaloneFilterWindow)
};
