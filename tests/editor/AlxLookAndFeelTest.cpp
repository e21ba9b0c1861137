#include "editor/AlxPlimsarLookAndFeel.h"

#include <gtest/gtest.h>

namespace
{
    struct ColourCase
    {
        const char* component;
        int colourId;
        juce::uint32 expected;
    };

    // The whole scheme as it comes out of the default base and accent colours. JUCE rounds an
    // alpha of 0.5 to 0x80.
    const ColourCase defaultScheme[] = {
        { "AlertWindow background", juce::AlertWindow::backgroundColourId, 0xff626262 },
        { "AlertWindow text", juce::AlertWindow::textColourId, 0xffd3d3d3 },
        { "AlertWindow outline", juce::AlertWindow::outlineColourId, 0xff7c7c7c },
        { "Label background", juce::Label::backgroundColourId, 0x00000000 },
        { "Label text", juce::Label::textColourId, 0xffd3d3d3 },
        { "Label outline", juce::Label::outlineColourId, 0x00000000 },
        { "ComboBox text", juce::ComboBox::textColourId, 0xff6acdfe },
        { "ComboBox background", juce::ComboBox::backgroundColourId, 0xff434343 },
        { "ComboBox outline", juce::ComboBox::outlineColourId, 0x00000000 },
        { "ComboBox button", juce::ComboBox::buttonColourId, 0xff434343 },
        { "TextButton button", juce::TextButton::buttonColourId, 0xff434343 },
        { "TextButton button on", juce::TextButton::buttonOnColourId, 0x806acdfe },
        { "TextButton text on", juce::TextButton::textColourOnId, 0xffd3d3d3 },
        { "TextButton text off", juce::TextButton::textColourOffId, 0xffd3d3d3 },
        { "TextEditor background", juce::TextEditor::backgroundColourId, 0xff434343 },
        { "TextEditor text", juce::TextEditor::textColourId, 0xff6acdfe },
        { "TextEditor highlight", juce::TextEditor::highlightColourId, 0xff6acdfe },
        { "TextEditor highlighted text", juce::TextEditor::highlightedTextColourId, 0xff434343 },
        { "TextEditor outline", juce::TextEditor::outlineColourId, 0x00000000 },
        { "TextEditor focused outline", juce::TextEditor::focusedOutlineColourId, 0x00000000 },
        { "TextEditor shadow", juce::TextEditor::shadowColourId, 0x00000000 },
        { "Slider background", juce::Slider::backgroundColourId, 0x00000000 },
        { "Slider thumb", juce::Slider::thumbColourId, 0xff434343 },
        { "Slider track", juce::Slider::trackColourId, 0xff3c3c3c },
        { "Slider text box text", juce::Slider::textBoxTextColourId, 0xff6acdfe },
        { "Slider text box background", juce::Slider::textBoxBackgroundColourId, 0xff434343 },
        { "Slider text box highlight", juce::Slider::textBoxHighlightColourId, 0xff6acdfe },
        { "Slider text box outline", juce::Slider::textBoxOutlineColourId, 0x00000000 },
        { "Slider rotary fill", juce::Slider::rotarySliderFillColourId, 0xff6acdfe },
        { "Slider rotary outline", juce::Slider::rotarySliderOutlineColourId, 0xffff0000 },
        { "ListBox background", juce::ListBox::backgroundColourId, 0xff434343 },
        { "ListBox outline", juce::ListBox::outlineColourId, 0x00000000 },
        { "ListBox text", juce::ListBox::textColourId, 0xff6acdfe },
        { "ScrollBar thumb", juce::ScrollBar::thumbColourId, 0xff969696 },
        { "ScrollBar background", juce::ScrollBar::backgroundColourId, 0x00000000 },
        { "PopupMenu background", juce::PopupMenu::backgroundColourId, 0xfff5f5f5 },
        { "PopupMenu text", juce::PopupMenu::textColourId, 0xff555555 },
        { "PopupMenu highlighted background", juce::PopupMenu::highlightedBackgroundColourId, 0x33555555 },
        { "PopupMenu highlighted text", juce::PopupMenu::highlightedTextColourId, 0xff555555 },
        { "TooltipWindow text", juce::TooltipWindow::textColourId, 0xff555555 },
        { "DirectoryContents highlight", juce::DirectoryContentsDisplayComponent::highlightColourId, 0xffd3d3d3 },
        { "DirectoryContents text", juce::DirectoryContentsDisplayComponent::textColourId, 0xffd3d3d3 },
    };

