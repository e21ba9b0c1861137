#include "midi/AlxJuceMidiDeviceService.h"
#include "midi/AlxMidiInputDeviceManager.h"
#include "midi/AlxMidiOutputDeviceManager.h"
#include "support/AlxMemoryMidiDeviceService.h"

#include <gtest/gtest.h>

TEST (AlxMidiDeviceService, theSystemServiceIsTheDefaultUnlessReplaced)
{
    auto& system = AlxMidiDeviceService::getDefault();
    EXPECT_NE (dynamic_cast<AlxJuceMidiDeviceService*> (&system), nullptr);

    AlxMemoryMidiDeviceService outer, inner;
    {
        const AlxMidiDeviceService::ScopedDefault useOuter (outer);
        EXPECT_EQ (&AlxMidiDeviceService::getDefault(), &outer);
        {
            const AlxMidiDeviceService::ScopedDefault useInner (inner);
            EXPECT_EQ (&AlxMidiDeviceService::getDefault(), &inner);
        }
        EXPECT_EQ (&AlxMidiDeviceService::getDefault(), &outer);
    }
    EXPECT_EQ (&AlxMidiDeviceService::getDefault(), &system);
}

TEST (AlxMidiDeviceService, managersOpenThroughTheDefaultService)
{
    AlxMemoryMidiDeviceService service;
    service.addInput ("In");
    service.addOutput ("Out");
    const AlxMidiDeviceService::ScopedDefault useMemory (service);

    AlxMidiInputDeviceManager inputs;
    AlxMidiOutputDeviceManager outputs;
    inputs.setEnabled ("In", true);
    outputs.setEnabled ("Out", true);

    EXPECT_EQ (service.countOpenInputs ("In"), 1);
    EXPECT_EQ (service.countOpenOutputs ("Out"), 1);
}

// Names map to JUCE's device identifiers; a name JUCE does not list opens nothing.
TEST (AlxJuceMidiDeviceService, opensOnlyListedDevices)
{
    AlxJuceMidiDeviceService service;
    struct : AlxMidiInputDeviceCallback
    {
        void handleIncomingMidiMessage (AlxMidiInputDevice&, const juce::MidiMessage&) override {}
    } callback;

    const juce::String unlisted ("plimsar test: no such device");
    EXPECT_EQ (service.openInput (unlisted, callback), nullptr);
    EXPECT_EQ (service.openOutput (unlisted), nullptr);
}

TEST (AlxMemoryMidiDeviceService, listsDevicesAsTheyComeAndGo)
{
    AlxMemoryMidiDeviceService service;
    service.addInput ("Keys");
    service.addInput ("Pads");
    service.addInput ("Keys");
    service.addOutput ("Synth");
    service.removeInput ("Keys");

    EXPECT_EQ (service.getInputNames(), juce::StringArray ("Pads", "Keys"));
    EXPECT_EQ (service.getOutputNames(), juce::StringArray ("Synth"));
}
