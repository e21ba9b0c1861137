#include "core/AlxPlimsarFilter.h"
#include "core/AlxPlimsarModule.h"
#include "editor/AlxCachedDrawables.h"
#include "editor/AlxPanel.h"
#include "editor/AlxHeaderPanel.h"
#include "editor/AlxParamPanel.h"
#include "editor/AlxSpacer.h"
#include "editor/AlxPlimsarEditor.h"
#include "framework/AlxRealParameter.h"
#include "support/AlxMessageLoop.h"
#include "support/AlxTestHost.h"
#include "synth/AlxSynthModule.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace
{
    // Opens an editor the way a host does, and tells the processor when it goes.
    struct OpenEditor
    {
        explicit OpenEditor (AlxFilter& owner) : processor (owner), editor (new AlxPlimsarEditor (owner)) {}
        ~OpenEditor() { close(); }

        void close()
        {
            if (editor != nullptr)
                processor.editorBeingDeleted (editor.get());
            editor.reset();
        }

        AlxPlimsarEditor* operator->() const { return editor.get(); }
        AlxPlimsarEditor& operator*() const { return *editor; }

        AlxFilter& processor;
        std::unique_ptr<AlxPlimsarEditor> editor;
    };

    void turnWheel (juce::Component& component, float deltaY)
    {
        const juce::MouseWheelDetails details { 0.0f, deltaY, false, false, false };
        const auto now = juce::Time::getCurrentTime();
        const juce::MouseEvent event (juce::Desktop::getInstance().getMainMouseSource(), {}, {}, 0.0f, 0.0f, 0.0f, 0.0f,
                                      0.0f, &component, &component, now, {}, now, 0, false);
        component.mouseWheelMove (event, details);
    }

    bool drawsWithPlimsarLook (juce::Component& component)
    {
        return dynamic_cast<AlxPlimsarLookAndFeel*> (&component.getLookAndFeel()) != nullptr;
    }

    juce::Colour backgroundOf (juce::Component& component)
    {
        // Row 1 is no scan line; the right edge is clear of logos and panels.
        return component.createComponentSnapshot (component.getLocalBounds()).getPixelAt (component.getWidth() - 1, 1);
    }

    class AlxPlimsarEditorTest : public testing::Test
    {
    protected:
        AlxTestHost host;
        AlxPlimsarFilter& processor = host.getProcessor();
    };
}

TEST_F (AlxPlimsarEditorTest, sizeIsWhatThePanelsNeed)
{
    OpenEditor editor (processor);
    auto width = [] (AlxPanel* p) { return p != nullptr ? p->getPreferredWidth() : 0; };
    auto height = [] (AlxPanel* p) { return p != nullptr ? p->getPreferredHeight() : 0; };

    const int expectedWidth = width (editor->getMidiPanel()) + width (editor->getLfoPanel()) + width (editor->getHelpPanel()) + 28;
    const int leftColumn = height (editor->getGroovePanel()) + height (editor->getArpPanel()) + height (editor->getTriggerPanel())
                         + height (editor->getMidiPanel()) + height (editor->getHeaderPanel()) + 33;
    const int rightColumn = height (editor->getSynthPanel()) + height (editor->getLfoPanel()) + height (editor->getHeaderPanel()) + 25;

    EXPECT_EQ (editor->getWidth(), expectedWidth);
    EXPECT_EQ (editor->getHeight(), juce::jmax (leftColumn, rightColumn));

    auto& constrainer = editor->getSizeConstrainer();
    EXPECT_EQ (constrainer.getMinimumWidth(), editor->getWidth());
    EXPECT_EQ (constrainer.getMaximumWidth(), editor->getWidth());
    EXPECT_EQ (constrainer.getMinimumHeight(), editor->getHeight());
    EXPECT_EQ (constrainer.getMaximumHeight(), editor->getHeight());
    EXPECT_EQ (editor->getConstrainer(), &constrainer) << "the window asks the editor's constrainer";
    EXPECT_FALSE (editor->isResizable()) << "hosts offer no resizing";
}

