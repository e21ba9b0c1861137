#include "standalone/AlxStandaloneSettings.h"

juce::PropertiesFile::Options AlxStandaloneSettings::getOptions()
{
    juce::PropertiesFile::Options options;
    options.applicationName = "plimsar";
    options.filenameSuffix = "settings";
    options.osxLibrarySubFolder = "Preferences";
    options.commonToAllUsers = false;
    options.millisecondsBeforeSaving = 3000;
    options.storageFormat = juce::PropertiesFile::storeAsXML;
    return options;
}

std::unique_ptr<juce::PropertiesFile> AlxStandaloneSettings::createFile (std::ostream& report)
{
    const auto options = getOptions();

   #if JUCE_LINUX || JUCE_BSD
    // The library's default on these systems is a hidden folder in the home directory; the
    // user's configuration folder is where desktop settings belong.
    const auto file = juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory)
                          .getChildFile (options.applicationName + "." + options.filenameSuffix);
    auto settings = std::make_unique<juce::PropertiesFile> (file, options);
   #else
    auto settings = std::make_unique<juce::PropertiesFile> (options);
   #endif

    if (settings->isValidFile())
        return settings;

    const auto unreadable = settings->getFile();
    const auto keptCopy = unreadable.getSiblingFile (unreadable.getFileName() + ".bad");
    const auto path = unreadable.getFullPathName().toStdString();

    if (unreadable.copyFileTo (keptCopy))
    {
        report << "plimsar: could not read the settings file " << path << "; kept it as "
               << keptCopy.getFullPathName().toStdString() << " and started with default settings" << std::endl;
        return settings;
    }

    // A settings object without a file never writes.
    report << "plimsar: could not read the settings file " << path
           << " nor keep a copy of it; started with default settings, which will not be saved" << std::endl;
    return std::make_unique<juce::PropertiesFile> (juce::File(), options);
}

std::optional<juce::Point<int>> AlxStandaloneSettings::getWindowPosition (const juce::PropertySet& settings)
{
    const int x = settings.getIntValue (windowXKey, noPosition);
    const int y = settings.getIntValue (windowYKey, noPosition);

    if (x == noPosition || y == noPosition)
        return std::nullopt;

    return juce::Point<int> (x, y);
}

void AlxStandaloneSettings::storeWindowPosition (juce::PropertySet& settings, juce::Point<int> position)
{
    settings.setValue (windowXKey, position.x);
    settings.setValue (windowYKey, position.y);
}

std::unique_ptr<juce::XmlElement> AlxStandaloneSettings::getAudioSetup (const juce::PropertySet& settings)
{
    return settings.getXmlValue (audioSetupKey);
}

void AlxStandaloneSettings::storeAudioSetup (juce::PropertySet& settings, const juce::AudioDeviceManager& deviceManager)
{
    settings.setValue (audioSetupKey, deviceManager.createStateXml().get());
}

bool AlxStandaloneSettings::restoreFilterState (const juce::PropertySet& settings, juce::AudioProcessor& processor)
{
    juce::MemoryOutputStream state;

    if (! juce::Base64::convertFromBase64 (state, settings.getValue (filterStateKey)) || state.getDataSize() == 0)
        return false;

    processor.setStateInformation (state.getData(), (int) state.getDataSize());
    return true;
}

void AlxStandaloneSettings::storeFilterState (juce::PropertySet& settings, juce::AudioProcessor& processor)
{
    juce::MemoryBlock state;
    processor.getStateInformation (state);
    settings.setValue (filterStateKey, juce::Base64::toBase64 (state.getData(), state.getSize()));
}

void AlxStandaloneSettings::forgetFilterState (juce::PropertySet& settings)
{
    settings.removeValue (filterStateKey);
}
