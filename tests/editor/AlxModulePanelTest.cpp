// The module panels on a real processor: their children in display order with their sizes and
// the flow's numbers, the LFO panel's controls following the LFO choice, panels open while the
// transport plays, and deleting them at any time. With PLIMSAR_PANEL_PNG_DIR set each panel is
// also drawn to a PNG there.

#include "editor/AlxArpPanel.h"
#include "editor/AlxArpView.h"
#include "editor/AlxGroovePanel.h"
#include "editor/AlxLFOPanel.h"
#include "editor/AlxLFOView.h"
#include "editor/AlxParamCombo.h"
#include "editor/AlxParamRadio.h"
#include "editor/AlxParamRotary.h"
#include "editor/AlxSpacer.h"
#include "editor/AlxSynthPanel.h"
#include "editor/AlxTriggerPanel.h"
#include "editor/AlxTriggerView.h"
#include "support/AlxMessageLoop.h"
#include "synth/AlxSynthModule.h"
#include "AlxEditorFixture.h"
#include "AlxSnapshot.h"

#include <atomic>
#include <sstream>
#include <thread>

namespace
{
    using AlxModulePanelTest = AlxEditorFixture;

    // One flowing child as "<kind><width>x<height>", with "b" when it ends its row. Kinds: S
    // spacer, V status view, C combo, R rotary, O radio group.
    std::string describe (AlxPanel* child)
    {
        std::ostringstream out;
        if (dynamic_cast<AlxSpacer*> (child) != nullptr)
            out << "S";
        else if (dynamic_cast<AlxStatusView*> (child) != nullptr)
            out << "V";
        else if (dynamic_cast<AlxParamCombo*> (child) != nullptr)
            out << "C";
        else if (dynamic_cast<AlxParamRotary*> (child) != nullptr)
            out << "R";
        else if (dynamic_cast<AlxParamRadio*> (child) != nullptr)
            out << "O";
        else
            out << "?";
        out << child->getPreferredWidth() << "x" << child->getPreferredHeight() << (child->hasRowBreak() ? "b" : "");
        return out.str();
    }

    std::vector<std::string> describeChildren (const AlxParamPanel& panel)
    {
        std::vector<std::string> result;
        for (auto* child : panel.getFlowChildren())
            result.push_back (describe (child));
        return result;
    }

    std::vector<AlxParamControl*> controlsOf (const AlxParamPanel& panel)
    {
        std::vector<AlxParamControl*> result;
        for (auto* child : panel.getFlowChildren())
            if (auto* control = dynamic_cast<AlxParamControl*> (child))
                result.push_back (control);
        return result;
    }

    std::vector<AlxParameter*> parametersOf (const AlxParamPanel& panel)
    {
        std::vector<AlxParameter*> result;
        for (auto* control : controlsOf (panel))
            result.push_back (control->getParameter());
        return result;
    }

    // What a combo or rotary control shows as its value.
    juce::String shownText (AlxParamControl& control)
    {
        for (auto* child : control.getChildren())
        {
            if (auto* combo = dynamic_cast<juce::ComboBox*> (child))
                return combo->getText();
            if (auto* label = dynamic_cast<juce::Label*> (child); label != nullptr && label->getName() == "valueBox")
                return label->getText();
        }
        return "(nothing shown)";
    }

    struct Layout
    {
        std::vector<std::string> children;
        int width, height;
    };

    void expectLayout (AlxParamPanel& panel, const Layout& expected)
    {
        SCOPED_TRACE (panel.getTitle());
        EXPECT_EQ (describeChildren (panel), expected.children);
        EXPECT_EQ (panel.getPreferredWidth(), expected.width);
        EXPECT_EQ (panel.getPreferredHeight(), expected.height);
        EXPECT_NE (panel.getIcon(), nullptr) << "the panel's icon loads from its archive";
        panel.setSize (panel.getPreferredWidth(), panel.getPreferredHeight());
        renderSnapshot (panel, panel.getTitle().toLowerCase() + "-panel");
    }
}

TEST_F (AlxModulePanelTest, triggerPanelHoldsItsViewAndControlsInDisplayOrder)
{
    AlxTriggerPanel panel (&editor);
    // The step combo has a 40-pixel label instead of the default 65.
    expectLayout (panel, { { "S250x10b", "V255x20", "S250x10b", "C215x19", "S250x10b", "S10x19", "R109x44", "S20x19", "R109x44" },
                           305, 119 });
    EXPECT_EQ (parametersOf (panel), (std::vector<AlxParameter*> { trigger().getStepParameter(), trigger().getVelocityParameter(),
                                                                     trigger().getGateParameter() }));
    EXPECT_EQ (panel.getView(), dynamic_cast<AlxTriggerView*> (panel.getFlowChildren()[1]));
    EXPECT_EQ (panel.getFlowChildren()[8]->getBounds(), juce::Rectangle<int> (181, 65, 109, 44)) << "the gate knob";
}