    juce::String hex (juce::uint32 argb) { return "0x" + juce::String::toHexString ((juce::int64) argb).paddedLeft ('0', 8); }

    // Renders a component in the given look and feel and returns the colour at a point.
    juce::Colour pixelOf (juce::Component& component, juce::LookAndFeel& lookAndFeel, int x, int y)
    {
        component.setLookAndFeel (&lookAndFeel);
        const auto image = component.createComponentSnapshot (component.getLocalBounds(), true, 1.0f);
        component.setLookAndFeel (nullptr);
        return image.getPixelAt (x, y);
    }
}

TEST (AlxLookAndFeel, defaultSchemeGivesTheColourTable)
{
    AlxPlimsarLookAndFeel lookAndFeel;

    for (const auto& c : defaultScheme)
        EXPECT_EQ (hex (lookAndFeel.findColour (c.colourId).getARGB()), hex (c.expected)) << c.component;
}

TEST (AlxLookAndFeel, everyColourFollowsANewScheme)
{
    AlxLookAndFeel lookAndFeel;
    const auto base = juce::Colour (0xff204060);
    const auto accent = juce::Colour (0xffffa000);
    lookAndFeel.setColourScheme (base, accent);

    EXPECT_EQ (lookAndFeel.findColour (juce::ComboBox::backgroundColourId), base);
    EXPECT_EQ (lookAndFeel.findColour (juce::TextEditor::highlightedTextColourId), base);
    EXPECT_EQ (lookAndFeel.findColour (juce::Slider::rotarySliderFillColourId), accent);
    EXPECT_EQ (lookAndFeel.findColour (juce::TextButton::buttonOnColourId), accent.withAlpha (0.5f));
    EXPECT_EQ (lookAndFeel.findColour (juce::AlertWindow::outlineColourId), base.brighter (0.2f).brighter (0.2f));
    EXPECT_EQ (lookAndFeel.findColour (juce::ScrollBar::thumbColourId), base.brighter (0.8f));
    EXPECT_EQ (lookAndFeel.findColour (juce::PopupMenu::backgroundColourId), juce::Colours::whitesmoke)
        << "menus keep their light colours whatever the scheme";
}

TEST (AlxLookAndFeel, panelsDerivedFromTheSchemeAreHalfTransparentGrey)
{
    AlxPlimsarLookAndFeel lookAndFeel;
    const auto panel = lookAndFeel.findColour (juce::ComboBox::backgroundColourId).brighter (0.5f).withAlpha (0.5f);
    EXPECT_EQ (hex (panel.getARGB()), hex (0x80818181));
}

TEST (AlxLookAndFeel, fontsAreSmallAndBold)
{
    AlxLookAndFeel lookAndFeel;
    juce::Label label;
    juce::ComboBox box;
    juce::TextButton button;

    const auto popup = lookAndFeel.getPopupMenuFont();
    EXPECT_FLOAT_EQ (popup.getHeight(), 11.7f);
    EXPECT_FLOAT_EQ (popup.getHorizontalScale(), 0.85f);
    EXPECT_TRUE (popup.isBold());

    for (const auto& font : { lookAndFeel.getLabelFont (label), lookAndFeel.getComboBoxFont (box),
                              lookAndFeel.getTextButtonFont (button, 40), lookAndFeel.getAlertWindowMessageFont(),
                              lookAndFeel.getAlertWindowTitleFont(), lookAndFeel.getAlertWindowFont() })
        EXPECT_EQ (font, popup);

    EXPECT_EQ (lookAndFeel.getDefaultMenuBarHeight(), 20);
}

TEST (AlxLookAndFeel, popupMenuItemSizes)
{
    AlxLookAndFeel lookAndFeel;
    int w = 0, h = 0;

    lookAndFeel.getIdealPopupMenuItemSize ({}, true, 24, w, h);
    EXPECT_EQ (w, 50);
    EXPECT_EQ (h, 12);

    lookAndFeel.getIdealPopupMenuItemSize ({}, true, 0, w, h);
    EXPECT_EQ (h, 10) << "a separator without a standard height";

    const auto font = lookAndFeel.getPopupMenuFont();
    lookAndFeel.getIdealPopupMenuItemSize ("LFO1", false, 0, w, h);
    EXPECT_EQ (h, juce::roundToInt (font.getHeight() * 1.3f));
    EXPECT_EQ (w, font.getStringWidth ("LFO1") + 2 * h);

    lookAndFeel.getIdealPopupMenuItemSize ("LFO1", false, 30, w, h);
    EXPECT_EQ (h, 30) << "a taller standard height wins";
    EXPECT_EQ (w, font.getStringWidth ("LFO1") + 60);
}

