// The status views on a real processor: what they show after the transport played and fired a
// held chord, which messages refresh them, how the LFO view draws the bar, and that they can be
// deleted at any time while the processor runs and messages for them are queued.

#include "editor/AlxArpView.h"
#include "editor/AlxGrooveView.h"
#include "editor/AlxLFOView.h"
#include "editor/AlxTriggerView.h"
#include "core/AlxProgramModule.h"
#include "support/AlxMessageLoop.h"
#include "AlxEditorFixture.h"
#include "AlxSnapshot.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace
{
    using AlxStatusViewTest = AlxEditorFixture;

    // A view that counts what reaches it.
    class CountingView : public AlxStatusView
    {
    public:
        explicit CountingView (AlxEditor* owner) : AlxStatusView (owner, 100, 20) {}
        void refresh (bool skip) override { refreshes += skip ? 0 : 1; }
        int refreshes = 0;
    };
}

TEST_F (AlxStatusViewTest, textViewsShowTheSettingsInForceAtTheLastFiring)
{
    set (trigger().getStepParameter(), "1/8");
    set (trigger().getVelocityParameter(), "80");
    set (trigger().getGateParameter(), "50 %");
    set (groove().getPatternParameter(), "Beat 2");
    set (groove().getAmountParameter(), "0.40");
    set (groove().getWidthParameter(), "0.50");
    set (arp().getDoublingParameter(), "Oct");
    set (arp().getMaskParameter(), "1+3");
    host.deliver();

    AlxTriggerView triggerView (&editor);
    AlxGrooveView grooveView (&editor);
    AlxArpView arpView (&editor);
    EXPECT_EQ (triggerView.getStepValue(), nullptr) << "empty until the first message";
    EXPECT_EQ (arpView.getMaskValue(), nullptr);

    play (2.0);
    EXPECT_GT (trigger().getLastTriggerTime(), 1.0) << "the trigger fired in the second quarter note";

    EXPECT_EQ (textOf (triggerView.getStepValue()), "1/8");
    EXPECT_EQ (textOf (triggerView.getVelocityValue()), "80");
    EXPECT_EQ (textOf (triggerView.getGateValue()), "50 %");
    EXPECT_EQ (textOf (grooveView.getPatternValue()), "Beat 2");
    EXPECT_EQ (textOf (grooveView.getAmountValue()), "0.40");
    EXPECT_EQ (textOf (grooveView.getWidthValue()), "0.50");
    EXPECT_EQ (textOf (arpView.getDoublingValue()), "Oct");
    EXPECT_EQ (textOf (arpView.getMaskValue()), "1+3");
}

TEST_F (AlxStatusViewTest, textViewsShowModulatedValuesAtTheLastFiring)
{
    // LFO1: a square over the bar, 1 in its first half and 0 in its second; LFO2: flat at 0.5.
    set (lfo (0)->getShapeParameter(), "Square");
    set (lfo (0)->getLevelParameter(), "1.00");
    set (lfo (1)->getShapeParameter(), "Flat");
    set (lfo (1)->getLevelParameter(), "0.50");
    set (arp().getMaskSourceParameter(), "LFO1");
    set (trigger().getVelocityParameter(), "100");
    set (trigger().getVelocityParameter()->getModulationSource(), "LFO2");
    set (groove().getWidthSourceParameter(), "LFO1");
    host.deliver();

    AlxTriggerView triggerView (&editor);
    AlxGrooveView grooveView (&editor);
    AlxArpView arpView (&editor);

    play (1.5);
    ASSERT_DOUBLE_EQ (trigger().getLastTriggerTime(), 1.0);
    EXPECT_EQ (textOf (arpView.getMaskValue()), "All") << "the first half of the bar selects the last mask";
    EXPECT_EQ (textOf (grooveView.getWidthValue()), "1.00");
    EXPECT_EQ (textOf (triggerView.getVelocityValue()), "50") << "level 0.5 of 100 velocities selects the 50th";

    path.run (24000, 512);
    ASSERT_DOUBLE_EQ (trigger().getLastTriggerTime(), 2.0);
    EXPECT_EQ (textOf (arpView.getMaskValue()), "None") << "the second half selects the first mask";
    EXPECT_EQ (textOf (grooveView.getWidthValue()), "0.00");
    EXPECT_EQ (textOf (triggerView.getVelocityValue()), "50");
}