TEST_F (AlxPlimsarEditorTest, headerMidiAndHelpSitWhereTheCompleteEditorPutsThem)
{
    OpenEditor editor (processor);
    const int w = editor->getWidth(), h = editor->getHeight();

    ASSERT_NE (dynamic_cast<AlxHeaderPanel*> (editor->getHeaderPanel()), nullptr);
    ASSERT_NE (editor->getMidiPanel(), nullptr);
    ASSERT_NE (editor->getHelpPanel(), nullptr);
    EXPECT_EQ (editor->getHeaderPanel()->getBounds(), juce::Rectangle<int> (147, 7, w - 154, 29));
    EXPECT_EQ (editor->getMidiPanel()->getBounds(), juce::Rectangle<int> (7, 43, 305, 107));
    EXPECT_EQ (editor->getHelpPanel()->getBounds(), juce::Rectangle<int> (319, 43, 15, h - 29 - 21)) << "collapsed help strip";

    // The module panels that exist follow in the left column, 4 apart, and on the right of the help area.
    int y = editor->getMidiPanel()->getBottom() + 4;
    for (auto* panel : { editor->getTriggerPanel(), editor->getGroovePanel(), editor->getArpPanel() })
        if (panel != nullptr)
        {
            EXPECT_EQ (panel->getBounds(), juce::Rectangle<int> (7, y, panel->getPreferredWidth(), panel->getPreferredHeight()));
            y = panel->getBottom() + 4;
        }

    if (auto* lfo = editor->getLfoPanel())
    {
        EXPECT_EQ (lfo->getPosition(), juce::Point<int> (341, 43));
    }
    if (auto* synth = editor->getSynthPanel())
    {
        EXPECT_EQ (synth->getBottom(), h - 7);
    }
}

TEST_F (AlxPlimsarEditorTest, hostResizeMovesNothingButTheSynthPanelsBottom)
{
    OpenEditor editor (processor);
    std::vector<juce::Rectangle<int>> before;
    for (auto* child : editor->getChildren())
        before.push_back (child->getBounds());

    editor->setSize (editor->getWidth() + 40, editor->getHeight() + 60);

    const auto children = editor->getChildren();
    for (size_t i = 0; i < before.size(); ++i)
    {
        auto expected = before[i];
        if (children[(int) i] == editor->getSynthPanel())
            expected.setHeight (expected.getHeight() + 60);
        EXPECT_EQ (children[(int) i]->getBounds(), expected) << "child " << i;
    }

    editor->updateSize();
    EXPECT_EQ (editor->getBounds().getWidth(), editor->getSizeConstrainer().getMinimumWidth()) << "updateSize shrinks it back";
}

TEST_F (AlxPlimsarEditorTest, showsTheVersionWithoutTheBuildNumber)
{
    OpenEditor editor (processor);
    EXPECT_EQ (editor->getVersionText(), "1.5");

    const std::pair<const char*, const char*> cases[] = { { "1.5.544", "1.5" }, { "2.0", "2" }, { "7", "" }, { "", "" } };
    for (const auto& [version, shown] : cases)
        EXPECT_EQ (AlxPlimsarEditor::displayedVersion (version), shown) << version;
}

TEST_F (AlxPlimsarEditorTest, helpPagesAreRegisteredOnceAndOutliveTheEditor)
{
    auto& cache = processor.getContainer()->getDrawableCache();
    std::vector<AlxCachedDrawable*> first;
    {
        OpenEditor editor (processor);
        for (const auto& key : AlxPlimsarEditor::getHelpPageKeys())
        {
            auto* entry = cache.get (key);
            ASSERT_NE (entry, nullptr) << key;
            EXPECT_NE (entry->getDrawable(), nullptr) << key << " loads from the help archive";
            first.push_back (entry);
        }
    }

    OpenEditor reopened (processor);
    for (size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ (cache.get (AlxPlimsarEditor::getHelpPageKeys()[(int) i]), first[i]) << "the earlier entry stays";
}

TEST_F (AlxPlimsarEditorTest, createEditorGivesThePlimsarEditor)
{
    EXPECT_TRUE (processor.hasEditor());
    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditorIfNeeded());
    EXPECT_NE (dynamic_cast<AlxPlimsarEditor*> (editor.get()), nullptr);
    EXPECT_TRUE (processor.hasSink (dynamic_cast<AlxMessageSink*> (editor.get())));
    processor.editorBeingDeleted (editor.get());
    auto* sink = dynamic_cast<AlxMessageSink*> (editor.get());
    editor.reset();
    EXPECT_FALSE (processor.hasSink (sink));
}

