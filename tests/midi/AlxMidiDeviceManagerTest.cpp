// What both device managers do alike: enabling by name, the change messages, the saved XML.

#include "midi/AlxMidiInputDeviceManager.h"
#include "midi/AlxMidiOutputDeviceManager.h"
#include "support/AlxMemoryMidiDeviceService.h"
#include "support/AlxMessageLoop.h"

#include <gtest/gtest.h>

namespace
{
    struct Inputs
    {
        using Manager = AlxMidiInputDeviceManager;
        static constexpr const char* tag = "midiInputDeviceManager";
        static constexpr const char* childTag = "midiInput";
        static void add (AlxMemoryMidiDeviceService& s, const char* name) { s.addInput (name); }
        static int countOpen (AlxMemoryMidiDeviceService& s, const char* name) { return s.countOpenInputs (name); }
    };

    struct Outputs
    {
        using Manager = AlxMidiOutputDeviceManager;
        static constexpr const char* tag = "midiOutputDeviceManager";
        static constexpr const char* childTag = "midiOutput";
        static void add (AlxMemoryMidiDeviceService& s, const char* name) { s.addOutput (name); }
        static int countOpen (AlxMemoryMidiDeviceService& s, const char* name) { return s.countOpenOutputs (name); }
    };

    struct ChangeCounter : juce::ChangeListener
    {
        void changeListenerCallback (juce::ChangeBroadcaster*) override { ++count; }

        // Change messages are coalesced until delivered, so each step delivers before counting.
        int take()
        {
            AlxMessageLoop::deliverPending();
            return std::exchange (count, 0);
        }

        int count = 0;
    };

    template <class Kind>
    class AlxMidiDeviceManagerTest : public testing::Test
    {
    protected:
        using Manager = typename Kind::Manager;

        AlxMidiDeviceManagerTest()
        {
            for (auto* name : { "A", "B", "C", "Broken" })
                Kind::add (service, name);

            service.setFailsToOpen ("Broken", true);
            manager = std::make_unique<Manager> (service);
            manager->addChangeListener (&changes);
        }

        ~AlxMidiDeviceManagerTest() override
        {
            if (manager != nullptr)
                manager->removeChangeListener (&changes);
        }

        juce::StringArray enabledNames() const
        {
            juce::StringArray names;
            manager->getEnabledNames (names);
            return names;
        }

        int countOpen (const char* name) { return Kind::countOpen (service, name); }

        std::unique_ptr<juce::XmlElement> makeXml (const juce::String& tag, const juce::StringArray& names)
        {
            auto xml = std::make_unique<juce::XmlElement> (tag);

            for (auto& name : names)
                xml->createNewChildElement (Kind::childTag)->setAttribute ("name", name);

            return xml;
        }

        AlxMemoryMidiDeviceService service;
        std::unique_ptr<Manager> manager;
        ChangeCounter changes;
    };

    using Kinds = testing::Types<Inputs, Outputs>;
    TYPED_TEST_SUITE (AlxMidiDeviceManagerTest, Kinds);
}

TYPED_TEST (AlxMidiDeviceManagerTest, enablesByNameInOrderAndOpensOnce)
{
    auto& m = *this->manager;
    m.setEnabled ("B", true);
    m.setEnabled ("A", true);
    EXPECT_EQ (this->changes.take(), 1);

    m.setEnabled ("B", true);
    EXPECT_EQ (this->changes.take(), 0);
    EXPECT_EQ (this->countOpen ("B"), 1);

    EXPECT_EQ (this->enabledNames(), juce::StringArray ("B", "A"));
    EXPECT_TRUE (m.isEnabled ("A"));
    EXPECT_FALSE (m.isEnabled ("a"));
    EXPECT_EQ (m.indexOf ("A"), 1);
    EXPECT_EQ (m.indexOf ("C"), -1);

    m.setEnabled ("B", false);
    EXPECT_EQ (this->changes.take(), 1);
    EXPECT_EQ (this->countOpen ("B"), 0);
    EXPECT_EQ (this->enabledNames(), juce::StringArray ("A"));
    EXPECT_EQ (m.indexOf ("A"), 0);
}

