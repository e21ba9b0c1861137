#include "AlxParamControlFixture.h"

#include "core/AlxFocusController.h"
#include "editor/AlxComboBox.h"
#include "editor/AlxDrawableButton.h"
#include "editor/AlxLabel.h"
#include "editor/AlxParamCombo.h"
#include "editor/AlxParamRadio.h"
#include "editor/AlxParamRotary.h"
#include "editor/AlxParamToggle.h"
#include "editor/AlxPlimsarLookAndFeel.h"
#include "editor/AlxSlider.h"
#include "editor/AlxTextButton.h"
#include "support/AlxRecordingSink.h"

#include <functional>
#include <thread>

namespace
{
    // Counts list rebuilds, to tell a rebind that keeps the list from one that rebuilds it.
    struct CountingCombo : AlxParamCombo
    {
        CountingCombo() : AlxParamCombo (nullptr, 0, 0) {}
        void refreshItems (bool reselect) override
        {
            ++rebuilds;
            AlxParamCombo::refreshItems (reselect);
        }
        int rebuilds = 0;
    };
}

TEST_F (AlxParamControlFixture, theDomainsControlKindPicksTheControl)
{
    struct KindCase
    {
        AlxDomain* domain;
        const char* expected;
    };
    const KindCase cases[] = {
        { domains.list, "combo" },
        { general.getPercentageDomain(), "rotary" },
        { domains.radio, "radio" },
        { general.getOnOffSwitchDomain(), "toggle" },
        { domains.numeric, "none" },
    };
    for (const auto& kindCase : cases)
    {
        const auto before = panel.getFlowChildren().size();
        auto* control = panel.addParameter (add (kindCase.domain, "P"), 0, 0);
        const juce::String expected (kindCase.expected);
        const char* made = dynamic_cast<AlxParamCombo*> (control) != nullptr    ? "combo"
                           : dynamic_cast<AlxParamRotary*> (control) != nullptr ? "rotary"
                           : dynamic_cast<AlxParamRadio*> (control) != nullptr  ? "radio"
                           : dynamic_cast<AlxParamToggle*> (control) != nullptr ? "toggle"
                                                                                : "none";
        EXPECT_EQ (juce::String (made), expected);
        EXPECT_EQ (panel.getFlowChildren().size(), before + (control != nullptr ? 1u : 0u)) << expected;
        if (control != nullptr)
        {
            EXPECT_EQ (control->getParentComponent(), &panel);
            EXPECT_EQ (control->getParameter(), set.getParameters().back().get());
        }
    }
    EXPECT_EQ (panel.addParameter (nullptr, 0, 0), nullptr);
}

TEST_F (AlxParamControlFixture, aComboShowsTheListAndFollowsChangesMadeOnAnotherThread)
{
    auto* p = add (domains.list, "Device Name");
    auto* control = panel.addParameter (p, 0, 0);
    auto* combo = part<AlxComboBox> (*control, "combo");
    auto* label = part<AlxLabel> (*control, "nameLabel");
    ASSERT_NE (combo, nullptr);
    ASSERT_NE (label, nullptr);
    EXPECT_EQ (label->getText(), "device name");
    EXPECT_EQ (label->getTooltip(), p->getDescription());
    ASSERT_EQ (combo->getNumItems(), 4);
    EXPECT_EQ (combo->getItemText (2), "Gamma");
    EXPECT_EQ (combo->getItemId (2), 3);
    EXPECT_EQ (combo->getSelectedId(), 1);

    std::thread audio ([p] { setPosition (p, 2, AlxMessageCode::fromHost); });
    audio.join();
    EXPECT_EQ (combo->getSelectedId(), 1) << "nothing shows before the message arrives";
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (combo->getSelectedId(), 3);
    EXPECT_EQ (combo->getTooltip(), "The value Gamma");

    {
        const juce::ScopedLock sl (p->getLock());
        p->setEnabled (false, true);
    }
    AlxMessageLoop::deliverPending();
    EXPECT_FALSE (control->isEnabled());
}

