#include "core/AlxProgramModule.h"
#include "modules/AlxTransportModule.h"
#include "synth/AlxSynthModule.h"
#include "support/AlxTestHost.h"

#include <gtest/gtest.h>

TEST (AlxPlimsarModule, identifiesThePlugIn)
{
    AlxTestHost host;
    auto& root = host.getRoot();
    EXPECT_EQ (root.getPluginName(), "plimsar");
    EXPECT_EQ (host.getProcessor().getName(), "plimsar");
    EXPECT_EQ (root.getVersionString(), "1.5.544");
    EXPECT_EQ (root.getPluginId(), 0x515A3034);
    EXPECT_EQ (root.getId(), 4);
    EXPECT_EQ (host.getContainer().findModule (4), &root);
    EXPECT_EQ (root.getProgramModule(), host.getContainer().getProgramModule());
}

TEST (AlxPlimsarModule, theOwnClockAdvancesByEveryBlock)
{
    AlxTestHost host (48000.0);
    auto& transport = *host.getRoot().getTransportModule();
    host.run (48000, 480);
    EXPECT_DOUBLE_EQ (transport.getSampleCounter(), 48000.0);
    EXPECT_NEAR (transport.getPosition().ppqPosition, (48000.0 - 480.0) / transport.getSamplesPerQuarter(), 1.0e-9);
}

TEST (AlxPlimsarModule, blocksNearTheEndOfTheSampleCountPassThroughUntouched)
{
    AlxTestHost host (48000.0);
    auto& transport = *host.getRoot().getTransportModule();
    // The guard looks at the position the transport applied in the block before.
    transport.setSampleCounter (2147483647.0 - 100.0);
    host.processBlock (64);
    const double counter = transport.getSampleCounter();
    EXPECT_DOUBLE_EQ (counter, 2147483647.0 - 36.0);

    juce::MidiBuffer input;
    input.addEvent (juce::MidiMessage::noteOn (1, 60, 1.0f), 3);
    host.processBlock (600, input);
    EXPECT_DOUBLE_EQ (transport.getSampleCounter(), counter);
    ASSERT_EQ (host.getMidi().getNumEvents(), 1);
    EXPECT_EQ ((*host.getMidi().begin()).samplePosition, 3);

    transport.setSampleCounter (0.0);
    host.processBlock (64);
    host.processBlock (64);
    EXPECT_DOUBLE_EQ (transport.getSampleCounter(), 128.0);
}

TEST (AlxPlimsarModule, cablesAreWiredOnlyBetweenPrepareAndRelease)
{
    AlxTestHost host;
    auto& root = host.getRoot();
    std::vector<AlxModule*> modules;
    std::function<void (AlxModule&)> collect = [&] (AlxModule& m)
    {
        modules.push_back (&m);
        for (auto& child : m.getChildren())
            collect (*child);
    };
    collect (root);

    auto connectedPins = [&]
    {
        int count = 0;
        for (auto* m : modules)
            for (auto& pin : m->getPins())
                count += pin->getCables().empty() ? 0 : 1;
        return count;
    };

    int pins = 0;
    for (auto* m : modules)
        pins += (int) m->getPins().size();

    EXPECT_GT (pins, 0);
    EXPECT_EQ (connectedPins(), pins) << "every pin is connected while prepared";

    host.getProcessor().releaseResources();
    EXPECT_EQ (connectedPins(), 0);
    EXPECT_FALSE (root.getSynthModule()->isActive());

    host.prepare (44100.0, 512);
    EXPECT_EQ (connectedPins(), pins);
}