TEST (AlxLookAndFeel, tickShapeFillsItsSquare)
{
    AlxLookAndFeel lookAndFeel;
    const auto bounds = lookAndFeel.getTickShape (20.0f).getBounds();
    EXPECT_NEAR (juce::jmax (bounds.getWidth(), bounds.getHeight()), 20.0f, 0.01f);
    EXPECT_GE (bounds.getX(), -0.01f);
    EXPECT_LE (bounds.getRight(), 20.01f);
    EXPECT_LE (bounds.getBottom(), 20.01f);
}

TEST (AlxLookAndFeel, tooltipsWrapAtFourHundredPixels)
{
    AlxLookAndFeel lookAndFeel;
    const juce::Rectangle<int> screen (0, 0, 2000, 1000);

    const auto small = lookAndFeel.getTooltipBounds ("Stop transport", { 100, 100 }, screen);
    EXPECT_EQ (small.getPosition(), juce::Point<int> (124, 106)) << "right of and below the pointer";
    EXPECT_LT (small.getWidth(), 150);
    EXPECT_GT (small.getHeight(), 15);

    const auto wide = lookAndFeel.getTooltipBounds (juce::String::repeatedString ("wrapping words ", 60), { 1900, 900 }, screen);
    EXPECT_LE (wide.getWidth(), 420);
    EXPECT_GT (wide.getHeight(), 3 * small.getHeight());
    EXPECT_LT (wide.getRight(), 1900) << "left of the pointer in the lower right";
    EXPECT_LT (wide.getBottom(), 900);
}

TEST (AlxLookAndFeel, scanLineBackgroundLightensEveryThirdRow)
{
    juce::Image image (juce::Image::ARGB, 10, 9, true);
    juce::Graphics g (image);
    const auto fill = AlxLookAndFeel::defaultBase();
    AlxLookAndFeel::fillScanLineBackground (g, fill, 10, 9);

    const auto line = fill.overlaidWith (juce::Colours::lightblue.withAlpha (0.17f));
    for (int y = 0; y < 9; ++y)
        EXPECT_EQ (hex (image.getPixelAt (5, y).getARGB()), hex ((y % 3 == 0 ? line : fill).getARGB())) << "row " << y;
}

TEST (AlxLookAndFeel, buttonStatesChangeTheirColour)
{
    const auto colour = AlxLookAndFeel::defaultBase();
    const auto idle = AlxLookAndFeel::createBaseColour (colour, false, false, false);
    EXPECT_EQ (idle, colour.withMultipliedSaturation (0.9f));
    EXPECT_EQ (AlxLookAndFeel::createBaseColour (colour, false, true, false), idle.contrasting (0.1f));
    EXPECT_EQ (AlxLookAndFeel::createBaseColour (colour, false, true, true), idle.contrasting (0.2f)) << "pressed wins over hover";
    EXPECT_EQ (AlxLookAndFeel::createBaseColour (juce::Colours::red, true, false, false),
               juce::Colours::red.withMultipliedSaturation (1.3f));
}

TEST (AlxLookAndFeel, drawsButtonsCombosAndKnobsInTheScheme)
{
    AlxPlimsarLookAndFeel lookAndFeel;

    juce::TextButton button ("go");
    button.setBounds (0, 0, 60, 20);
    const auto buttonMiddle = pixelOf (button, lookAndFeel, 5, 10);
    EXPECT_NEAR (buttonMiddle.getBrightness(), lookAndFeel.findColour (juce::TextButton::buttonColourId).getBrightness(), 0.08f)
        << "the button body is the button colour with a faint band";

    juce::ComboBox box;
    box.setBounds (0, 0, 100, 19);
    const auto arrow = pixelOf (box, lookAndFeel, 100 - 19 + 9, 9);
    EXPECT_GT (arrow.getBrightness(), 0.6f) << "the light arrow at the right end";

    juce::Slider knob (juce::Slider::RotaryVerticalDrag, juce::Slider::NoTextBox);
    knob.setRange (0.0, 100.0, 1.0);
    knob.setValue (100.0);
    knob.setBounds (0, 0, 40, 40);
    const auto arcAtFullScale = pixelOf (knob, lookAndFeel, 38, 20);
    EXPECT_GT (arcAtFullScale.getBlue(), arcAtFullScale.getRed() + 60) << "the blue value arc reaches the right side";
    knob.setValue (0.0);
    EXPECT_LT (pixelOf (knob, lookAndFeel, 38, 20).getAlpha(), 40) << "and is gone at the start";
}
