#include "editor/AlxDrawableButton.h"
#include "editor/AlxDrawableLoader.h"
#include "editor/AlxParamPanel.h"
#include "editor/AlxSpacer.h"

#include <gtest/gtest.h>

namespace
{
    // A flowing child with a spacing of its own, as parameter controls have.
    class SpacedPanel : public AlxPanel
    {
    public:
        SpacedPanel (int width, int height, int spacing_)
            : AlxPanel (nullptr, {}, width, height, false), spacing (spacing_) {}
        int getSpacing() const override { return spacing; }

    private:
        int spacing;
    };

    struct FlowCase
    {
        const char* name;
        std::vector<std::array<int, 3>> children;  // width, height, spacing
        std::vector<juce::Rectangle<int>> bounds;
        int preferredHeight;
    };
}

TEST (AlxParamPanel, flowsChildrenInRows)
{
    const FlowCase cases[] = {
        { "one child", { { 200, 43, 0 } }, { { 42, 0, 200, 43 } }, 53 },
        { "two fit in one row", { { 120, 43, 0 }, { 120, 43, 0 } }, { { 42, 0, 120, 43 }, { 162, 0, 120, 43 } }, 53 },
        { "the second overflows", { { 150, 43, 0 }, { 150, 43, 0 } }, { { 42, 0, 150, 43 }, { 42, 43, 150, 43 } }, 96 },
        { "exactly the width stays", { { 131, 43, 0 }, { 132, 43, 0 } }, { { 42, 0, 131, 43 }, { 173, 0, 132, 43 } }, 53 },
        { "negative spacing overlaps", { { 120, 23, -2 }, { 120, 23, -2 }, { 200, 23, -2 } },
          { { 42, -2, 120, 23 }, { 160, -2, 120, 23 }, { 42, 17, 200, 23 } }, 50 },
    };
    for (const auto& flowCase : cases)
    {
        AlxParamPanel panel (nullptr, "Test", 305);
        std::vector<AlxPanel*> children;
        for (const auto& child : flowCase.children)
        {
            children.push_back (new SpacedPanel (child[0], child[1], child[2]));
            panel.addChild (children.back());
        }
        EXPECT_EQ (panel.getPreferredHeight(), flowCase.preferredHeight) << flowCase.name;
        panel.setBounds (0, 0, 305, panel.getPreferredHeight());
        for (size_t i = 0; i < children.size(); ++i)
            EXPECT_EQ (children[i]->getBounds(), flowCase.bounds[i]) << flowCase.name << ", child " << i;
    }
}

TEST (AlxParamPanel, emptyPanelIsTwentyHigh)
{
    AlxParamPanel panel (nullptr, "Test", 305);
    EXPECT_EQ (panel.getPreferredHeight(), 20);
}

TEST (AlxParamPanel, rowBreakSpacerStartsANewRowBelowItsTop)
{
    AlxParamPanel panel (nullptr, "Test", 305);
    auto* first = new SpacedPanel (100, 43, 0);
    auto* spacer = new AlxSpacer (250, 10, true);
    auto* after = new SpacedPanel (20, 20, 0);
    panel.addChild (first);
    panel.addChild (spacer);
    panel.addChild (after);
    panel.setBounds (0, 0, 305, panel.getPreferredHeight());

    EXPECT_EQ (spacer->getBounds(), juce::Rectangle<int> (42, 43, 250, 10)) << "the spacer does not fit beside the first";
    EXPECT_EQ (after->getBounds(), juce::Rectangle<int> (42, 53, 20, 20)) << "a narrow child still starts a new row";
}

TEST (AlxPanel, colourComesFromTheDefaultLookAndFeel)
{
    juce::LookAndFeel_V3 lookAndFeel;
    lookAndFeel.setColour (juce::ComboBox::backgroundColourId, juce::Colour (0xff434343));
    juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);
    AlxPanel panel (nullptr, "Status", 10, 10, false);
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);

    EXPECT_EQ (panel.getPanelColour(), juce::Colour (0xff434343).brighter (0.5f).withAlpha (0.5f));
}

TEST (AlxPanel, contentIsPlacedAndReplacedWithoutBeingDeleted)
{
    AlxPanel panel (nullptr, "Test", 200, 100, false);
    panel.setBounds (0, 0, 200, 100);
    juce::Component filled;
    panel.setContent (&filled, true);
    EXPECT_EQ (filled.getBounds(), juce::Rectangle<int> (6, 6, 188, 88));

    juce::Viewport viewport;
    juce::Component viewed;
    viewed.setSize (120, 300);
    viewport.setViewedComponent (&viewed, false);
    panel.setContent (&viewport, false);
    EXPECT_EQ (filled.getParentComponent(), nullptr) << "the previous content is removed";
    EXPECT_EQ (viewport.getBounds(), juce::Rectangle<int> (40, 3, 120, 94)) << "centred, at most the panel less 6";
    panel.setContent (nullptr, false);
}

TEST (AlxDrawableButton, flashingKeepsItsFirstIntervalAndStoppingClearsTheToggle)
{
    AlxDrawableButton button ("start");
    button.setToggleState (true, juce::dontSendNotification);
    button.setFlashing (false, 0);
    EXPECT_TRUE (button.getToggleState()) << "stopping a button that does not flash leaves its toggle alone";

    button.setFlashing (true, 300);
    button.setFlashing (true, 500);
    EXPECT_TRUE (button.isFlashing());
    EXPECT_EQ (button.getTimerInterval(), 300);

    button.setFlashing (false, 0);
    EXPECT_FALSE (button.isFlashing());
    EXPECT_FALSE (button.getToggleState());
}

TEST (AlxDrawableLoader, missingEntriesAndBadArchivesGiveNothing)
{
    juce::MemoryOutputStream zipData;
    juce::ZipFile::Builder builder;
    const char* svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 10 10\"><rect width=\"10\" height=\"10\" fill=\"#6acdfe\"/></svg>";
    builder.addEntry (new juce::MemoryInputStream (svg, strlen (svg), false), 0, "box.svg",
                      juce::Time (2020, 0, 1, 0, 0));
    builder.writeToStream (zipData, nullptr);

    EXPECT_NE (loadDrawableFromZip (zipData.getData(), (int) zipData.getDataSize(), "box.svg"), nullptr);
    EXPECT_EQ (loadDrawableFromZip (zipData.getData(), (int) zipData.getDataSize(), "other.svg"), nullptr);
    EXPECT_EQ (loadDrawableFromZip (svg, (int) strlen (svg), "box.svg"), nullptr) << "not an archive";
    EXPECT_EQ (loadDrawableFromZip (nullptr, 0, "box.svg"), nullptr);
}
