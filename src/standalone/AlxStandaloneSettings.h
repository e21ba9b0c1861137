#pragma once

#include <juce_audio_devices/juce_audio_devices.h>
#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_data_structures/juce_data_structures.h>

#include <optional>
#include <ostream>

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
    // Linux), loaded when it exists.
    //
    // A file that exists but cannot be read (damaged, or not readable by the user) is not
    // overwritten unseen: it is first copied beside itself as "plimsar.settings.bad", and one line
    // on the report stream says so; the program then starts from defaults and saves a sound file
    // in its place. When even the copy fails, nothing is saved this time. A file the XML reader
    // cannot be trusted with is not read at all: it is moved aside as "plimsar.settings.bad".
    static std::unique_ptr<juce::PropertiesFile> createFile (std::ostream& report);

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