TEST_F (AlxPlimsarEditorTest, lookAndFeelLivesAsLongAsTheLastEditor)
{
    for (const bool closeFirstOpenedFirst : { true, false })
    {
        OpenEditor first (processor);
        OpenEditor second (processor);
        EXPECT_EQ (&first->getLookAndFeel(), &second->getLookAndFeel()) << "one look and feel for both";
        const auto background = backgroundOf (*second);

        (closeFirstOpenedFirst ? first : second).close();
        auto& remaining = closeFirstOpenedFirst ? second : first;

        EXPECT_TRUE (drawsWithPlimsarLook (*remaining));
        EXPECT_EQ (backgroundOf (*remaining), background) << "the remaining editor still draws in its scheme";
        EXPECT_EQ (backgroundOf (*remaining), AlxLookAndFeel::defaultBase());

        remaining.close();
        EXPECT_EQ (dynamic_cast<AlxPlimsarLookAndFeel*> (&juce::LookAndFeel::getDefaultLookAndFeel()), nullptr)
            << "the last editor removes it";
    }
}

TEST_F (AlxPlimsarEditorTest, reopenedEditorInstallsTheLookAgain)
{
    OpenEditor (processor).close();
    OpenEditor editor (processor);
    EXPECT_TRUE (drawsWithPlimsarLook (*editor));
}

TEST_F (AlxPlimsarEditorTest, wheelStepsTheFocusedParameterOfTheProcessor)
{
    auto* gain = static_cast<AlxPlimsarModule*> (processor.getRootModule())->getSynthModule()->getGainParameter();
    ASSERT_NE (gain, nullptr);
    ASSERT_EQ (gain->getDomain()->getControlKind(), AlxControlKind::range);
    const int steps = juce::jmax (1, gain->getDomain()->getNumValues() / 25);

    OpenEditor editor (processor);
    const int start = gain->getValueIndex();
    turnWheel (*editor, -1.0f);
    EXPECT_EQ (gain->getValueIndex(), start) << "nothing is assigned to the wheel yet";

    gain->setFocused (true);
    AlxMessageLoop::deliverPending();
    ASSERT_EQ (processor.getFocusedParameter(), gain);

    turnWheel (*editor, 1.0f);
    EXPECT_EQ (gain->getValueIndex(), start - steps);
    turnWheel (*editor, -1.0f);
    turnWheel (*editor, -1.0f);
    EXPECT_EQ (gain->getValueIndex(), start + steps);
    turnWheel (*editor, 0.0f);
    EXPECT_EQ (gain->getValueIndex(), start + steps) << "a horizontal-only movement";
}

namespace
{
    struct StepDomain : AlxListDomain
    {
        StepDomain (AlxDomainSet* set, int count, AlxControlKind kind) : AlxListDomain (set, "n", "n", "n", kind)
        {
            for (int i = 0; i < count; ++i)
                addValue (juce::String (i), i);
            finishValues (0);
        }

        using AlxRealDomain::clearValues;
    };

    struct StepDomains : AlxDomainSet
    {
        StepDomain* make (int count, AlxControlKind kind) { return add<StepDomain> (count, kind); }
    };

    // A processor whose wheel assignment the test sets directly.
    struct WheelProcessor : AlxPlimsarFilter
    {
        AlxParameter* getFocusedParameter() const override { return focused; }
        AlxParameter* focused = nullptr;
    };

    struct WheelCase
    {
        int values;
        AlxControlKind kind;
        int start;
        float deltaY;
        int expected;
    };
}