TEST_F (AlxStatusViewTest, onlyTransportEventsAndProgramChangesCountAsStatusEvents)
{
    CountingView view (&editor);
    auto* events = transport().getStateParameter();
    auto* program = root().getProgramModule()->getProgramParameter();
    struct Case
    {
        void* source;
        int code;
        bool isStatusEvent;
    };
    const Case cases[] = {
        { events, AlxTransportModule::barChanged, true },
        { events, AlxTransportModule::beatChanged, true },
        { events, AlxTransportModule::notesTriggered, true },
        { events, AlxTransportModule::tick, true },
        { events, AlxTransportModule::playRequest, false },
        { events, AlxMessageCode::make (AlxMessageCode::valueChanged, 0), false },
        { program, AlxMessageCode::make (AlxMessageCode::valueChanged, AlxMessageCode::fromEditor), true },
        { trigger().getStepParameter(), AlxMessageCode::make (AlxMessageCode::valueChanged, 0), false },
        { nullptr, AlxTransportModule::tick, false },
    };
    for (const auto& c : cases)
    {
        const int before = view.refreshes;
        EXPECT_EQ (view.handlePanelMessage (c.source, c.code, 0), c.isStatusEvent) << std::hex << c.code;
        EXPECT_EQ (view.refreshes - before, c.isStatusEvent ? 1 : 0) << std::hex << c.code;
    }
}

TEST_F (AlxStatusViewTest, everyViewRefreshesOnAnyMessageThatReachesIt)
{
    AlxTriggerView triggerView (&editor);
    set (trigger().getGateParameter(), "25 %");
    host.deliver();
    EXPECT_EQ (textOf (triggerView.getGateValue()), "25 %") << "a change of the module's own setting";

    EXPECT_TRUE (triggerView.handlePanelMessage (nullptr, 0, 0)) << "whatever the message";
    triggerView.refresh (true);
    EXPECT_EQ (textOf (triggerView.getGateValue()), "25 %");
}

TEST_F (AlxStatusViewTest, viewsRefreshOnTheTickWhileTheTransportIsStopped)
{
    transport().postStop (true);
    host.deliver();
    ASSERT_TRUE (transport().isStopped());

    CountingView view (&editor);
    EXPECT_TRUE (AlxMessageLoop::deliverUntil ([&] { return view.refreshes >= 2; }))
        << "two ticks";
}

TEST_F (AlxStatusViewTest, changingTheProgramRefreshesAllFourViews)
{
    const int other = 5;
    resetProgram (other);
    auto setIn = [&] (AlxModule& module, int id, const juce::String& text)
    {
        auto* parameter = module.getProgramSet (other)->findById (id);
        parameter->setValue (parameter->getDomain()->findByText (text), AlxMessageCode::fromEditor, false, false);
    };
    setIn (trigger(), AlxTriggerModule::stepId, "1/2");
    setIn (groove(), AlxGrooveModule::patternId, "Odd beats");
    setIn (arp(), AlxArpModule::doublingId, "5th");
    setIn (*lfo (0), AlxLFOModule::shapeId, "Flat");
    setIn (*lfo (0), AlxLFOModule::levelId, "0.25");

    AlxTriggerView triggerView (&editor);
    AlxGrooveView grooveView (&editor);
    AlxArpView arpView (&editor);
    AlxLFOView lfoView (&editor);

    root().getProgramModule()->selectProgram (other, AlxMessageCode::make (AlxMessageCode::valueChanged, AlxMessageCode::fromEditor));
    host.deliver();

    EXPECT_EQ (textOf (triggerView.getStepValue()), "1/2");
    EXPECT_EQ (textOf (grooveView.getPatternValue()), "Odd beats");
    EXPECT_EQ (textOf (arpView.getDoublingValue()), "5th");
    ASSERT_FALSE (lfoView.getCurve().empty());
    for (double level : lfoView.getCurve())
        EXPECT_DOUBLE_EQ (level, 0.25);
}

TEST_F (AlxStatusViewTest, lfoViewShowsTheFirstBarBeforeAnythingFired)
{
    AlxLFOView view (&editor);
    EXPECT_EQ (view.getBarStart(), 0.0);
    EXPECT_EQ (view.getBarEnd(), 4.0);
    EXPECT_EQ (view.getNumBeats(), 4);
    EXPECT_EQ (view.getStepTimes(), (std::vector<double> { 0.0, 1.0, 2.0, 3.0 })) << "default step 1/4";
    EXPECT_EQ (view.getStepIntervals(), (std::vector<double> { 1.0, 1.0, 1.0, 1.0 }));
    EXPECT_EQ (view.getCurve().size(), 129u) << "every 1/32 quarter note, both ends";
}

