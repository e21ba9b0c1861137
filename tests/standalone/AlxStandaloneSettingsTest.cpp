#include "standalone/AlxStandaloneSettings.h"

#include "core/AlxPlimsarFilter.h"
#include "support/AlxMessageLoop.h"
#include "support/AlxTemporaryHome.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <iostream>
#include <sstream>

namespace
{
    juce::MemoryBlock stateOf (juce::AudioProcessor& processor)
    {
        AlxMessageLoop::deliverPending();
        juce::MemoryBlock state;
        processor.getStateInformation (state);
        return state;
    }

    struct InitialisedFilter : AlxPlimsarFilter
    {
        InitialisedFilter() { initialise(); }
    };

    // The settings file lands where the application would put it, in a home folder of its own.
    class AlxStandaloneSettingsFile : public AlxTemporaryHome
    {
    };
}

TEST_F (AlxStandaloneSettingsFile, keepsEveryKeyAcrossARestartInTheUsersConfigurationFolder)
{
    InitialisedFilter saved;
    saved.changeProgramName (0, "Kept across restart");
    juce::XmlElement audioSetup ("DEVICESETUP");
    audioSetup.setAttribute ("deviceType", "JACK");

    {
        auto settings = AlxStandaloneSettings::createFile (std::cerr);
        EXPECT_EQ (settings->getFile(), home.getFile().getChildFile (".config/plimsar.settings"));
        AlxStandaloneSettings::storeWindowPosition (*settings, { 17, 23 });
        settings->setValue (AlxStandaloneSettings::audioSetupKey, &audioSetup);
        AlxStandaloneSettings::storeFilterState (*settings, saved);
        ASSERT_TRUE (settings->save());
    }

    const auto written = juce::XmlDocument::parse (home.getFile().getChildFile (".config/plimsar.settings"));
    ASSERT_NE (written, nullptr);
    EXPECT_TRUE (written->hasTagName ("PROPERTIES"));

    auto settings = AlxStandaloneSettings::createFile (std::cerr);

    for (auto* key : { AlxStandaloneSettings::windowXKey, AlxStandaloneSettings::windowYKey,
                       AlxStandaloneSettings::audioSetupKey, AlxStandaloneSettings::filterStateKey })
        EXPECT_TRUE (settings->containsKey (key)) << key;

    EXPECT_EQ (AlxStandaloneSettings::getWindowPosition (*settings), juce::Point<int> (17, 23));
    const auto restoredSetup = AlxStandaloneSettings::getAudioSetup (*settings);
    ASSERT_NE (restoredSetup, nullptr);
    EXPECT_EQ (restoredSetup->getStringAttribute ("deviceType"), "JACK");

    InitialisedFilter restored;
    EXPECT_TRUE (AlxStandaloneSettings::restoreFilterState (*settings, restored));
    EXPECT_EQ (restored.getProgramName (0), "Kept across restart");
    EXPECT_EQ (stateOf (restored), stateOf (saved));
}

// Files the library's XML reader would read past the end of, or loop on forever (found by the
// settings fuzz target; fuzz/corpus/settings/regression-*): the application must start, on empty
// settings, and the file must survive for the user to look at.
TEST_F (AlxStandaloneSettingsFile, aFileTheXmlReaderCannotBeTrustedWithIsSetAsideAndTheSettingsStartEmpty)
{
    const std::pair<const char*, std::string> cases[] = {
        { "truncated UTF-8 at the end", "<PROPERTIES>\xff" },
        { "a processing instruction followed by text", "<PROPERTIES><VALUE name=\"windowX\" val=\"5\"/><?x?>y</PROPERTIES>" },
        // The library's one-line writer of a value's nested XML prints a null line break here.
        { "an element after text inside a value's nested XML",
          "<PROPERTIES><VALUE name=\"audioSetup\"><DEVICESETUP deviceType=\"JACK\" audioDeviceBufferSize=\"256\" "
          "audioDeviceOutChans=\"11\">|||<MIDIINPUT name=\"keyboard\"/></DEVICESETUP></VALUE></PROPERTIES>" },
        // The library's binary reader counts down from the lowest int (found by the settings fuzz
        // target).
        { "a binary file storing a negative count", std::string ("PROP\0\0\0\x80\0\0\0\0", 12) },
    };
    const auto folder = home.getFile().getChildFile (".config");
    const auto file = folder.getChildFile ("plimsar.settings");
    const auto setAside = folder.getChildFile ("plimsar.settings.bad");

    for (auto& [what, text] : cases)
    {
        SCOPED_TRACE (what);
        const juce::MemoryBlock content (text.data(), text.size());
        ASSERT_TRUE (folder.createDirectory());
        ASSERT_TRUE (file.replaceWithData (content.getData(), content.getSize()));

        std::ostringstream report;
        const auto settings = AlxStandaloneSettings::createFile (report);

        EXPECT_EQ (juce::StringArray::fromLines (juce::String (report.str()).trimEnd()).size(), 1) << report.str();
        EXPECT_EQ (settings->getFile(), file);
        EXPECT_EQ (settings->getAllProperties().size(), 0);
        EXPECT_FALSE (file.exists());
        juce::MemoryBlock kept;
        EXPECT_TRUE (setAside.loadFileAsData (kept));
        EXPECT_EQ (kept, content);
    }
}