TEST_F (AlxParamControlFixture, editsAreWrittenBackAsTheEditorsAndShownAtOnce)
{
    auto* p = add (domains.list, "List");
    auto* control = panel.addParameter (p, 0, 0);
    AlxRecordingSink sink;
    p->addSink (&sink);

    part<AlxComboBox> (*control, "combo")->setSelectedId (4, juce::sendNotificationSync);
    EXPECT_EQ (p->getValueIndex(), 3);
    AlxMessageLoop::deliverPending();
    ASSERT_EQ (sink.records.size(), 1u);
    EXPECT_EQ (sink.records[0].code, AlxMessageCode::make (AlxMessageCode::valueChanged, AlxMessageCode::fromEditor));
    p->removeSink (&sink);
}

TEST_F (AlxParamControlFixture, rebindingToTheSameDomainKeepsTheList)
{
    auto* first = add (domains.list, "First");
    auto* second = add (domains.list, "Second");
    auto* other = add (domains.otherList, "Other");
    setPosition (second, 1);
    auto* control = new CountingCombo();
    panel.addChild (control);
    control->setParameter (first);
    ASSERT_EQ (control->rebuilds, 1);

    panel.rebindParameter (second, 0);
    EXPECT_EQ (control->rebuilds, 1) << "same domain: the list stays";
    EXPECT_EQ (part<AlxComboBox> (*control, "combo")->getSelectedId(), 2) << "but the value is the new parameter's";
    EXPECT_FALSE (first->hasSink (control));
    EXPECT_TRUE (second->hasSink (control));

    panel.rebindParameter (other, 0);
    EXPECT_EQ (control->rebuilds, 2);
    EXPECT_EQ (part<AlxComboBox> (*control, "combo")->getNumItems(), 2);

    panel.rebindParameter (first, 5);
    EXPECT_EQ (control->getParameter(), other) << "a position outside the flow changes nothing";
}

namespace
{
    struct StaleCase
    {
        const char* controlClass;
        AlxControlKind kind;
        juce::StringArray before, after;
        // The choice the user makes on the control's old list.
        std::function<void (AlxParamControl&)> choose;
    };
}

TEST_F (AlxParamControlFixture, aChoiceFromAListOlderThanTheDomainIsDroppedWithTheOverflowLine)
{
    const StaleCase cases[] = {
        { "AlxParamCombo", AlxControlKind::list, { "A", "B", "C", "D" }, { "A", "B" },
          [] (AlxParamControl& c) { part<AlxComboBox> (c, "combo")->setSelectedId (4, juce::sendNotificationSync); } },
        { "AlxParamCombo", AlxControlKind::list, { "A", "B", "C", "D" }, { "A", "X", "C", "D" },
          [] (AlxParamControl& c) { part<AlxComboBox> (c, "combo")->setSelectedId (2, juce::sendNotificationSync); } },
        { "AlxParamRotary", AlxControlKind::range, { "0", "1", "2", "3", "4" }, { "0", "1" },
          [] (AlxParamControl& c) { part<AlxSlider> (c, "knob")->setValue (3.0, juce::sendNotificationSync); } },
        { "AlxParamRadio", AlxControlKind::radio, { "L", "M", "R" }, { "L", "M" },
          [] (AlxParamControl& c) { part<juce::Button> (c, "R")->setToggleState (true, juce::sendNotification); } },
        { "AlxParamToggle", AlxControlKind::onOff, { "Off", "On" }, { "Off" },
          [] (AlxParamControl& c) { part<juce::Button> (c, {})->setToggleState (true, juce::sendNotification); } },
    };
    for (const auto& staleCase : cases)
    {
        AlxTestListDomain domain (nullptr, staleCase.kind, staleCase.before);
        AlxParameterSet parameters;
        auto* p = parameters.add (std::make_unique<AlxRealParameter> (&parameters, 0, -1, &domain, false, "Stale"));
        AlxParamPanel owner (nullptr, "Test", 305);
        auto* control = owner.addParameter (p, 0, 0);
        ASSERT_NE (control, nullptr) << staleCase.controlClass;

        // The domain changes on another thread; its message has not arrived yet.
        std::thread ([&] { domain.rebuild (staleCase.after); }).join();
        auto* valueBefore = p->getValue();
        AlxRecordingSink sink;
        p->addSink (&sink);
        {
            AlxDebugCapture debug;
            staleCase.choose (*control);
            EXPECT_NE (debug.text().find (std::string (staleCase.controlClass) + " parameter index overflow - change message too old?"),
                       std::string::npos)
                << staleCase.controlClass << ": " << debug.text();
        }
        EXPECT_EQ (p->getValue(), valueBefore) << staleCase.controlClass;
        AlxMessageLoop::deliverPending();
        EXPECT_EQ (sink.count (p, AlxMessageCode::make (AlxMessageCode::valueChanged, AlxMessageCode::fromEditor)), 0)
            << staleCase.controlClass;
        p->removeSink (&sink);
    }
}

