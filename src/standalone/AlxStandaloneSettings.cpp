#include "standalone/AlxStandaloneSettings.h"

#include "framework/AlxNumberText.h"
#include "framework/AlxXmlGuard.h"

#include <cmath>
#include <limits>

namespace
{
    // The attribute of a stored device setup that JUCE's device manager reads as the sample rate.
    constexpr const char* audioDeviceRateKey = "audioDeviceRate";

    // The library reads a settings file as its binary layout when it starts with one of these
    // marks, and otherwise as XML.
    bool isBinarySettings (const juce::MemoryBlock& content)
    {
        if (content.getSize() < 4)
            return false;

        const auto mark = (int) juce::ByteOrder::littleEndianInt (content.getData());
        return mark == (int) juce::ByteOrder::makeInt ('P', 'R', 'O', 'P') || mark == (int) juce::ByteOrder::makeInt ('C', 'P', 'R', 'P');
    }

    // The library counts a binary file's values down from the count it stores, which overflows
    // for the lowest int; no file it writes stores a negative count.
    bool storesNegativeCount (const juce::MemoryBlock& content)
    {
        juce::MemoryInputStream raw (content, false);
        const bool compressed = raw.readInt() == (int) juce::ByteOrder::makeInt ('C', 'P', 'R', 'P');

        if (! compressed)
            return raw.readInt() < 0;

        juce::GZIPDecompressorInputStream values (raw);
        return values.readInt() < 0;
    }

    // The library hands a value's nested XML on as one line of text, and its single-line writer
    // prints a line break that does not exist (a null text) for an element that follows text
    // inside it: such a file would crash every start. Settings the application saved never mix
    // text and elements.
    bool holdsElementAfterText (const juce::XmlElement& element)
    {
        bool afterText = false;

        for (auto* child : element.getChildIterator())
        {
            if (child->isTextElement())
                afterText = true;
            else if (afterText || holdsElementAfterText (*child))
                return true;
        }

        return false;
    }

    // The library's XML reader cannot be trusted with every text (AlxXmlGuard). A settings file it
    // would fail on is moved aside as "<name>.bad", kept for whoever wants to look at it, and the
    // application starts on default settings instead of crashing on every start. True when it
    // was moved.
    bool setAsideIfUnreadable (const juce::File& file)
    {
        juce::MemoryBlock content;

        if (! file.existsAsFile() || ! file.loadFileAsData (content))
            return false;

        if (isBinarySettings (content))
            return storesNegativeCount (content) && file.moveFileTo (file.getSiblingFile (file.getFileName() + ".bad"));

        // The bytes as the reader takes them: reading the file as text would replace what is not
        // UTF-8, and the guard would look at another text than the reader.
        const auto text = juce::String::fromUTF8 (static_cast<const char*> (content.getData()),
                                                  (int) juce::jmin (content.getSize(), (size_t) std::numeric_limits<int>::max()));

        const auto unreadable = [&]
        {
            if (! AlxXmlGuard::canParse (text))
                return true;

            const auto xml = juce::XmlDocument::parse (text);
            return xml != nullptr && holdsElementAfterText (*xml);
        };

        return unreadable() && file.moveFileTo (file.getSiblingFile (file.getFileName() + ".bad"));
    }
}

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
   #else
    const auto file = options.getDefaultFile();
   #endif

    if (setAsideIfUnreadable (file))
        report << "plimsar: the settings file " << file.getFullPathName().toStdString()
               << " could not be read safely; moved it to " << file.getFileName().toStdString()
               << ".bad and started with default settings" << std::endl;

    auto settings = std::make_unique<juce::PropertiesFile> (file, options);

    if (settings->isValidFile())
        return settings;

    const auto keptCopy = file.getSiblingFile (file.getFileName() + ".bad");
    const auto path = file.getFullPathName().toStdString();

    if (file.copyFileTo (keptCopy))
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
    const auto text = settings.getValue (audioSetupKey);

    if (text.isEmpty() || ! AlxXmlGuard::canParse (text))
        return nullptr;

    auto setup = juce::parseXML (text);

    // The device manager reads the sample rate with JUCE's number reader, which overflows on an
    // exponent of ten digits or more. A rate that is not a positive finite number is dropped, and
    // the device manager then uses the device's own.
    if (setup != nullptr && setup->hasAttribute (audioDeviceRateKey))
    {
        const auto rate = AlxNumberText::attribute (*setup, audioDeviceRateKey, 0.0);

        if (! (std::isfinite (rate) && rate > 0.0))
            setup->removeAttribute (audioDeviceRateKey);
    }

    return setup;
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