TEST (AlxStandaloneSettings, anAudioSetupTheXmlReaderCannotBeTrustedWithIsNotHandedOn)
{
    struct Case { const char* stored; bool handedOn; };
    const Case cases[] = {
        { "<DEVICESETUP deviceType=\"JACK\"/>", true },
        { "<a><?x?>y</a>", false },   // the reader would loop forever
        { "<!DOCTYPE a [<!ENTITY e \"<b/>\">]><a>&e;</a>", false },
    };

    for (auto& c : cases)
    {
        juce::PropertySet settings;
        settings.setValue (AlxStandaloneSettings::audioSetupKey, c.stored);
        EXPECT_EQ (AlxStandaloneSettings::getAudioSetup (settings) != nullptr, c.handedOn) << c.stored;
    }
}

TEST (AlxStandaloneSettings, anAudioSetupIsHandedOnWithItsSampleRateOnlyWhenThatIsAPositiveNumber)
{
    struct Case { const char* rate; bool kept; };
    const Case cases[] = {
        { "48000", true },
        { "4.41e4", true },
        { "1e5555555555", false },   // the device manager's number reader would overflow
        { "-1e-5555555555", false },
        { "0", false },
        { "-44100", false },
        { "fast", false },
    };

    for (auto& c : cases)
    {
        SCOPED_TRACE (c.rate);
        juce::XmlElement stored ("DEVICESETUP");
        stored.setAttribute ("deviceType", "JACK");
        stored.setAttribute ("audioDeviceRate", c.rate);
        juce::PropertySet settings;
        settings.setValue (AlxStandaloneSettings::audioSetupKey, &stored);

        const auto setup = AlxStandaloneSettings::getAudioSetup (settings);
        ASSERT_NE (setup, nullptr);
        EXPECT_EQ (setup->getStringAttribute ("deviceType"), "JACK");
        EXPECT_EQ (setup->getStringAttribute ("audioDeviceRate", "dropped"), c.kept ? c.rate : "dropped");
    }
}

TEST (AlxStandaloneSettings, storesAnEmptyAudioSetupForADeviceManagerWithoutAnExplicitOne)
{
    juce::PropertySet settings;
    juce::AudioDeviceManager deviceManager;

    AlxStandaloneSettings::storeAudioSetup (settings, deviceManager);

    EXPECT_TRUE (settings.containsKey (AlxStandaloneSettings::audioSetupKey));
    EXPECT_EQ (AlxStandaloneSettings::getAudioSetup (settings), nullptr);
}

TEST (AlxStandaloneSettings, usesAWindowPositionOnlyWhenBothCoordinatesAreStored)
{
    struct Case { const char* x; const char* y; std::optional<juce::Point<int>> expected; };
    const Case cases[] = {
        { nullptr, nullptr, std::nullopt },
        { "40", nullptr, std::nullopt },
        { nullptr, "40", std::nullopt },
        { "-100", "40", std::nullopt },
        { "40", "-100", std::nullopt },
        { "40", "50", juce::Point<int> (40, 50) },
        { "-30", "0", juce::Point<int> (-30, 0) },
    };

    for (auto& c : cases)
    {
        juce::PropertySet settings;

        if (c.x != nullptr)
            settings.setValue (AlxStandaloneSettings::windowXKey, c.x);

        if (c.y != nullptr)
            settings.setValue (AlxStandaloneSettings::windowYKey, c.y);

        EXPECT_EQ (AlxStandaloneSettings::getWindowPosition (settings), c.expected)
            << (c.x != nullptr ? c.x : "none") << ", " << (c.y != nullptr ? c.y : "none");
    }
}

