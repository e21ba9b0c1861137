#include "AlxParamControlFixture.h"

#include "editor/AlxLabel.h"
#include "editor/AlxParamRotary.h"
#include "editor/AlxSlider.h"
#include "modules/AlxTriggerModule.h"
#include "support/AlxTestHost.h"

#include <atomic>
#include <thread>

namespace
{
    // What a host hears from one of the processor's parameters.
    struct HostEar : juce::AudioProcessorParameter::Listener
    {
        void parameterValueChanged (int, float) override { events.add ("value"); }
        void parameterGestureChanged (int, bool starting) override { events.add (starting ? "begin" : "end"); }
        juce::StringArray events;
    };

    struct ControlsOnAProcessor : testing::Test
    {
        AlxTestHost host;
        AlxTriggerModule& trigger = host.module<AlxTriggerModule> (AlxTriggerModule::moduleId);

        AlxParameter* programParameter (int id) { return trigger.getProgramParameters()->findById (id); }
        juce::AudioProcessorParameter* hostParameter (AlxParameter* p) { return host.getProcessor().getParameters()[p->getHostIndex()]; }

        // Knob events as a mouse makes them: press, move up, release.
        static void drag (AlxSlider& knob, float distance)
        {
            auto source = juce::Desktop::getInstance().getMainMouseSource();
            const juce::Point<float> start (18.0f, 15.0f);
            const auto at = [&] (juce::Point<float> position, bool dragged) {
                return juce::MouseEvent (source, position, juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier), 1.0f, 0.0f, 0.0f,
                                         0.0f, 0.0f, &knob, &knob, juce::Time::getCurrentTime(), start, juce::Time::getCurrentTime(), 1,
                                         dragged);
            };
            // A hand is slow: the messages of each step arrive before the next.
            knob.mouseDown (at (start, false));
            AlxMessageLoop::deliverPending();
            knob.mouseDrag (at (start.translated (0.0f, -distance), true));
            AlxMessageLoop::deliverPending();
            knob.mouseUp (at (start.translated (0.0f, -distance), true));
        }
    };
}

TEST_F (ControlsOnAProcessor, aKnobDragReachesTheHostAsOneGesture)
{
    auto* gate = programParameter (AlxTriggerModule::gateId);
    AlxParamPanel panel (nullptr, "Trigger", 305);
    auto* control = panel.addParameter (gate, 0, 0);
    auto* knob = AlxParamControlFixture::part<AlxSlider> (*control, "knob");
    knob->setBounds (0, 0, 37, 31);
    HostEar ear;
    hostParameter (gate)->addListener (&ear);
    const int before = gate->getValueIndex();

    drag (*knob, 20.0f);
    EXPECT_GT (gate->getValueIndex(), before) << "dragging up raises the value";
    EXPECT_FALSE (gate->isGestureActive());
    host.deliver();
    ASSERT_GE (ear.events.size(), 3);
    EXPECT_EQ (ear.events[0], "begin");
    EXPECT_EQ (ear.events[ear.events.size() - 1], "end");
    EXPECT_EQ (ear.events.indexOf ("end"), ear.events.size() - 1) << "one gesture: " << ear.events.joinIntoString (",");

    // Every other edit is a single change without gesture marks.
    ear.events.clear();
    AlxParamControlFixture::part<AlxLabel> (*control, "valueBox")->setText ("50", juce::sendNotificationSync);
    host.deliver();
    EXPECT_EQ (ear.events, juce::StringArray ({ "value" }));
    hostParameter (gate)->removeListener (&ear);
}

TEST_F (ControlsOnAProcessor, aDeletedKnobInTheMiddleOfADragEndsItsGesture)
{
    auto* gate = programParameter (AlxTriggerModule::gateId);
    HostEar ear;
    hostParameter (gate)->addListener (&ear);
    {
        AlxParamPanel panel (nullptr, "Trigger", 305);
        auto* control = dynamic_cast<AlxParamRotary*> (panel.addParameter (gate, 0, 0));
        control->sliderDragStarted (AlxParamControlFixture::part<AlxSlider> (*control, "knob"));
        EXPECT_TRUE (gate->isGestureActive());
    }
    EXPECT_FALSE (gate->isGestureActive());
    host.deliver();
    hostParameter (gate)->removeListener (&ear);
}

