#pragma once

#include "core/AlxPlimsarFilter.h"
#include "standalone/AlxFramedPlacement.h"

#include <juce_audio_utils/juce_audio_utils.h>
#include <juce_gui_basics/juce_gui_basics.h>

// The desktop window that hosts the processor: it owns the processor, the audio device manager
// and the player that runs the processor from the device, shows the processor's editor, and
// keeps window position, audio setup and processor state in the settings it owns.
//
// Without an audio device (none present, none that opens, or the one in use gone, as when the
// JACK server stops) the application still runs: the title says so, and the window keeps trying
// to open the device again until it is back.
class StandaloneFilterWindow : public juce::DocumentWindow,
                               public juce::Button::Listener,
                               private juce::ChangeListener,
                               private juce::Timer
{
public:
    // Takes ownership of the settings, which must be given. On the desktop the window needs a
    // display; off it (tests) it is an ordinary component.
    StandaloneFilterWindow (const juce::String& title, juce::Colour backgroundColour,
                            std::unique_ptr<juce::PropertySet> settingsToOwn, bool onDesktop = true);
    ~StandaloneFilterWindow() override;

    AlxPlimsarFilter* getFilter() const { return filter.get(); }
    juce::PropertySet& getSettings() const { return *settings; }
    juce::AudioDeviceManager* getDeviceManager() const { return deviceManager.get(); }
    bool hasAudioDevice() const;

    void createFilter();
    void deleteFilter();
    // Replaces the processor by one in its initial state and forgets the stored state.
    void resetFilter();

    void resized() override;
    void closeButtonPressed() override;
    void buttonClicked (juce::Button*) override {}

protected:
    // Moves the window, at its current size, to the saved position when that lies on a
    // connected screen, else to the middle of the main screen.
    void placeWindow();

private:
    void changeListenerCallback (juce::ChangeBroadcaster*) override;
    void timerCallback() override;
    // The device manager's error text; empty when a device (or deliberately none) is open.
    juce::String openAudioDevice (const juce::XmlElement* setup);
    void showEditor();
    void updateTitle();

    std::unique_ptr<juce::PropertySet> settings;
    std::unique_ptr<AlxPlimsarFilter> filter;
    std::unique_ptr<juce::AudioDeviceManager> deviceManager;
    juce::AudioProcessorPlayer player;
    juce::TextButton optionsButton { "options" };
    const juce::String baseTitle;
    AlxFramedPlacement framedPlacement { *this };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StandaloneFilterWindow)
};
