#include "framework/AlxModule.h"
#include "support/AlxMessageLoop.h"
#include "support/AlxRecordingSink.h"
#include "support/AlxTestProcessor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace
{
    // A module with one global and two program parameters, built the way concrete modules are.
    struct TestModule : AlxModule
    {
        TestModule (AlxModuleContainer* c, int moduleId, int childCount = 0) : AlxModule (c, moduleId), children (childCount) {}

        void initialise() override
        {
            AlxModule::initialise();
            registerInModuleMap();
            auto* domain = getGeneralDomains().getPercentageDomain();
            addGlobalParameter (0, takeInternalIndex(), domain, "Global");
            const int first = takeHostIndex();
            addProgramParameter (0, first, domain, "Level");
            addProgramParameter (1, takeHostIndex(), getGeneralDomains().getModulationSourceDomain(), "Mod-Level");
            setProgramModulationSource (0, 1);
            rebuildIdTables();

            for (int i = 0; i < children; ++i)
                addChild (std::make_unique<TestModule> (getContainer(), getId() * 10 + i))->initialise();

            setCurrentProgram (0);
            registerParameters();
            addSinkRecursive (this, false);
        }

        bool handleModuleMessage (void* source, int code, std::uint32_t timeMs) override
        {
            received.push_back (code);
            return AlxModule::handleModuleMessage (source, code, timeMs);
        }

        void processBlockBody (int numSamples) override
        {
            processed += numSamples;

            if (duringProcess)
                duringProcess();
        }

        AlxValue* percent (int i) const { return getGeneralDomains().getPercentageDomain()->getValues()[(size_t) i].get(); }

        int children;
        int processed = 0;
        std::vector<int> received;
        std::function<void()> duringProcess;
    };

    struct ModuleFixture : testing::Test
    {
        ModuleFixture()
        {
            container.setFilter (&processor);
            root = std::make_unique<TestModule> (&container, 4, 2);
            container.setRootModule (root.get());
            root->initialise();
            AlxMessageLoop::deliverPending();

            for (auto* m : { root.get(), &child (0), &child (1) })
                m->received.clear();
        }

        TestModule& child (int i) { return static_cast<TestModule&> (*root->getChildren()[(size_t) i]); }

        AlxTestProcessor processor;
        AlxModuleContainer container;
        std::unique_ptr<TestModule> root;
    };
}

TEST_F (ModuleFixture, buildsTheTreeWithItsIndicesAndMaps)
{
    EXPECT_EQ (container.findModule (4), root.get());
    EXPECT_EQ (container.findModule (40), &child (0));
    EXPECT_EQ (container.findModule (41), &child (1));
    EXPECT_EQ (container.getParameterMap().getNumParameters(), 6);
    EXPECT_EQ (container.getParameterMap().lookup (0), root->getProgramParameters()->getParameter (0));
    EXPECT_EQ (container.getParameterMap().lookup (-1), root->getGlobalParameters()->getParameter (0));
    EXPECT_EQ (root->getProgramSet (7)->findById (0)->getModulationSource(), root->getProgramSet (7)->findById (1));
    EXPECT_EQ (root->getEventParameter()->getDomain(), container.getGeneralDomains().getNullDomain());
    EXPECT_EQ (root->getCurrentProgram(), 0);
}

TEST_F (ModuleFixture, aSecondModuleUnderAnExistingIdLeavesTheFirstInTheMap)
{
    TestModule impostor (&container, 40);
    impostor.initialise();
    EXPECT_EQ (container.findModule (40), &child (0));
}

TEST_F (ModuleFixture, switchingProgramsRetargetsTheWholeTreeAndAnnouncesEveryValue)
{
    AlxRecordingSink observer;
    root->addSinkRecursive (&observer, true);
    root->getProgramSet (3)->findById (0)->setValue (root->percent (30), 5, false, false);
    child (1).getProgramSet (3)->findById (0)->setValue (root->percent (31), 5, false, false);

    root->setCurrentProgram (0);
    AlxMessageLoop::deliverPending();
    EXPECT_TRUE (observer.records.empty());

    root->setCurrentProgram (3);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (root->getProgramParameters()->getParameter (0)->getValue(), root->percent (30));
    EXPECT_EQ (child (1).getCurrentProgram(), 3);
    EXPECT_EQ (child (1).getProgramParameters()->getParameter (0)->getValue(), root->percent (31));
    EXPECT_EQ (observer.count (root->getProgramParameters()->getParameter (0), 0x105), 1);
    EXPECT_EQ (observer.countKind (AlxMessageCode::valueChanged), 6);

    // The host reaches the current program through the map's links.
    EXPECT_EQ (container.getParameterMap().lookup (0)->getValue(), root->percent (30));

    root->setCurrentProgram (128);
    root->setCurrentProgram (-1);
    EXPECT_EQ (root->getCurrentProgram(), 3);
    root->removeSinkRecursive (&observer, true);
}