TEST_F (ControlsOnAProcessor, theModulationButtonFollowsTheProgramShown)
{
    auto* gate = programParameter (AlxTriggerModule::gateId);
    ScriptedMenus<AlxParamRotary> control (nullptr);
    control.setParameter (gate);
    auto* button = AlxParamControlFixture::part<juce::Button> (control, "modulationButton");
    auto* knob = AlxParamControlFixture::part<AlxSlider> (control, "knob");

    control.answer = 2;
    button->triggerClick();
    host.deliver();
    EXPECT_TRUE (button->getToggleState());
    EXPECT_FALSE (knob->isEnabled());

    host.getProcessor().setCurrentProgram (1);
    host.deliver();
    EXPECT_FALSE (button->getToggleState()) << "program 1 is not modulated";
    EXPECT_TRUE (knob->isEnabled());

    control.answer = 3;
    button->triggerClick();
    host.deliver();
    EXPECT_EQ (gate->getModulationSource()->getValue()->getText(), "LFO2") << "the menu sets program 1's source";

    host.getProcessor().setCurrentProgram (0);
    host.deliver();
    EXPECT_EQ (gate->getModulationSource()->getValue()->getText(), "LFO1") << "program 0 kept its own";
    EXPECT_TRUE (button->getToggleState());
    EXPECT_EQ (control.offered, juce::StringArray ({ "None (ticked)", "LFO1", "LFO2" }));
}

TEST_F (ControlsOnAProcessor, messagesQueuedForADeletedControlAreNotDelivered)
{
    auto* gate = programParameter (AlxTriggerModule::gateId);
    auto* source = gate->getModulationSource();
    const int sinksBefore = gate->getNumSinks() + source->getNumSinks();
    void* deletedControl = nullptr;
    {
        AlxParamPanel panel (nullptr, "Trigger", 305);
        deletedControl = panel.addParameter (gate, 0, 0);
        for (int i = 0; i < 10; ++i)
            AlxParamControlFixture::setPosition (gate, i, AlxMessageCode::fromHost);
        AlxParamControlFixture::setPosition (source, 1);
        EXPECT_TRUE (gate->hasSink (static_cast<AlxMessageSink*> (static_cast<AlxParamControl*> (deletedControl))));
    }
    EXPECT_EQ (gate->getNumSinks() + source->getNumSinks(), sinksBefore);
    host.deliver();
    EXPECT_EQ (gate->getValueIndex(), 9);
}

TEST_F (ControlsOnAProcessor, controlsComeAndGoWhileTheAudioThreadChangesTheirParameters)
{
    auto* gate = programParameter (AlxTriggerModule::gateId);
    auto* step = programParameter (AlxTriggerModule::stepId);
    auto* hostGate = hostParameter (gate);
    auto* hostStep = hostParameter (step);
    const int sinksBefore = gate->getNumSinks() + step->getNumSinks();
    std::atomic<bool> running { true };
    std::atomic<int> changes { 0 };

    // Host automation as it arrives: under the processor's callback lock, one change of each
    // parameter per block of 64 samples, at about the pace of a real device.
    std::thread audio ([&] {
        juce::Random random (7);
        while (running)
        {
            host.processBlock (64);
            {
                const juce::ScopedLock sl (host.getProcessor().getCallbackLock());
                hostGate->setValue (random.nextFloat());
                hostStep->setValue (random.nextFloat());
            }
            ++changes;
            juce::Thread::sleep (1);
        }
    });

    // The audio thread never stops posting, so the queue never runs dry: deliver what is there
    // in short turns instead of waiting for an empty queue.
    const auto deliverSome = [] { juce::MessageManager::getInstance()->runDispatchLoopUntil (1); };
    for (int round = 0; round < 200; ++round)
    {
        auto panel = std::make_unique<AlxParamPanel> (nullptr, "Trigger", 305);
        panel->addParameter (gate, 0, 0);
        panel->addParameter (step, 0, 0);
        if (round % 2 == 0)
            deliverSome();
        panel.reset();
        if (round % 3 == 0)
            deliverSome();
    }
    running = false;
    audio.join();
    AlxMessageLoop::deliverPending();

    EXPECT_GT (changes.load(), 0);
    EXPECT_EQ (gate->getNumSinks() + step->getNumSinks(), sinksBefore);
}
