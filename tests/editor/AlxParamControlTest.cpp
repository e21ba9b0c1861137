#include "AlxParamControlFixture.h"

#include "editor/AlxComboBox.h"
#include "editor/AlxDrawableButton.h"
#include "editor/AlxLabel.h"
#include "editor/AlxParamCombo.h"
#include "editor/AlxParamRadio.h"
#include "editor/AlxParamRotary.h"
#include "editor/AlxParamToggle.h"
#include "editor/AlxSlider.h"
#include "editor/AlxTextButton.h"
#include "support/AlxRecordingSink.h"

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