TEST_F (AlxModulePanelTest, groovePanelHoldsItsViewAndControlsInDisplayOrder)
{
    AlxGroovePanel panel (&editor);
    expectLayout (panel, { { "S250x10b", "V255x20", "S250x10b", "S10x19", "R109x44", "S20x19", "R109x44", "S250x10b", "S15x19", "C240x19" },
                           305, 123 });
    EXPECT_EQ (parametersOf (panel), (std::vector<AlxParameter*> { groove().getAmountParameter(), groove().getWidthParameter(),
                                                                     groove().getPatternParameter() }));
}

TEST_F (AlxModulePanelTest, arpPanelHoldsItsViewAndControlsInDisplayOrder)
{
    AlxArpPanel panel (&editor);
    expectLayout (panel, { { "S250x10b", "V255x20", "S250x12b", "S15x19", "C240x19", "S15x19", "C240x19" }, 305, 88 });
    EXPECT_EQ (parametersOf (panel), (std::vector<AlxParameter*> { arp().getMaskParameter(), arp().getDoublingParameter() }));
    EXPECT_EQ (panel.getFlowChildren()[6]->getBounds(), juce::Rectangle<int> (57, 59, 240, 19))
        << "the doubling wraps below the mask, the rows overlapping by the combos' borders";
}

TEST_F (AlxModulePanelTest, lfoPanelHoldsItsViewAndTheSelectedLfosControlsInDisplayOrder)
{
    AlxLFOPanel panel (&editor);
    expectLayout (panel, { { "S250x10b", "V292x142", "S250x12b",
                             "O38x38", "S12x19", "C241x19", "S50x19", "C241x19", "S50x19", "C241x19", "S250x20b",
                             "R91x44", "S10x19", "R91x44", "S10x19", "R91x44", "S250x12b",
                             "S40x19", "R91x44", "S30x19", "R91x44", "S300x15b" },
                           345, 360 });
    auto& group = lfoGroup();
    const auto setting = [&] (int id) { return group.getSelectedParameter (id); };
    EXPECT_EQ (parametersOf (panel), (std::vector<AlxParameter*> {
                                         group.getSelectedLfoParameter(), setting (AlxLFOModule::shapeId),
                                         setting (AlxLFOModule::frequencyId), setting (AlxLFOModule::perId),
                                         setting (AlxLFOModule::levelId), setting (AlxLFOModule::dcOffsetId),
                                         setting (AlxLFOModule::phaseId), setting (AlxLFOModule::noiseId),
                                         setting (AlxLFOModule::pulseWidthId) }));
    // The LFO choice's name, below its buttons, lies beside the indents of the next two rows.
    EXPECT_EQ (panel.getFlowChildren()[3]->getBounds(), juce::Rectangle<int> (42, 164, 38, 38));
    EXPECT_EQ (panel.getFlowChildren()[7]->getBounds(), juce::Rectangle<int> (92, 181, 241, 19));
}

TEST_F (AlxModulePanelTest, synthPanelTakesItsWidthFromTheEditor)
{
    AlxSynthPanel panel (&editor, 345);
    expectLayout (panel, { { "S300x10b", "R91x44", "S300x13b" }, 345, 77 });
    EXPECT_EQ (parametersOf (panel), (std::vector<AlxParameter*> { root().getSynthModule()->getGainParameter() }));
}

TEST_F (AlxModulePanelTest, choosingLfo2LeavesTheControlsInPlaceAndShowsLfo2sSettings)
{
    const std::pair<int, const char*> lfo2Settings[] = {
        { AlxLFOModule::shapeId, "Square" }, { AlxLFOModule::frequencyId, "2" }, { AlxLFOModule::perId, "Beat" },
        { AlxLFOModule::levelId, "1.00" }, { AlxLFOModule::dcOffsetId, "-0.50" }, { AlxLFOModule::phaseId, "0.25" },
        { AlxLFOModule::noiseId, "10 %" }, { AlxLFOModule::pulseWidthId, "0.30" },
    };
    for (auto& [id, text] : lfo2Settings)
        set (lfo (1)->getProgramParameters()->findById (id), text);
    host.deliver();

    AlxLFOPanel panel (&editor);
    const auto controls = controlsOf (panel);
    ASSERT_EQ (controls.size(), 9u);
    const auto shownFor = [&] (int id)
    {
        for (auto* control : controls)
            if (control->getParameter() == lfoGroup().getSelectedParameter (id))
                return shownText (*control);
        return juce::String ("(no control)");
    };
    EXPECT_EQ (shownFor (AlxLFOModule::shapeId), "Sawtooth up") << "LFO1 first, combos showing short texts";

    juce::Button* lfo2Button = nullptr;
    for (auto* child : controls[0]->getChildren())
        if (child->getName() == "LFO2")
            lfo2Button = dynamic_cast<juce::Button*> (child);
    ASSERT_NE (lfo2Button, nullptr);
    lfo2Button->triggerClick();
    host.deliver();

    ASSERT_EQ (lfoGroup().getSelectedLfo(), lfo (1));
    EXPECT_EQ (controlsOf (panel), controls) << "the same controls";
    for (auto& [id, text] : lfo2Settings)
        EXPECT_EQ (shownFor (id), text) << "setting " << id;
    EXPECT_EQ (panel.getView()->getShownLfo(), lfo (1));
}

