#include "core/AlxProgramModule.h"
#include "modules/AlxGrooveModule.h"
#include "modules/AlxLFOGroupModule.h"
#include "modules/AlxTransportModule.h"
#include "modules/AlxTriggerModule.h"
#include "synth/AlxSynthModule.h"
#include "support/AlxNotePath.h"
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

TEST (AlxPlimsarModule, thePathPlaysOnTheGridFarPastAThirtyTwoBitSampleCount)
{
    // Song positions beyond 2^31 and 2^32 samples (a day at 44.1 kHz, hours at 192 kHz): the
    // quarter-note grid keeps firing on its song samples, with no gap and no drift.
    for (const double startSample : { 2147483647.0 - 5000.0, 4294967296.0 * 3.0 + 17.0, 86400.0 * 192000.0 })
    {
        AlxTestHost host (192000.0);
        AlxNotePath path (host);
        path.select (host.getRoot().getTriggerModule()->getStepParameter(), "1/4");
        path.select (host.getRoot().getGrooveModule()->getPatternParameter(), "Off");
        path.hold ({ 60 });
        path.start();
        path.run (0, 512);

        auto& transport = *host.getRoot().getTransportModule();
        const double samplesPerQuarter = transport.getSamplesPerQuarter();
        transport.setSampleCounter (startSample);
        const auto notes = path.run ((juce::int64) (samplesPerQuarter * 8.0), 509);

        const auto ons = AlxNotePath::samples (notes, true);
        ASSERT_EQ (ons.size(), 8u) << startSample;
        EXPECT_EQ (path.getMisplacedNoteOns(), 0);

        for (size_t i = 0; i < ons.size(); ++i)
        {
            // Grid point k lies at song sample k x samplesPerQuarter.
            const double songSample = startSample + (double) ons[i];
            const double quarter = songSample / samplesPerQuarter;
            EXPECT_NEAR (quarter, std::round (quarter), 1.0 / samplesPerQuarter) << startSample << " note " << i;
        }

        EXPECT_EQ (AlxNotePath::samples (notes, false).size(), 8u);
        EXPECT_DOUBLE_EQ (transport.getSampleCounter(), startSample + std::floor (samplesPerQuarter * 8.0));
    }
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

TEST (AlxPlimsarModule, buildsTheNoteGenerationStagesInTreeOrder)
{
    AlxTestHost host;
    auto& root = host.getRoot();
    std::vector<int> ids;

    for (auto& child : root.getChildren())
        ids.push_back (child->getId());

    EXPECT_EQ (ids, (std::vector<int> { 1000, 2000, 3000, 3100, 4000, 5000, 6000, 7000, 8000, 9000 }));

    const auto& lfos = root.getLfoGroup()->getChildren();
    ASSERT_EQ (lfos.size(), 2u);
    EXPECT_EQ (lfos[0]->getId(), 700100);
    EXPECT_EQ (lfos[0]->getName(), "L1");
    EXPECT_EQ (lfos[1]->getId(), 700101);
    EXPECT_EQ (lfos[1]->getName(), "L2");
    EXPECT_EQ (host.getContainer().findModule (700101), lfos[1].get());
}

TEST (AlxPlimsarModule, hostsSeeTheNoteSettingsInModuleOrder)
{
    AlxTestHost host;
    const auto& parameters = host.getProcessor().getParameters();
    const juce::StringArray names {
        "Step", "Mod-Step", "Velocity", "Mod-Velocity", "Gate", "Mod-Gate",
        "Beats", "Mod-Beats", "Groove", "Mod-Groove", "Width", "Mod-Width",
        "Doubling", "Mod-Doubling", "Arp mask", "Mod-Arp",
        "L1/Shape", "L1/Frequency", "L1/Per", "L1/Level", "L1/Phase", "L1/DC Offset", "L1/Pulse width", "L1/Noise",
        "L2/Shape", "L2/Frequency", "L2/Per", "L2/Level", "L2/Phase", "L2/DC Offset", "L2/Pulse width", "L2/Noise",
        "Gain"
    };

    ASSERT_EQ (parameters.size(), names.size());

    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ (parameters[i]->getName (100), names[i]) << i;

    // Program settings are reached through the current program: the host reads its values.
    EXPECT_EQ (parameters[0]->getCurrentValueAsText(), "1/4");
    EXPECT_EQ (parameters[4]->getCurrentValueAsText(), "90 %");
    EXPECT_EQ (parameters[19]->getCurrentValueAsText(), "1.00");
}

TEST (AlxPlimsarModule, theTriggerIsWiredOnlyWhileAudioRuns)
{
    AlxTestHost host;
    auto& root = host.getRoot();
    auto& trigger = *root.getTriggerModule();

    EXPECT_EQ (trigger.getKeyboardInputPin()->getFirstCable(), &root.getHeldKeysCable());
    EXPECT_EQ (trigger.getMidiInputPin()->getFirstCable(), &root.getInputMidiCable());
    EXPECT_EQ (trigger.getMidiOutputPin()->getFirstCable(), &root.getGeneratedMidiCable());
    EXPECT_TRUE (trigger.isActive());

    host.getProcessor().releaseResources();
    EXPECT_TRUE (trigger.getKeyboardInputPin()->getCables().empty());
    EXPECT_TRUE (trigger.getMidiInputPin()->getCables().empty());
    EXPECT_TRUE (trigger.getMidiOutputPin()->getCables().empty());
    EXPECT_FALSE (trigger.isActive());

    host.prepare (48000.0, 512);
    EXPECT_EQ (trigger.getMidiOutputPin()->getCables().size(), 1u);
}

// The reset that a start asks for belongs to the start's first block. Were it delivered as a
// message of its own, a block could run in between and play the start's first notes, and the late
// reset would then cut them off with All Notes Off.
TEST (AlxPlimsarModule, aStartTakesItsResetWithItsFirstBlock)
{
    AlxTestHost host;
    auto& transport = *host.getRoot().getTransportModule();
    ASSERT_TRUE (transport.isArmed());

    auto allNotesOffs = [&host]
    {
        int count = 0;
        for (const auto metadata : *host.getRoot().getSynthMidiCable().getObject())
            count += metadata.getMessage().isAllNotesOff() ? 1 : 0;
        return count;
    };

    // Blocks while Armed take up whatever was pending before.
    host.run (2048, 512);
    ASSERT_EQ (allNotesOffs(), 0);

    // The play request arriving on the message thread, with no other message delivered yet.
    transport.handleModuleMessage (transport.getStateParameter(), 0x1806, 0);
    ASSERT_TRUE (transport.isPlaying());

    host.processBlock (512);
    EXPECT_GT (allNotesOffs(), 0) << "the first block starts clean";

    host.deliver();
    host.processBlock (512);
    host.processBlock (512);
    EXPECT_EQ (allNotesOffs(), 0) << "nothing cuts the notes the start began";
}
