#include "midi/AlxMidiOutputDeviceManager.h"
#include "support/AlxMemoryMidiDeviceService.h"

#include <gtest/gtest.h>

namespace
{
    std::vector<int> notesOf (const std::vector<juce::MidiMessage>& messages)
    {
        std::vector<int> notes;

        for (auto& m : messages)
            notes.push_back (m.getNoteNumber());

        return notes;
    }

    juce::MidiMessage note (int number)
    {
        return juce::MidiMessage::noteOn (1, number, (juce::uint8) 100);
    }

    class AlxMidiOutputDeviceManagerTest : public testing::Test
    {
    protected:
        AlxMidiOutputDeviceManagerTest()
        {
            for (auto* name : { "A", "B", "C" })
            {
                service.addOutput (name);
                manager.setEnabled (name, true);
            }
        }

        AlxMemoryMidiDeviceService service;
        AlxMidiOutputDeviceManager manager { service };
    };
}

TEST_F (AlxMidiOutputDeviceManagerTest, sendsByPositionAndByName)
{
    manager.sendMessageNow (1, note (60));
    manager.sendMessageTo ("C", note (61));
    manager.sendMessageTo ("A", note (62));

    // Positions follow the enabled order, also after a device in the middle is disabled.
    manager.setEnabled ("B", false);
    manager.sendMessageNow (1, note (63));

    EXPECT_EQ (notesOf (service.getSent ("A")), std::vector<int> { 62 });
    EXPECT_EQ (notesOf (service.getSent ("B")), std::vector<int> { 60 });
    EXPECT_EQ (notesOf (service.getSent ("C")), (std::vector<int> { 61, 63 }));
}

TEST_F (AlxMidiOutputDeviceManagerTest, sendsToNoDeviceGoNowhere)
{
    manager.setEnabled ("B", false);

    for (int index : { -1, 2, 3 })
        manager.sendMessageNow (index, note (60));

    manager.sendMessageTo ("B", note (60));
    manager.sendMessageTo ("Nowhere", note (60));

    for (auto* name : { "A", "B", "C" })
        EXPECT_TRUE (service.getSent (name).empty()) << name;
}

TEST_F (AlxMidiOutputDeviceManagerTest, sendingToADeviceThatDisappearedIsHarmless)
{
    service.removeOutput ("B");
    manager.sendMessageTo ("B", note (60));
    manager.sendMessageTo ("C", note (61));

    EXPECT_EQ (notesOf (service.getSent ("C")), std::vector<int> { 61 });
}