TEST (AlxPlimsarEditorWheel, stepsByRangeSizeAndStopsAtTheEnds)
{
    const WheelCase cases[] = {
        { 100, AlxControlKind::range, 50, -1.0f, 54 },  // toward the user: toward the end, 100 / 25 values
        { 100, AlxControlKind::range, 50, 1.0f, 46 },
        { 101, AlxControlKind::range, 50, -1.0f, 54 },
        { 30, AlxControlKind::range, 10, -1.0f, 11 },   // short ranges step one value
        { 30, AlxControlKind::range, 10, 1.0f, 9 },
        { 100, AlxControlKind::list, 50, -1.0f, 51 },   // lists always step one
        { 100, AlxControlKind::range, 0, 1.0f, 0 },     // the first value stays
        { 100, AlxControlKind::range, 2, 1.0f, 0 },     // a step past the start lands on the first value
        { 100, AlxControlKind::range, 99, -1.0f, 99 },  // the last value stays
        { 100, AlxControlKind::range, 97, -1.0f, 99 },
        { 100, AlxControlKind::range, 50, 0.0f, 50 },   // no vertical movement
    };

    WheelProcessor processor;
    processor.initialise();
    StepDomains domains;
    AlxParameterSet set;
    OpenEditor editor (processor);

    for (const auto& c : cases)
    {
        auto* domain = domains.make (c.values, c.kind);
        AlxRealParameter parameter (&set, 0, -1, domain);
        parameter.setValue (domain->getValues()[(size_t) c.start].get(), 5, false, false);
        processor.focused = &parameter;

        turnWheel (*editor, c.deltaY);
        EXPECT_EQ (parameter.getValueIndex(), c.expected) << c.values << " values from " << c.start << " by " << c.deltaY;
        processor.focused = nullptr;
    }
}

TEST (AlxPlimsarEditorWheel, domainWithoutValuesIsLeftAlone)
{
    WheelProcessor processor;
    processor.initialise();
    StepDomains domains;
    AlxParameterSet set;
    auto* domain = domains.make (3, AlxControlKind::range);
    AlxRealParameter parameter (&set, 0, -1, domain);
    parameter.setValue (domain->getValues()[2].get(), 5, false, false);
    domain->clearValues();   // a device list rebuilt with no device
    processor.focused = &parameter;

    OpenEditor editor (processor);
    for (float deltaY : { 1.0f, -1.0f })
    {
        turnWheel (*editor, deltaY);
        EXPECT_EQ (parameter.getValue(), nullptr);
    }
}

TEST_F (AlxPlimsarEditorTest, editorMayGoWhileBlocksRun)
{
    std::atomic<bool> running { true };
    std::thread audio ([&]
    {
        // A device asks for the next block a while after the last one (here much sooner than 256
        // samples would last); a loop without pause would keep the processor's lock from the
        // status views, which take it to read the transport.
        while (running)
        {
            host.processBlock (256);
            std::this_thread::sleep_for (std::chrono::milliseconds (1));
        }
    });

    for (int i = 0; i < 20; ++i)
    {
        OpenEditor editor (processor);
        AlxMessageLoop::deliverPending();
        editor->createComponentSnapshot (editor->getLocalBounds());
    }

    running = false;
    audio.join();
    EXPECT_GT (host.getSamplesProcessed(), 0);
}

TEST_F (AlxPlimsarEditorTest, messagesQueuedForAClosedEditorGoNowhere)
{
    auto* gain = static_cast<AlxPlimsarModule*> (processor.getRootModule())->getSynthModule()->getGainParameter();
    AlxMessageSink* sink = nullptr;
    {
        OpenEditor editor (processor);
        sink = editor.editor.get();
        {
            // While a block runs, the processor and the tree post for the editor's observers.
            const juce::ScopedLock sl (processor.getCallbackLock());
            gain->setFocused (true);
            gain->setValue (gain->getDomain()->getValues().front().get(), 2, false, true);
            processor.postMessage (&processor, 0x0105);
        }
    }

    EXPECT_FALSE (processor.hasSink (sink));
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (processor.getFocusedParameter(), gain) << "the queued messages still reach the processor's side";
}