TEST_F (AlxStandaloneSettingsFile, anUnreadableFileIsKeptAsACopyBeforeItIsReplaced)
{
    const auto file = home.getFile().getChildFile (".config/plimsar.settings");
    const auto copy = home.getFile().getChildFile (".config/plimsar.settings.bad");
    ASSERT_TRUE (file.getParentDirectory().createDirectory());

    for (const char* content : { "<PROPERTIES><VALUE name=\"windowX\" val=\"3\"/>", "", "\x01\x02 binary" })
    {
        ASSERT_TRUE (file.replaceWithText (content));
        copy.deleteFile();
        testing::internal::CaptureStderr();
        auto settings = AlxStandaloneSettings::createFile (std::cerr);
        const auto report = testing::internal::GetCapturedStderr();

        EXPECT_EQ (report, "plimsar: could not read the settings file " + file.getFullPathName().toStdString()
                               + "; kept it as " + copy.getFullPathName().toStdString()
                               + " and started with default settings\n") << content;
        EXPECT_EQ (copy.loadFileAsString(), juce::String (content));
        EXPECT_TRUE (settings->getAllProperties().getAllKeys().isEmpty());

        // The damaged file gives way to sound settings; the copy stays.
        AlxStandaloneSettings::storeWindowPosition (*settings, { 5, 6 });
        ASSERT_TRUE (settings->save());
        EXPECT_EQ (copy.loadFileAsString(), juce::String (content));
        EXPECT_EQ (AlxStandaloneSettings::getWindowPosition (*AlxStandaloneSettings::createFile (std::cerr)),
                   juce::Point<int> (5, 6));
    }
}

TEST_F (AlxStandaloneSettingsFile, aReadableFileOrNoneIsOpenedWithoutAWord)
{
    const auto file = home.getFile().getChildFile (".config/plimsar.settings");

    for (bool exists : { false, true })
    {
        testing::internal::CaptureStderr();
        auto settings = AlxStandaloneSettings::createFile (std::cerr);
        EXPECT_EQ (testing::internal::GetCapturedStderr(), "") << exists;
        EXPECT_EQ (settings->getFile(), file);
        AlxStandaloneSettings::storeWindowPosition (*settings, { 1, 2 });
        ASSERT_TRUE (settings->save());
    }

    EXPECT_FALSE (file.getSiblingFile ("plimsar.settings.bad").exists());
}

TEST_F (AlxStandaloneSettingsFile, aFileThatCannotEvenBeCopiedIsNeverOverwritten)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser reads every file";

    const auto file = home.getFile().getChildFile (".config/plimsar.settings");
    ASSERT_TRUE (file.getParentDirectory().createDirectory());
    ASSERT_TRUE (file.replaceWithText ("<PROPERTIES/>"));
    ASSERT_TRUE (file.setReadOnly (true));
    ASSERT_EQ (chmod (file.getFullPathName().toRawUTF8(), 0), 0);

    testing::internal::CaptureStderr();
    {
        auto settings = AlxStandaloneSettings::createFile (std::cerr);
        AlxStandaloneSettings::storeWindowPosition (*settings, { 5, 6 });
        EXPECT_FALSE (settings->save());
    }
    const auto report = testing::internal::GetCapturedStderr();

    EXPECT_EQ (report, "plimsar: could not read the settings file " + file.getFullPathName().toStdString()
                           + " nor keep a copy of it; started with default settings, which will not be saved\n");
    ASSERT_EQ (chmod (file.getFullPathName().toRawUTF8(), 0644), 0);
    EXPECT_EQ (file.loadFileAsString(), "<PROPERTIES/>");
    EXPECT_FALSE (file.getSiblingFile ("plimsar.settings.bad").exists());
}

TEST (AlxStandaloneSettings, aStateThatDoesNotDecodeLeavesTheProcessorInItsInitialState)
{
    InitialisedFilter untouched;
    const auto initialState = stateOf (untouched);

    struct Case { const char* stored; bool handedOver; };
    const Case cases[] = {
        { nullptr, false },       // never stored
        { "", false },
        { "not base64!", false },
        { "PGZ4Yj4", false },     // cut off inside a group of four
        { "=AAA", false },
        { "bm90IHhtbA==", true }, // decodes, but to "not xml"
        { "AAAA", true },         // decodes to three zero bytes
    };

    for (auto& c : cases)
    {
        juce::PropertySet settings;

        if (c.stored != nullptr)
            settings.setValue (AlxStandaloneSettings::filterStateKey, c.stored);

        InitialisedFilter processor;
        EXPECT_EQ (AlxStandaloneSettings::restoreFilterState (settings, processor), c.handedOver)
            << (c.stored != nullptr ? c.stored : "none");
        EXPECT_EQ (stateOf (processor), initialState) << (c.stored != nullptr ? c.stored : "none");
    }
}

TEST (AlxStandaloneSettings, aForgottenStateIsNotRestored)
{
    InitialisedFilter saved;
    saved.changeProgramName (3, "Forgotten");
    juce::PropertySet settings;
    AlxStandaloneSettings::storeFilterState (settings, saved);

    AlxStandaloneSettings::forgetFilterState (settings);

    InitialisedFilter processor, untouched;
    EXPECT_FALSE (settings.containsKey (AlxStandaloneSettings::filterStateKey));
    EXPECT_FALSE (AlxStandaloneSettings::restoreFilterState (settings, processor));
    EXPECT_EQ (stateOf (processor), stateOf (untouched));
}
