#pragma once

#include <juce_audio_devices/juce_audio_devices.h>
#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_data_structures/juce_data_structures.h>

#include <optional>

// The standalone application's per-user settings file and the keys it keeps there: the window
// position, the audio device setup and the processor's complete state.
class AlxStandaloneSettings
{
public:
    static constexpr const char* windowXKey = "windowX";
    static constexpr const char* windowYKey = "windowY";
    static constexpr const char* audioSetupKey = "audioSetup";
    static constexpr const char* filterStateKey = "filterState";

    // Written in place of a window coordinate that was never stored.
    static constexpr int noPosition = -100;

    static juce::PropertiesFile::Options getOptions();

    // The settings file "plimsar.settings" in the user's application-data folder (~/.config on
    // Linux), loaded when it exists. A file the XML reader cannot be trusted with is renamed to
    // "plimsar.settings.unreadable" and the settings start empty.
    static std::unique_ptr<juce::PropertiesFile> createFile();

    // The stored window position, when both coordinates are there.
    static std::optional<juce::Point<int>> getWindowPosition (const juce::PropertySet& settings);
    static void storeWindowPosition (juce::PropertySet& settings, juce::Point<int> position);

    // The stored device setup to hand to juce::AudioDeviceManager::initialise; none when absent
    // or not XML the reader can be trusted with.
    static std::unique_ptr<juce::XmlElement> getAudioSetup (const juce::PropertySet& settings);
    // Stores the device manager's explicit setup, or an empty value when it holds none.
    static void storeAudioSetup (juce::PropertySet& settings, const juce::AudioDeviceManager& deviceManager);

    // Gives the processor the stored state. False, leaving the processor alone, when there is no
    // state or it is not valid Base64 or decodes to nothing.
    static bool restoreFilterState (const juce::PropertySet& settings, juce::AudioProcessor& processor);
    static void storeFilterState (juce::PropertySet& settings, juce::AudioProcessor& processor);
    static void forgetFilterState (juce::PropertySet& settings);
};