TYPED_TEST (AlxMidiDeviceManagerTest, disablingADeviceThatIsNotOpenChangesNothing)
{
    this->manager->setEnabled ("A", true);
    this->changes.take();

    this->manager->setEnabled ("C", false);
    this->manager->setEnabled ("Nowhere", false);
    EXPECT_EQ (this->changes.take(), 0);
    EXPECT_EQ (this->enabledNames(), juce::StringArray ("A"));
}

TYPED_TEST (AlxMidiDeviceManagerTest, devicesThatCannotBeOpenedAreNotAddedButListenersAreTold)
{
    for (auto* name : { "Broken", "Nowhere" })
    {
        SCOPED_TRACE (name);
        this->manager->setEnabled (name, true);
        EXPECT_EQ (this->changes.take(), 1);
        EXPECT_FALSE (this->manager->isEnabled (name));
        EXPECT_EQ (this->countOpen (name), 0);
    }
}

TYPED_TEST (AlxMidiDeviceManagerTest, xmlListsTheEnabledDevicesInOrder)
{
    auto& m = *this->manager;
    m.setEnabled ("A", true);
    m.setEnabled ("B", true);
    m.setEnabled ("A", false);

    const auto xml = m.createXml();
    EXPECT_EQ (xml->getTagName(), TypeParam::tag);
    ASSERT_EQ (xml->getNumChildElements(), 1);
    EXPECT_EQ (xml->getChildElement (0)->getTagName(), TypeParam::childTag);
    EXPECT_EQ (xml->getChildElement (0)->getStringAttribute ("name"), "B");
}

TYPED_TEST (AlxMidiDeviceManagerTest, restoreReopensTheListedDevicesThatExist)
{
    auto& m = *this->manager;
    m.setEnabled ("C", true);

    // The tag is compared ignoring case; absent and unopenable devices drop out; other
    // children are ignored.
    auto xml = this->makeXml (juce::String (TypeParam::tag).toUpperCase(), { "B", "Gone", "Broken", "A" });
    xml->createNewChildElement ("somethingElse")->setAttribute ("name", "C");
    m.restoreXml (xml.get());

    EXPECT_EQ (this->enabledNames(), juce::StringArray ("B", "A"));
    EXPECT_EQ (this->countOpen ("C"), 0);
    EXPECT_EQ (m.createXml()->toString(), this->makeXml (TypeParam::tag, { "B", "A" })->toString());
}

TYPED_TEST (AlxMidiDeviceManagerTest, restoreOfAnotherElementOrOfNothingClosesEverything)
{
    auto& m = *this->manager;
    const auto foreign = this->makeXml ("somethingElse", { "A" });

    for (const juce::XmlElement* xml : std::initializer_list<const juce::XmlElement*> { foreign.get(), nullptr })
    {
        m.setEnabled ("A", true);
        m.setEnabled ("B", true);
        m.restoreXml (xml);

        EXPECT_TRUE (this->enabledNames().isEmpty());
        EXPECT_EQ (this->countOpen ("A") + this->countOpen ("B"), 0);
    }
}

TYPED_TEST (AlxMidiDeviceManagerTest, destroyingTheManagerClosesItsDevices)
{
    this->manager->setEnabled ("A", true);
    this->manager->setEnabled ("B", true);
    this->manager->removeChangeListener (&this->changes);
    this->manager.reset();

    EXPECT_EQ (this->countOpen ("A") + this->countOpen ("B"), 0);
}

TYPED_TEST (AlxMidiDeviceManagerTest, aDeviceThatDisappearsStaysEnabledUntilDisabled)
{
    auto& m = *this->manager;
    m.setEnabled ("A", true);
    this->service.removeInput ("A");
    this->service.removeOutput ("A");

    EXPECT_TRUE (m.isEnabled ("A"));
    m.setEnabled ("A", false);
    EXPECT_EQ (this->countOpen ("A"), 0);

    // Enabling it again finds nothing to open.
    m.setEnabled ("A", true);
    EXPECT_FALSE (m.isEnabled ("A"));
}
