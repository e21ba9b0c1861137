#include "core/AlxFilter.h"
#include "framework/AlxMessageCode.h"
#include "support/AlxMessageLoop.h"

#include <gtest/gtest.h>

namespace
{
    // A root with two host-visible program parameters (a percentage named "Gate" with prefix
    // "T/", and an on/off switch) and one internal parameter.
    struct HostedModule : AlxModule
    {
        explicit HostedModule (AlxModuleContainer* c) : AlxModule (c, 4) {}

        void initialise() override
        {
            registerInModuleMap();
            auto& domains = getGeneralDomains();
            addProgramParameter (0, takeHostIndex(), domains.getPercentageDomain(), "Gate");
            addProgramParameter (1, takeHostIndex(), domains.getOnOffSwitchDomain());
            addGlobalParameter (0, takeInternalIndex(), domains.getPercentageDomain());
            rebuildIdTables();

            for (auto& set : getProgramSets())
                set->findById (0)->setPrefix ("T/");

            setCurrentProgram (0);
            registerParameters();
        }
    };

    struct HostedFilter : AlxFilter
    {
        std::unique_ptr<AlxModule> createRootModule() override { return std::make_unique<HostedModule> (getContainer()); }
    };

    struct HostListener : juce::AudioProcessorListener
    {
        void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override { changes.push_back ({ index, value }); }
        void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
        void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override { gestures.push_back (index + 1); }
        void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override { gestures.push_back (-(index + 1)); }

        std::vector<std::pair<int, float>> changes;
        std::vector<int> gestures;
    };

    struct HostFixture : testing::Test
    {
        HostFixture()
        {
            filter.initialise();
            filter.addListener (&host);
            AlxMessageLoop::deliverPending();
            host.changes.clear();
        }

        ~HostFixture() override { filter.removeListener (&host); }

        juce::AudioProcessorParameter& hostParameter (int i) { return *filter.getParameters()[i]; }
        AlxParameter& gate() { return *filter.getContainer()->getParameterMap().lookup (0); }
        AlxValue* percent (int i) { return filter.getContainer()->getGeneralDomains().getPercentageDomain()->getValues()[(size_t) i].get(); }

        HostedFilter filter;
        HostListener host;
    };
}

TEST_F (HostFixture, exposesOneParameterObjectPerHostIndex)
{
    ASSERT_EQ (filter.getParameters().size(), 2);
    EXPECT_EQ (hostParameter (0).getName (100), "T/Gate");
    EXPECT_EQ (hostParameter (0).getName (3), "T/G");
    EXPECT_EQ (hostParameter (1).getName (100), "On/Off");
    EXPECT_EQ (hostParameter (0).getCurrentValueAsText(), "0 %");
    EXPECT_EQ (hostParameter (1).getNumSteps(), 2);
    EXPECT_TRUE (hostParameter (1).isDiscrete());
    EXPECT_FALSE (hostParameter (0).isDiscrete());

    gate().setValue (percent (40), 2, false, false);
    EXPECT_FLOAT_EQ (hostParameter (0).getValue(), 0.4f);
    EXPECT_EQ (hostParameter (0).getCurrentValueAsText(), "40 %");
    EXPECT_FLOAT_EQ (hostParameter (0).getValueForText ("75 %"), 0.75f);
    EXPECT_EQ (dynamic_cast<juce::HostedAudioProcessorParameter&> (hostParameter (1)).getParameterID(), "p1");
}

TEST_F (HostFixture, anIndexWithoutAParameterIsReserved)
{
    AlxHostParameter reserved (filter, 5);
    EXPECT_EQ (reserved.getName (100), "Rsrvd5");
    EXPECT_EQ (reserved.getText (0.3f, 100), "Reserved");
    EXPECT_EQ (reserved.getValue(), 0.0f);
    reserved.setValue (0.7f);
    EXPECT_EQ (reserved.getValue(), 0.0f);
}

TEST_F (HostFixture, hostAutomationSelectsTheNearestStepAndIsNotEchoed)
{
    hostParameter (0).setValue (0.512f);
    EXPECT_EQ (gate().getValue(), percent (51)) << "the nearest step";
    hostParameter (0).setValue (0.508f);
    EXPECT_EQ (gate().getValue(), percent (51));
    hostParameter (0).setValue (-3.0f);
    EXPECT_EQ (gate().getValue(), percent (0)) << "below the scale selects the first value";
    hostParameter (0).setValue (std::nanf (""));
    EXPECT_EQ (gate().getValue(), percent (0)) << "not a number keeps the value";
    hostParameter (0).setValue (2.0f);
    EXPECT_EQ (gate().getValue(), percent (100));

    AlxMessageLoop::deliverPending();
    EXPECT_TRUE (host.changes.empty());
}

TEST_F (HostFixture, editorChangesReachTheHostFromTheMessageThread)
{
    gate().setValue (percent (30), AlxMessageCode::fromEditor, false, true);
    EXPECT_TRUE (host.changes.empty()) << "nothing is sent from the changing thread";

    AlxMessageLoop::deliverPending();
    ASSERT_EQ (host.changes.size(), 1u);
    EXPECT_EQ (host.changes[0].first, 0);
    EXPECT_FLOAT_EQ (host.changes[0].second, 0.3f);

    // An unchanged value posts nothing, so the host hears nothing.
    hostParameter (0).setValue (0.3f);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (host.changes.size(), 1u);
}

TEST_F (HostFixture, gesturesBecomeHostGestures)
{
    gate().setGestureActive (true);
    AlxMessageLoop::deliverPending();
    gate().setGestureActive (false);
    filter.getContainer()->getParameterMap().lookup (-1)->setGestureActive (true);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (host.gestures, (std::vector<int> { 1, -1 }));

    // A drag over before its messages arrive never gives the host an end without a begin.
    gate().setGestureActive (true);
    gate().setGestureActive (false);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (host.gestures, (std::vector<int> { 1, -1 }));
}

TEST_F (HostFixture, theHostAlwaysAddressesTheCurrentProgram)
{
    auto* root = filter.getRootModule();
    root->getProgramSet (2)->findById (0)->setValue (percent (20), 5, false, false);
    root->setCurrentProgram (2);
    EXPECT_EQ (hostParameter (0).getCurrentValueAsText(), "20 %");

    hostParameter (0).setValue (0.21f);
    EXPECT_EQ (root->getProgramSet (2)->findById (0)->getValue(), percent (21));
    EXPECT_EQ (root->getProgramSet (0)->findById (0)->getValue(), percent (0));
}

TEST_F (HostFixture, focusMovesFromOneParameterToTheNext)
{
    auto& toggle = *filter.getContainer()->getParameterMap().lookup (1);
    gate().setFocused (true);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (filter.getFocusedParameter(), &gate());

    toggle.setFocused (true);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (filter.getFocusedParameter(), &toggle);
    EXPECT_FALSE (gate().isFocused());

    toggle.setFocused (false);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (filter.getFocusedParameter(), nullptr);
}
