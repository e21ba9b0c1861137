#include "core/AlxPlimsarFilter.h"
#include "core/AlxPlimsarModule.h"
#include "core/AlxProgramModule.h"
#include "support/AlxMessageLoop.h"
#include "support/AlxRecordingSink.h"

#include <gtest/gtest.h>

namespace
{
    struct HostDisplay : juce::AudioProcessorListener
    {
        void audioProcessorParameterChanged (juce::AudioProcessor*, int, float) override {}
        void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails& details) override
        {
            if (details.programChanged)
                ++programChanges;
        }

        int programChanges = 0;
    };

    struct ProgramFixture : testing::Test
    {
        ProgramFixture()
        {
            processor.initialise();
            processor.addListener (&display);
            AlxMessageLoop::deliverPending();
            display.programChanges = 0;
        }

        ~ProgramFixture() override { processor.removeListener (&display); }

        AlxProgramModule& programs() { return *processor.getContainer()->getProgramModule(); }
        AlxModule& root() { return *processor.getRootModule(); }

        AlxPlimsarFilter processor;
        HostDisplay display;
    };
}

TEST_F (ProgramFixture, programsAreUntitledUntilABankNamesThem)
{
    const AlxProgramDomain domain (nullptr);

    for (int i = 0; i < 128; ++i)
        ASSERT_EQ (domain.getValues()[(size_t) i]->getText(), "Untitled " + juce::String (i));

    EXPECT_EQ (processor.getNumPrograms(), 128);
    EXPECT_EQ (processor.getCurrentProgram(), 0);

    EXPECT_EQ (programs().getProgramDomainSet()->getProgramDomain()->getName(), "Preset");
    EXPECT_LT (programs().getProgramParameter()->getHostIndex(), 0);
}

TEST_F (ProgramFixture, hostSelectionSwitchesTheTreeBeforeReturning)
{
    processor.setCurrentProgram (5);
    EXPECT_EQ (root().getCurrentProgram(), 5);
    EXPECT_EQ (processor.getCurrentProgram(), 5);

    AlxMessageLoop::deliverPending();
    EXPECT_EQ (display.programChanges, 0) << "the host chose it, so the host is not told again";
}

TEST_F (ProgramFixture, editorSelectionSwitchesTheTreeWhenDeliveredAndUpdatesTheHost)
{
    auto* parameter = programs().getProgramParameter();
    parameter->setValue (parameter->getDomain()->getValues()[9].get(), 2, false, true);
    EXPECT_EQ (root().getCurrentProgram(), 0);

    AlxMessageLoop::deliverPending();
    EXPECT_EQ (root().getCurrentProgram(), 9);
    EXPECT_EQ (programs().getProgramSets().size(), 128u);
    EXPECT_GE (display.programChanges, 1);
}

TEST_F (ProgramFixture, renamingReachesEveryViewThroughATextsChangedMessage)
{
    AlxRecordingSink view;
    programs().getProgramParameter()->addSink (&view);

    processor.changeProgramName (3, "Rolling");
    AlxMessageLoop::deliverPending();

    EXPECT_EQ (processor.getProgramName (3), "Rolling");
    EXPECT_EQ (view.count (programs().getProgramParameter(), 0x503), 1);
    programs().getProgramParameter()->removeSink (&view);
}

TEST_F (ProgramFixture, indicesOutsideTheBankAreIgnored)
{
    for (int index : { -1, 128, 100000 })
    {
        processor.setCurrentProgram (index);
        processor.changeProgramName (index, "nope");
        EXPECT_EQ (processor.getProgramName (index), "");
        EXPECT_EQ (processor.getCurrentProgram(), 0);
    }

    AlxMessageLoop::deliverPending();
    EXPECT_EQ (root().getCurrentProgram(), 0);
}

TEST_F (ProgramFixture, namesAndTheCurrentProgramTravelInTheStateChunk)
{
    processor.changeProgramName (3, "Climbing");
    processor.setCurrentProgram (3);
    juce::MemoryBlock chunk;
    processor.getStateInformation (chunk);
    EXPECT_EQ (static_cast<const char*> (chunk.getData())[chunk.getSize() - 1], 0);
    EXPECT_TRUE (chunk.toString().startsWith ("<fxb><mod i=\"4\" n=\"plimsar\" v=\"1.5.544\"><glob><prs standalone=\"1\"/></glob>"
                                              "<cm><mod i=\"1000\"><ext><dom n=\"Preset\">"));

    AlxPlimsarFilter other;
    other.initialise();
    other.setStateInformation (chunk.getData(), (int) chunk.getSize());
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (other.getProgramName (3), "Climbing");
    EXPECT_EQ (other.getCurrentProgram(), 3);
    EXPECT_EQ (other.getRootModule()->getCurrentProgram(), 3);
}

TEST_F (ProgramFixture, aProgramChunkRenamesOnlyTheProgramItIsLoadedInto)
{
    processor.changeProgramName (0, "Source");
    juce::MemoryBlock chunk;
    processor.getCurrentProgramStateInformation (chunk);

    processor.setCurrentProgram (7);
    processor.setCurrentProgramStateInformation (chunk.getData(), (int) chunk.getSize());
    AlxMessageLoop::deliverPending();

    EXPECT_EQ (processor.getProgramName (7), "Source");
    EXPECT_EQ (processor.getProgramName (6), "rolling acceleration");
    EXPECT_EQ (processor.getProgramName (0), "Source");
}