TEST_F (ModuleFixture, selectingAChildFollowsItsParametersAndIgnoresInvalidIndices)
{
    root->selectChild (-1);
    root->selectChild (2);
    EXPECT_EQ (root->getSelectedChildIndex(), -1);
    EXPECT_EQ (root->getSelectedChild(), nullptr);

    root->selectChild (1);
    ASSERT_NE (root->getSelectedChildProgramLinks(), nullptr);
    child (1).getProgramParameters()->getParameter (0)->setValue (root->percent (9), 5, false, false);
    EXPECT_EQ (root->getSelectedChildProgramLinks()->getParameter (0)->getValue(), root->percent (9));

    AlxRecordingSink observer;
    root->getSelectedChildGlobalLinks()->addSinkToAll (&observer);
    root->selectChild (1);
    AlxMessageLoop::deliverPending();
    EXPECT_TRUE (observer.records.empty());

    root->selectChild (0);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (root->getSelectedChild(), &child (0));
    EXPECT_EQ (observer.count (root->getSelectedChildGlobalLinks()->getParameter (0), 0x105), 1);
    EXPECT_NE (root->getSelectedChildProgramLinks()->getParameter (0)->getValue(), root->percent (9));
}

TEST_F (ModuleFixture, aModuleSeesTheValueChangesOfItsOwnAndItsChildrensParameters)
{
    child (0).getProgramParameters()->getParameter (0)->setValue (root->percent (3), 2, false, true);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (root->received, std::vector<int> { 0x102 });
    EXPECT_EQ (child (0).received, std::vector<int> { 0x102 });
    EXPECT_TRUE (child (1).received.empty());
    EXPECT_TRUE (child (0).isModified());

    root->process (16);
    EXPECT_FALSE (root->isModified());
}

TEST_F (ModuleFixture, skipStatusKeepsEventParametersAwayFromEditorSinks)
{
    AlxRecordingSink editor, everything;
    root->addSinkRecursive (&editor, true);
    root->addSinkRecursive (&everything, false);
    child (1).getEventParameter()->post (0x2101);
    AlxMessageLoop::deliverPending();
    EXPECT_TRUE (editor.records.empty());
    EXPECT_EQ (everything.count (child (1).getEventParameter(), 0x2101), 1);

    root->removeSinkRecursive (&editor, true);
    root->removeSinkRecursive (&everything, false);
    root->getGlobalParameters()->getParameter (0)->setValue (root->percent (1), 2, false, true);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (everything.records.size(), 1u);
}

TEST_F (ModuleFixture, aResetRequestTakesEffectAtTheEndOfTheNextProcessCall)
{
    container.getBroadcastParameter()->post (AlxMessageCode::make (AlxMessageCode::resetRequest, 6));
    AlxMessageLoop::deliverPending();
    EXPECT_TRUE (child (0).isResetPending());
    EXPECT_TRUE (child (1).isResetPending());

    bool pendingDuringBlock = false;
    child (0).duringProcess = [&] { pendingDuringBlock = child (0).isResetPending(); };
    child (0).process (32);
    EXPECT_TRUE (pendingDuringBlock);
    EXPECT_FALSE (child (0).isResetPending());
}

// The reset request is delivered on the message thread while the audio thread is inside a block:
// it must wait for the block (the callback lock) and never land in the middle of one.
TEST_F (ModuleFixture, aResetRequestNeverLandsInsideARunningBlock)
{
    std::atomic<bool> inBlock { false }, release { false }, sawChangeInsideBlock { false };
    child (0).duringProcess = [&]
    {
        const bool before = child (0).isResetPending();
        inBlock = true;

        while (! release)
            std::this_thread::yield();

        if (child (0).isResetPending() != before)
            sawChangeInsideBlock = true;
    };

    std::thread audio ([&]
    {
        const juce::ScopedLock sl (processor.getCallbackLock());
        child (0).process (64);
    });

    while (! inBlock)
        std::this_thread::yield();

    container.getBroadcastParameter()->post (AlxMessageCode::make (AlxMessageCode::resetRequest, 6));
    std::thread releaser ([&] { std::this_thread::sleep_for (std::chrono::milliseconds (50)); release = true; });
    AlxMessageLoop::deliverPending();
    audio.join();
    releaser.join();

    EXPECT_FALSE (sawChangeInsideBlock);
    EXPECT_TRUE (child (0).isResetPending());
}