TEST_F (AlxStatusViewTest, lfoViewShowsTheBarOfTheLastFiring)
{
    set (trigger().getStepParameter(), "1/8");
    AlxLFOView view (&editor);
    play (5.0);
    ASSERT_DOUBLE_EQ (view.getLastTrigger(), 4.5);
    EXPECT_EQ (view.getBarStart(), 4.0);
    EXPECT_EQ (view.getBarEnd(), 8.0);
    EXPECT_EQ (view.getStepTimes(), (std::vector<double> { 4.0, 4.5, 5.0, 5.5, 6.0, 6.5, 7.0, 7.5 }));
    EXPECT_EQ (view.getStepIntervals(), std::vector<double> (8, 0.5));
}

TEST_F (AlxStatusViewTest, lfoViewWithTheStepOffShowsNoSteps)
{
    set (trigger().getStepParameter(), "Off");
    host.deliver();
    AlxLFOView view (&editor);
    EXPECT_TRUE (view.getStepTimes().empty());
    EXPECT_TRUE (view.getStepLevels().empty());
    EXPECT_EQ (view.getNumBeats(), 4);
    EXPECT_FALSE (view.getCurve().empty());
}

TEST_F (AlxStatusViewTest, lfoViewDrawsOneColumnPerBeatOfTheSignature)
{
    struct Case
    {
        int numerator, denominator, beats;
        double barLength;
    };
    AlxLFOView view (&editor);
    for (const auto& c : { Case { 3, 4, 3, 3.0 }, Case { 7, 8, 7, 3.5 }, Case { 4, 4, 4, 4.0 } })
    {
        transport().getNumeratorParameter()->setRealValue ((float) c.numerator, AlxMessageCode::fromEditor, false, true);
        transport().getDenominatorParameter()->setRealValue ((float) c.denominator, AlxMessageCode::fromEditor, false, true);
        host.deliver();
        view.refresh (false);
        EXPECT_EQ (view.getNumBeats(), c.beats) << c.numerator << "/" << c.denominator;
        EXPECT_DOUBLE_EQ (view.getBarEnd() - view.getBarStart(), c.barLength) << c.numerator << "/" << c.denominator;
    }
}

TEST_F (AlxStatusViewTest, lfoViewFollowsTheSelectedLfo)
{
    set (lfo (0)->getShapeParameter(), "Flat");
    set (lfo (0)->getLevelParameter(), "0.50");
    set (lfo (1)->getShapeParameter(), "Square");
    set (lfo (1)->getLevelParameter(), "1.00");
    host.deliver();

    AlxLFOView view (&editor);
    ASSERT_EQ (view.getStepLevels().size(), 4u);
    for (double level : view.getStepLevels())
        EXPECT_DOUBLE_EQ (level, 0.5) << "LFO1";

    set (lfoGroup().getSelectedLfoParameter(), "LFO2");
    host.deliver();
    EXPECT_EQ (view.getShownLfo(), lfo (1));
    EXPECT_EQ (view.getStepLevels(), (std::vector<double> { 1.0, 1.0, 0.0, 0.0 })) << "LFO2's square, high for half the bar";
    const auto& curve = view.getCurve();
    ASSERT_EQ (curve.size(), 129u);
    EXPECT_EQ (curve.front(), 1.0);
    EXPECT_EQ (curve[63], 1.0);
    EXPECT_EQ (curve[65], 0.0);
    EXPECT_EQ (curve.back(), 1.0) << "the next bar's first point";
}

TEST_F (AlxStatusViewTest, viewsUnregisterEverythingTheyObserved)
{
    auto* events = transport().getStateParameter();
    auto* program = root().getProgramModule()->getProgramParameter();
    auto* step = trigger().getStepParameter();
    auto* shape = lfo (1)->getShapeParameter();
    const int eventSinks = events->getNumSinks(), programSinks = program->getNumSinks();
    const int stepSinks = step->getNumSinks(), shapeSinks = shape->getNumSinks();
    {
        AlxTriggerView triggerView (&editor);
        AlxLFOView lfoView (&editor);
        EXPECT_EQ (events->getNumSinks(), eventSinks + 2);
        EXPECT_EQ (program->getNumSinks(), programSinks + 2);
        EXPECT_EQ (step->getNumSinks(), stepSinks + 1);
        EXPECT_EQ (shape->getNumSinks(), shapeSinks + 1) << "the LFO view watches both LFOs";
    }
    EXPECT_EQ (events->getNumSinks(), eventSinks);
    EXPECT_EQ (program->getNumSinks(), programSinks);
    EXPECT_EQ (step->getNumSinks(), stepSinks);
    EXPECT_EQ (shape->getNumSinks(), shapeSinks);
}

