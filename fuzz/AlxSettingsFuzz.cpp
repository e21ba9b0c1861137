#include "AlxFuzzHost.h"

#include "support/AlxMessageLoop.h"

#include "standalone/AlxStandaloneSettings.h"

#include <cstdlib>
#include <sstream>

// The standalone application's settings file, read as the application reads it at start-up: the
// file in the user's configuration folder, the window position, the audio device setup handed to a
// device manager, and the processor state restored from it.
namespace
{
    // The home folder of this process, in memory-backed storage; the settings file lives under it.
    juce::File settingsFile()
    {
        struct Home
        {
            Home()
            {
                folder.createDirectory();
                setenv ("HOME", folder.getFullPathName().toRawUTF8(), 1);
                unsetenv ("XDG_CONFIG_HOME");
            }

            ~Home() { folder.deleteRecursively(); }

            const juce::File folder = (juce::File ("/dev/shm").isDirectory() ? juce::File ("/dev/shm")
                                                                            : juce::File::getSpecialLocation (juce::File::tempDirectory))
                                          .getChildFile ("plimsar-fuzz-home-" + juce::Uuid().toString());
        };

        static const Home home;
        return juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory).getChildFile ("plimsar.settings");
    }

    // A device manager that knows no device types, so the stored setup is read without opening
    // any device.
    struct DevicelessManager : juce::AudioDeviceManager
    {
        void createAudioDeviceTypes (juce::OwnedArray<juce::AudioIODeviceType>&) override {}
    };
}

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size)
{
    auto& processor = AlxFuzzHost::processor();
    const auto file = settingsFile();
    file.getParentDirectory().createDirectory();
    file.replaceWithData (data, size);

    std::ostringstream report;
    const auto settings = AlxStandaloneSettings::createFile (report);
    AlxStandaloneSettings::getWindowPosition (*settings);

    if (const auto setup = AlxStandaloneSettings::getAudioSetup (*settings))
    {
        DevicelessManager deviceManager;
        deviceManager.initialise (0, 2, setup.get(), true);
    }

    if (AlxStandaloneSettings::restoreFilterState (*settings, processor))
    {
        AlxMessageLoop::deliverPending();
        AlxFuzzHost::restore (-1);
    }

    AlxMessageLoop::deliverPending();
    AlxFuzzHost::forgetNames();
    return 0;
}