TEST_F (AlxParamControlFixture, steppingButtonsMoveOneValueAndStopAtTheEnds)
{
    auto* p = add (domains.list, "List");
    auto* control = panel.addParameter (p, 0, 0);
    auto* decrease = part<juce::Button> (*control, "decreaseButton");
    auto* increase = part<juce::Button> (*control, "increaseButton");

    decrease->triggerClick();
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (p->getValueIndex(), 0) << "the first value stays";
    for (int expected : { 1, 2, 3, 3 })
    {
        increase->triggerClick();
        AlxMessageLoop::deliverPending();
        EXPECT_EQ (p->getValueIndex(), expected);
        EXPECT_EQ (part<AlxComboBox> (*control, "combo")->getSelectedId(), expected + 1);
    }
    decrease->triggerClick();
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (p->getValueIndex(), 2);
}

TEST_F (AlxParamControlFixture, aCommandItemPostsTheCommandAndKeepsTheValue)
{
    domains.list->rebuild ({ "Not connected", "Port 1" }, true);
    auto* p = add (domains.list, "Device");
    setPosition (p, 1);
    auto* control = panel.addParameter (p, 0, 0);
    auto* combo = part<AlxComboBox> (*control, "combo");
    ASSERT_EQ (combo->getNumItems(), 3);
    EXPECT_EQ (combo->getItemText (2), "Configure...");

    AlxRecordingSink sink;
    domains.list->addSink (&sink);
    combo->setSelectedId (3, juce::sendNotificationSync);
    EXPECT_EQ (combo->getSelectedId(), 2) << "the list shows the value again";
    EXPECT_EQ (p->getValueIndex(), 1);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (sink.count (domains.list, AlxMessageCode::make (AlxTestListDomain::commandKind, AlxMessageCode::moduleEvent)), 1);
    domains.list->removeSink (&sink);
}

TEST_F (AlxParamControlFixture, aRebuiltListIsShownAndNewTextsKeepTheSelection)
{
    auto* p = add (domains.list, "List");
    setPosition (p, 2);
    auto* control = panel.addParameter (p, 0, 0);
    auto* combo = part<AlxComboBox> (*control, "combo");

    domains.list->rebuild ({ "Gamma", "Epsilon" });
    AlxMessageLoop::deliverPending();
    ASSERT_EQ (combo->getNumItems(), 2);
    EXPECT_EQ (combo->getText(), "Gamma") << "the parameter found its value again by text";

    domains.list->getValues()[0]->setText ("Gamma 2", AlxMessageCode::make (AlxMessageCode::textsChanged, AlxMessageCode::internal), true);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (combo->getText(), "Gamma 2");
}

TEST_F (AlxParamControlFixture, radioAndToggleWriteThePositionTheUserChose)
{
    auto* radio = add (domains.radio, "Side");
    auto* toggle = add (general.getOnOffSwitchDomain(), "Hold");
    auto* radioControl = panel.addParameter (radio, 0, 0);
    auto* toggleControl = panel.addParameter (toggle, 0, 0);
    EXPECT_EQ (radioControl->getPreferredWidth(), 57);
    EXPECT_EQ (radioControl->getPreferredHeight(), 38);
    EXPECT_EQ (toggleControl->getPreferredWidth(), 65);
    EXPECT_EQ (toggleControl->getPreferredHeight(), 19);
    EXPECT_EQ (part<AlxLabel> (*radioControl, "nameLabel")->getText(), "Side") << "radio names keep their case";

    AlxRecordingSink sink;
    radio->addSink (&sink);
    part<juce::Button> (*radioControl, "Right")->triggerClick();
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (radio->getValueIndex(), 2);
    EXPECT_EQ (sink.records.size(), 1u) << "one click, one change";
    EXPECT_FALSE (part<juce::Button> (*radioControl, "Left")->getToggleState());
    radio->removeSink (&sink);

    setPosition (radio, 1);
    AlxMessageLoop::deliverPending();
    EXPECT_TRUE (part<juce::Button> (*radioControl, "Mid")->getToggleState());
    EXPECT_FALSE (part<juce::Button> (*radioControl, "Right")->getToggleState());

    auto* button = part<juce::Button> (*toggleControl, {});
    EXPECT_EQ (button->getButtonText(), "hold");
    button->triggerClick();
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (toggle->getValueIndex(), 1);
    button->triggerClick();
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (toggle->getValueIndex(), 0);
    EXPECT_FALSE (button->getToggleState());
}