TEST_F (ModuleFixture, prepareReleaseAndProcessReachTheRightModules)
{
    root->process (10);
    EXPECT_EQ (root->processed, 10);
    EXPECT_EQ (child (0).processed, 0) << "modules never process each other";
}

TEST_F (ModuleFixture, bankDocumentRoundTripsGlobalProgramAndPropertySettings)
{
    root->getGlobalParameters()->getParameter (0)->setValue (root->percent (77), 5, false, false);
    child (1).getProgramSet (5)->findById (0)->setValue (root->percent (55), 5, false, false);
    child (1).getProgramSet (5)->findById (1)->setValue (container.getGeneralDomains().getModulationSourceDomain()->getValues()[2].get(), 5, false, false);
    child (0).getPropertySet()->setValue ("helpCurrentPage", 2);
    child (0).getPropertySet()->setValue ("$tmp/scratch", "x");

    auto doc = root->createXml (false, 0);
    const auto text = doc->toString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
    EXPECT_TRUE (text.startsWith ("<mod i=\"4\"><glob><ps><pv i=\"0\" v=\"77\"/></ps></glob><pgms><pgm i=\"0\"><ps>"));
    EXPECT_TRUE (text.contains ("<prs helpCurrentPage=\"2\"/>"));
    EXPECT_FALSE (text.contains ("tmp"));

    TestModule fresh (&container, 4, 2);
    AlxModuleContainer otherContainer;
    TestModule other (&otherContainer, 4, 2);
    other.initialise();
    other.restoreXml (*doc, false, 0, false);

    auto& otherChild = static_cast<TestModule&> (*other.getChildren()[1]);
    EXPECT_EQ (other.getGlobalParameters()->getParameter (0)->getValue()->getText(), "77 %");
    EXPECT_EQ (otherChild.getProgramSet (5)->findById (0)->getValue()->getText(), "55 %");
    EXPECT_EQ (otherChild.getProgramSet (5)->findById (1)->getValue()->getText(), "LFO2");
    EXPECT_EQ (other.getChildren()[0]->getPropertySet()->getIntValue ("helpCurrentPage"), 2);
    EXPECT_EQ (other.createXml (false, 0)->toString(), doc->toString());
}

TEST_F (ModuleFixture, programDocumentLoadsIntoAnyProgramOnly)
{
    child (0).getProgramSet (2)->findById (0)->setValue (root->percent (42), 5, false, false);
    auto doc = root->createXml (true, 2);
    const auto text = doc->toString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
    EXPECT_FALSE (text.contains ("<glob"));
    EXPECT_TRUE (text.contains ("<pgm i=\"2\">"));

    root->restoreXml (*doc, true, 7, false);
    EXPECT_EQ (child (0).getProgramSet (7)->findById (0)->getValue(), root->percent (42));
    for (int p : { 0, 1, 3, 6, 8, 127 })
        EXPECT_EQ (child (0).getProgramSet (p)->findById (0)->getValue(), root->percent (0)) << p;
}

TEST_F (ModuleFixture, programElementsOutsideTheBankAndUnknownModulesAreSkipped)
{
    auto doc = juce::parseXML ("<mod i=\"4\"><pgms>"
                               "<pgm i=\"128\"><ps><pv i=\"0\" v=\"5\"/></ps></pgm>"
                               "<pgm i=\"-1\"><ps><pv i=\"0\" v=\"5\"/></ps></pgm>"
                               "<pgm><ps><pv i=\"0\" v=\"5\"/></ps></pgm>"
                               "<pgm i=\"127\"><ps><pv i=\"0\" v=\"6\"/></ps></pgm>"
                               "</pgms><cm><mod i=\"999\"/><mod><pgms/></mod></cm></mod>");
    root->restoreXml (*doc, false, 0, false);
    EXPECT_EQ (root->getProgramSet (127)->findById (0)->getValue(), root->percent (6));
    EXPECT_EQ (root->getProgramSet (0)->findById (0)->getValue(), root->percent (0));
}

TEST (AlxPropertySet, leavesTemporaryKeysOutUnlessAsked)
{
    AlxPropertySet properties;
    properties.setValue ("standalone", 1);
    properties.setValue ("$tmp/lastDir", "/home");

    auto stored = properties.createXml (false);
    EXPECT_EQ (stored->getNumAttributes(), 1);
    EXPECT_EQ (stored->getStringAttribute ("standalone"), "1");
    EXPECT_EQ (properties.createXml (true)->getNumAttributes(), 1) << "keys that are no XML names cannot be written";

    AlxPropertySet restored;
    restored.restoreXml (*stored);
    EXPECT_EQ (restored.getIntValue ("standalone"), 1);
}