TEST_F (AlxModulePanelTest, panelsOpenWhileTheTransportPlaysShowModulatedValuesInTheirViews)
{
    // LFO1: a square over the bar; the gate follows it, the arp mask follows LFO2, flat at 1/4.
    set (lfo (0)->getShapeParameter(), "Square");
    set (lfo (0)->getLevelParameter(), "1.00");
    set (lfo (1)->getShapeParameter(), "Flat");
    set (lfo (1)->getLevelParameter(), "0.25");
    set (trigger().getGateParameter()->getModulationSource(), "LFO1");
    set (arp().getMaskSourceParameter(), "LFO2");

    AlxTriggerPanel triggerPanel (&editor);
    AlxGroovePanel groovePanel (&editor);
    AlxArpPanel arpPanel (&editor);
    AlxLFOPanel lfoPanel (&editor);
    AlxSynthPanel synthPanel (&editor, 345);
    auto* gateControl = controlsOf (triggerPanel)[2];

    play (1.5);
    EXPECT_EQ (textOf (triggerPanel.getView()->getGateValue()), "400 %") << "LFO1 high: the last gate";
    EXPECT_EQ (textOf (arpPanel.getView()->getMaskValue()), "4") << "level 1/4 of the 17 masks selects the fifth";
    EXPECT_EQ (shownText (*gateControl), "90 %") << "the control shows the setting itself";
    EXPECT_FALSE (gateControl->getChildren()[0]->isEnabled() && gateControl->getChildren()[1]->isEnabled()
                  && gateControl->getChildren()[2]->isEnabled() && gateControl->getChildren()[3]->isEnabled())
        << "a modulated setting cannot be edited by hand";

    path.run (48000, 512);
    EXPECT_EQ (textOf (triggerPanel.getView()->getGateValue()), "0 %") << "LFO1 low in the bar's second half";
    const auto& levels = lfoPanel.getView()->getStepLevels();
    EXPECT_EQ (levels, (std::vector<double> { 1.0, 1.0, 0.0, 0.0 })) << "LFO1 at the four steps of the bar";
}

TEST_F (AlxModulePanelTest, panelsDeletedWithMessagesQueuedAndUnderTheCallbackLock)
{
    set (trigger().getStepParameter(), "1/16");
    set (trigger().getVelocityParameter()->getModulationSource(), "LFO1");
    path.start();
    path.hold ({ 48, 55 });
    host.deliver();

    std::atomic<bool> running { true };
    std::thread audio ([&]
    {
        // A device asks for the next block a while after the last one (here much sooner than
        // 256 samples would last).
        while (running)
        {
            host.processBlock (256);
            std::this_thread::sleep_for (std::chrono::milliseconds (1));
        }
    });

    for (int round = 0; round < 10; ++round)
    {
        juce::OwnedArray<AlxParamPanel> panels;
        panels.add (new AlxTriggerPanel (&editor));
        panels.add (new AlxGroovePanel (&editor));
        panels.add (new AlxArpPanel (&editor));
        panels.add (new AlxLFOPanel (&editor));
        panels.add (new AlxSynthPanel (&editor, 345));
        AlxMessageLoop::deliverUntil ([] { return false; }, 20);

        // Changes whose messages are still queued when the panels go.
        set (lfoGroup().getSelectedLfoParameter(), round % 2 == 0 ? "LFO2" : "LFO1");
        set (trigger().getVelocityParameter(), round % 2 == 0 ? "50" : "100");
        set (groove().getAmountSourceParameter(), round % 2 == 0 ? "LFO1" : "None");
        const juce::ScopedLock sl (host.getProcessor().getCallbackLock());
        panels.clear();
    }
    EXPECT_TRUE (AlxMessageLoop::deliverUntil ([&] { return trigger().getLastTriggerTime() > 0.0; }))
        << "the audio thread played on";
    running = false;
    audio.join();
    host.deliver();
    EXPECT_TRUE (transport().isPlaying());
}