TEST_F (AlxStatusViewTest, messagesQueuedForDeletedViewsFindNoOne)
{
    auto views = std::make_unique<juce::OwnedArray<AlxStatusView>>();
    views->add (new AlxTriggerView (&editor));
    views->add (new AlxGrooveView (&editor));
    views->add (new AlxArpView (&editor));
    views->add (new AlxLFOView (&editor));

    // Blocks that fire and move bars and beats, and settings changes, all left queued.
    path.start();
    path.hold ({ 60, 64 });
    host.deliver();
    for (int i = 0; i < 40; ++i)
        path.processBlock (1024);
    set (trigger().getStepParameter(), "1/16");
    set (lfoGroup().getSelectedLfoParameter(), "LFO2");
    transport().getStateParameter()->postMessage (transport().getStateParameter(), AlxTransportModule::tick);

    views.reset();
    host.deliver();
    EXPECT_TRUE (transport().isPlaying());
}

TEST_F (AlxStatusViewTest, viewsComeAndGoWhileTheAudioThreadPlays)
{
    set (arp().getMaskSourceParameter(), "LFO1");
    set (lfo (0)->getShapeParameter(), "Tria");
    set (trigger().getStepParameter(), "1/16");
    path.start();
    host.deliver();

    // The audio thread plays at least a second of song time, however slowly it is scheduled, so
    // the trigger has fired past the song's start by the time it stops.
    const int minimumBlocks = (int) host.getSampleRate() / 256 + 1;
    std::atomic<bool> running { true };
    std::atomic<int> blocks { 0 };
    std::thread audio ([&]
    {
        juce::MidiBuffer chord;
        chord.addEvent (juce::MidiMessage::noteOn (1, 60, 1.0f), 0);
        chord.addEvent (juce::MidiMessage::noteOn (1, 67, 1.0f), 0);
        while (running || blocks < minimumBlocks)
        {
            host.processBlock (256, chord);
            ++blocks;
            std::this_thread::sleep_for (std::chrono::milliseconds (1));
        }
    });

    for (int round = 0; round < 30; ++round)
    {
        juce::OwnedArray<AlxStatusView> views;
        views.add (new AlxTriggerView (&editor));
        views.add (new AlxGrooveView (&editor));
        views.add (new AlxArpView (&editor));
        views.add (new AlxLFOView (&editor));
        AlxMessageLoop::deliverUntil ([] { return false; }, 5);
        set (lfoGroup().getSelectedLfoParameter(), round % 2 == 0 ? "LFO2" : "LFO1");

        if (round % 2 == 0)
        {
            // A host may hold the processor's lock while it closes the editor.
            const juce::ScopedLock sl (host.getProcessor().getCallbackLock());
            views.clear();
        }
    }
    EXPECT_TRUE (AlxMessageLoop::deliverUntil ([&] { return trigger().getLastTriggerTime() > 0.0; }))
        << "the audio thread played on";
    running = false;
    audio.join();
    host.deliver();
}

TEST_F (AlxStatusViewTest, lfoViewFillsTheStepSoundingNowAndOutlinesTheOthers)
{
    lookAndFeel->setColour (juce::ComboBox::backgroundColourId, juce::Colours::black);
    lookAndFeel->setColour (juce::ComboBox::textColourId, juce::Colours::white);
    set (lfo (0)->getShapeParameter(), "Saw Up");
    set (lfo (0)->getLevelParameter(), "1.00");
    AlxLFOView view (&editor);
    AlxTriggerView triggerView (&editor);
    play (5.5);
    ASSERT_DOUBLE_EQ (view.getLastTrigger(), 5.0);
    view.setBounds (0, 0, view.getPreferredWidth(), view.getPreferredHeight());
    triggerView.setBounds (0, 0, triggerView.getPreferredWidth(), triggerView.getPreferredHeight());
    const auto image = renderSnapshot (view, "lfo-view");
    renderSnapshot (triggerView, "trigger-view");

    // Steps at 4, 5, 6, 7 of the bar 4 .. 8 with the levels 0, 1/4, 1/2, 3/4; the plot is
    // 262 x 112 from (15, 15), so a quarter note is 65.5 pixels wide.
    const auto pixelAt = [&] (double quarter, int y) { return image.getPixelAt (15 + (int) (quarter * 65.5), y); };
    EXPECT_EQ (pixelAt (1.5, 120), juce::Colours::white) << "the step at 5 sounds now: filled";
    EXPECT_NE (pixelAt (2.5, 120), juce::Colours::white) << "the step at 6: only its outline";
    const auto topOf = [&] (size_t step) { return 15 + (int) ((1.0 - view.getStepLevels()[step]) * 112); };
    EXPECT_EQ (pixelAt (2.5, topOf (2)), juce::Colours::white) << "the outline's top at level 1/2";
    EXPECT_NE (pixelAt (3.5, topOf (2)), juce::Colours::white) << "the step at 7 reaches higher";
    EXPECT_EQ (pixelAt (3.5, topOf (3)), juce::Colours::white) << "the outline's top at level 3/4";
}