TEST_F (AlxParamControlFixture, theKnobSpansTheDomainAndTheValueBoxTakesOnlyValueTexts)
{
    AlxRangeDomain wide (nullptr, 0.0, 2.0, 0.01, 0.0);
    AlxTestListDomain narrow (nullptr, AlxControlKind::range, { "0.0", "0.5", "1.0" });
    AlxTestListDomain single (nullptr, AlxControlKind::range, { "1.0" });
    AlxParameterSet parameters;
    auto* widePar = parameters.add (std::make_unique<AlxRealParameter> (&parameters, 0, -1, &wide, false, "Wide"));
    auto* narrowPar = parameters.add (std::make_unique<AlxRealParameter> (&parameters, 1, -1, &narrow, false, "Narrow"));
    auto* singlePar = parameters.add (std::make_unique<AlxRealParameter> (&parameters, 2, -1, &single, false, "Single"));
    AlxParamPanel owner (nullptr, "Test", 305);

    auto* wideControl = owner.addParameter (widePar, 0, 0);
    auto* knob = part<AlxSlider> (*wideControl, "knob");
    EXPECT_EQ (wideControl->getPreferredWidth(), 91);
    EXPECT_EQ (wideControl->getPreferredHeight(), 44);
    EXPECT_EQ (knob->getMaximum(), 200.0);
    EXPECT_EQ (knob->getMouseDragSensitivity(), 50);

    auto* narrowControl = owner.addParameter (narrowPar, 0, 0);
    EXPECT_EQ (part<AlxSlider> (*narrowControl, "knob")->getMaximum(), 2.0);
    EXPECT_EQ (part<AlxSlider> (*narrowControl, "knob")->getMouseDragSensitivity(), 2);
    auto* box = part<AlxLabel> (*narrowControl, "valueBox");
    EXPECT_EQ (box->getText(), "0.0");

    box->setText ("1", juce::sendNotificationSync);
    EXPECT_EQ (narrowPar->getValueIndex(), 2);
    EXPECT_EQ (box->getText(), "1.0");
    box->setText ("0.25", juce::sendNotificationSync);
    EXPECT_EQ (narrowPar->getValueIndex(), 2) << "no value reads as 0.25";
    EXPECT_EQ (box->getText(), "1.0") << "the box snaps back";
    box->setText ("loud", juce::sendNotificationSync);
    EXPECT_EQ (narrowPar->getValueIndex(), 0) << "text that is no number reads as 0";

    part<AlxSlider> (*narrowControl, "knob")->setValue (1.0, juce::sendNotificationSync);
    EXPECT_EQ (narrowPar->getValueIndex(), 1);
    EXPECT_EQ (box->getText(), "0.5");

    auto* singleControl = owner.addParameter (singlePar, 0, 0);
    EXPECT_FALSE (part<AlxSlider> (*singleControl, "knob")->isEnabled()) << "one value leaves the knob nowhere to go";
}

TEST_F (AlxParamControlFixture, twoCombosInARowOverlapByTheirBorders)
{
    AlxParamPanel wide (nullptr, "Test", 345);
    auto* first = wide.addParameter (add (domains.list, "A"), 30, 60);
    auto* second = wide.addParameter (add (domains.list, "B"), 30, 60);
    wide.setBounds (0, 0, 345, wide.getPreferredHeight());
    EXPECT_EQ (first->getPreferredWidth(), 151);
    EXPECT_EQ (first->getY(), second->getY()) << "one row";
    EXPECT_EQ (first->getRight() - second->getX(), 2);

    auto* standard = panel.addParameter (add (domains.list, "C"), 0, 0);
    EXPECT_EQ (standard->getPreferredWidth(), 241);
    EXPECT_EQ (standard->getPreferredHeight(), 19);
}

namespace
{
    void chooseInMenu (AlxParamControl& control)
    {
        AlxParamControlFixture::part<juce::Button> (control, "modulationButton")->triggerClick();
        AlxMessageLoop::deliverPending();
    }
}

TEST_F (AlxParamControlFixture, theModulationMenuOffersTheSourcesAndLocksHandEditsOut)
{
    auto combo = std::make_unique<ScriptedMenus<AlxParamCombo>> (nullptr, 0, 0);
    auto rotary = std::make_unique<ScriptedMenus<AlxParamRotary>> (nullptr);
    struct Target
    {
        const char* name;
        AlxParamControl* control;
        int* answer;
        juce::StringArray* offered;
        AlxDomain* domain;
        juce::StringArray lockedParts;
    };
    const Target targets[] = {
        { "combo", combo.get(), &combo->answer, &combo->offered, domains.list, { "combo", "increaseButton", "decreaseButton", "wheelButton" } },
        { "rotary", rotary.get(), &rotary->answer, &rotary->offered, general.getPercentageDomain(), { "knob", "valueBox", "wheelButton" } },
    };
    for (const auto& target : targets)
    {
        auto* source = add (general.getModulationSourceDomain(), "Mod-P");
        auto* p = add (target.domain, "P", source);
        auto& control = *target.control;
        control.setParameter (p);
        auto* button = part<juce::Button> (control, "modulationButton");
        EXPECT_TRUE (button->isVisible());
        const std::string name (target.name);

        *target.answer = 2;
        chooseInMenu (control);
        EXPECT_EQ (*target.offered, juce::StringArray ({ "None (ticked)", "LFO1", "LFO2" })) << name;
        EXPECT_EQ (source->getValue()->getText(), "LFO1") << name;
        EXPECT_TRUE (button->getToggleState()) << name;
        for (auto& locked : target.lockedParts)
            EXPECT_FALSE (part<juce::Component> (control, locked)->isEnabled()) << name << " " << locked;

        *target.answer = 0;
        chooseInMenu (control);
        EXPECT_EQ (*target.offered, juce::StringArray ({ "None", "LFO1 (ticked)", "LFO2" })) << name;
        EXPECT_EQ (source->getValueIndex(), 1) << name << ": a dismissed menu changes nothing";

        // The source returns to None elsewhere (a program loaded, the host): the control follows.
        setPosition (source, 0);
        AlxMessageLoop::deliverPending();
        EXPECT_FALSE (button->getToggleState()) << name;
        for (auto& locked : target.lockedParts)
            EXPECT_TRUE (part<juce::Component> (control, locked)->isEnabled()) << name << " " << locked;
    }
}

TEST_F (AlxParamControlFixture, aParameterWithoutModulationSourceHasNoModulationButton)
{
    auto* control = panel.addParameter (add (domains.list, "Plain"), 0, 0);
    EXPECT_FALSE (part<juce::Button> (*control, "modulationButton")->isVisible());
    auto* modulated = panel.addParameter (add (domains.list, "Modulated", add (general.getModulationSourceDomain(), "Mod")), 0, 0);
    EXPECT_TRUE (part<juce::Button> (*modulated, "modulationButton")->isVisible());
    EXPECT_EQ (modulated->getPreferredWidth(), 240);
    EXPECT_EQ (part<AlxComboBox> (*modulated, "combo")->getWidth(), 96);
    auto* rotary = panel.addParameter (add (general.getPercentageDomain(), "Modulated", add (general.getModulationSourceDomain(), "Mod")), 0, 0);
    EXPECT_EQ (rotary->getPreferredWidth(), 109);
}

TEST_F (AlxParamControlFixture, focusingAnotherParameterTurnsTheFirstWheelButtonOff)
{
    AlxFocusController focus;
    auto* a = add (domains.list, "A");
    auto* b = add (general.getPercentageDomain(), "B");
    a->addSink (&focus);
    b->addSink (&focus);
    auto* controlA = panel.addParameter (a, 0, 0);
    auto* controlB = panel.addParameter (b, 0, 0);
    auto* wheelA = part<juce::Button> (*controlA, "wheelButton");
    auto* wheelB = part<juce::Button> (*controlB, "wheelButton");

    wheelA->triggerClick();
    AlxMessageLoop::deliverPending();
    EXPECT_TRUE (a->isFocused());
    EXPECT_EQ (focus.getFocusedParameter(), a);

    wheelB->triggerClick();
    AlxMessageLoop::deliverPending();
    EXPECT_TRUE (b->isFocused());
    EXPECT_FALSE (a->isFocused());
    EXPECT_FALSE (wheelA->getToggleState()) << "A's own message turned its button off";
    EXPECT_TRUE (wheelB->getToggleState());

    wheelB->triggerClick();
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (focus.getFocusedParameter(), nullptr);
    EXPECT_FALSE (wheelB->getToggleState());
    a->removeSink (&focus);
    b->removeSink (&focus);
}

namespace
{
    bool hasMoreThanOneColour (const juce::Image& image, juce::Rectangle<int> area)
    {
        const auto first = image.getPixelAt (area.getX(), area.getY());
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                if (image.getPixelAt (x, y) != first)
                    return true;
        return false;
    }
}

TEST_F (AlxParamControlFixture, aPanelOfControlsDrawsWithTheEditorsLookAndFeel)
{
    const auto lookAndFeel = AlxPlimsarLookAndFeel::acquire();
    // Panels take their colours when they are built, from the look and feel installed then.
    AlxParamPanel shown (nullptr, "Trigger", 345);
    auto* modulated = add (general.getModulationSourceDomain(), "Mod-Step");
    setPosition (modulated, 1);
    shown.addParameter (add (domains.list, "Step", modulated), 0, 0);
    shown.addParameter (add (domains.otherList, "Octave"), 0, 0);
    auto* toggle = shown.addParameter (add (general.getOnOffSwitchDomain(), "Hold"), 0, 0);
    setPosition (set.getParameters().back().get(), 1);
    auto* radio = shown.addParameter (add (domains.radio, "LFO"), 0, 0);
    shown.addParameter (add (general.getPercentageDomain(), "Gate", add (general.getModulationSourceDomain(), "Mod-Gate")), 0, 0);
    setPosition (set.getParameters().back().get(), 60);
    auto* knob = shown.addParameter (add (general.getUnitScaleDomain(), "Groove"), 0, 0);
    AlxMessageLoop::deliverPending();
    shown.setBounds (0, 0, 345, shown.getPreferredHeight());

    struct Backdrop : juce::Component
    {
        void paint (juce::Graphics& g) override
        {
            AlxLookAndFeel::fillScanLineBackground (g, findColour (juce::ComboBox::backgroundColourId), getWidth(), getHeight());
        }
    } backdrop;
    backdrop.setBounds (shown.getBounds().expanded (6).withPosition (0, 0));
    shown.setTopLeftPosition (6, 6);
    backdrop.addAndMakeVisible (shown);
    const auto image = backdrop.createComponentSnapshot (backdrop.getLocalBounds());
    const auto file = juce::File::getCurrentWorkingDirectory().getChildFile ("controls-snapshot.png");
    juce::FileOutputStream out (file);
    out.setPosition (0);
    out.truncate();
    ASSERT_TRUE (juce::PNGImageFormat().writeImageToStream (image, out)) << file.getFullPathName();
    backdrop.removeChildComponent (&shown);

    const auto inBackdrop = [&] (juce::Component& control, const juce::String& name) {
        return part<juce::Component> (control, name)->getBounds() + control.getPosition() + shown.getPosition();
    };
    EXPECT_TRUE (hasMoreThanOneColour (image, inBackdrop (*knob, "wheelButton"))) << "the wheel icon shows";
    EXPECT_TRUE (hasMoreThanOneColour (image, inBackdrop (*knob, "knob")));
    EXPECT_TRUE (hasMoreThanOneColour (image, inBackdrop (*radio, "Mid"))) << "radio icons show";
    EXPECT_TRUE (hasMoreThanOneColour (image, toggle->getBounds() + shown.getPosition())) << "the toggle's text shows";
}
