#include "editor/AlxLookAndFeel.h"

using juce::Colour;
namespace Colours = juce::Colours;

AlxLookAndFeel::AlxLookAndFeel()
{
    setColourScheme (defaultBase(), defaultAccent());
}

void AlxLookAndFeel::setColourScheme (Colour base, Colour accent)
{
    // Each colour is derived from those set before it, so one change of base or accent carries
    // through the whole table.
    setColour (juce::AlertWindow::backgroundColourId, base.brighter (0.2f));
    setColour (juce::AlertWindow::textColourId, Colours::lightgrey);
    setColour (juce::AlertWindow::outlineColourId, findColour (juce::AlertWindow::backgroundColourId).brighter (0.2f));

    setColour (juce::Label::backgroundColourId, Colours::transparentBlack);
    setColour (juce::Label::textColourId, findColour (juce::AlertWindow::textColourId));
    setColour (juce::Label::outlineColourId, Colours::transparentBlack);

    setColour (juce::ComboBox::textColourId, accent);
    setColour (juce::ComboBox::backgroundColourId, base);
    setColour (juce::ComboBox::outlineColourId, Colours::transparentBlack);
    setColour (juce::ComboBox::buttonColourId, findColour (juce::ComboBox::backgroundColourId));

    setColour (juce::TextButton::buttonColourId, findColour (juce::ComboBox::buttonColourId));
    setColour (juce::TextButton::buttonOnColourId, findColour (juce::ComboBox::textColourId).withAlpha (0.5f));
    setColour (juce::TextButton::textColourOnId, findColour (juce::Label::textColourId));
    setColour (juce::TextButton::textColourOffId, findColour (juce::Label::textColourId));

    setColour (juce::TextEditor::backgroundColourId, findColour (juce::ComboBox::backgroundColourId));
    setColour (juce::TextEditor::textColourId, findColour (juce::ComboBox::textColourId));
    setColour (juce::TextEditor::highlightColourId, findColour (juce::ComboBox::textColourId));
    setColour (juce::TextEditor::highlightedTextColourId, findColour (juce::ComboBox::backgroundColourId));
    setColour (juce::TextEditor::outlineColourId, findColour (juce::ComboBox::outlineColourId));
    setColour (juce::TextEditor::focusedOutlineColourId, findColour (juce::ComboBox::outlineColourId));
    setColour (juce::TextEditor::shadowColourId, Colours::transparentBlack);

    setColour (juce::Slider::backgroundColourId, Colours::transparentBlack);
    setColour (juce::Slider::thumbColourId, findColour (juce::ComboBox::buttonColourId));
    setColour (juce::Slider::trackColourId, base.darker (0.1f));
    setColour (juce::Slider::textBoxTextColourId, findColour (juce::TextEditor::textColourId));
    setColour (juce::Slider::textBoxBackgroundColourId, findColour (juce::TextEditor::backgroundColourId));
    setColour (juce::Slider::textBoxHighlightColourId, findColour (juce::TextEditor::highlightColourId));
    setColour (juce::Slider::textBoxOutlineColourId, findColour (juce::TextEditor::outlineColourId));
    setColour (juce::Slider::rotarySliderFillColourId, findColour (juce::ComboBox::textColourId));
    setColour (juce::Slider::rotarySliderOutlineColourId, Colours::red);

    setColour (juce::ListBox::backgroundColourId, findColour (juce::ComboBox::backgroundColourId));
    setColour (juce::ListBox::outlineColourId, findColour (juce::ComboBox::outlineColourId));
    setColour (juce::ListBox::textColourId, findColour (juce::ComboBox::textColourId));

    setColour (juce::ScrollBar::thumbColourId, base.brighter (0.8f));
    setColour (juce::ScrollBar::backgroundColourId, Colours::transparentBlack);

    setColour (juce::PopupMenu::backgroundColourId, Colours::whitesmoke);
    setColour (juce::PopupMenu::textColourId, Colours::darkgrey);
    setColour (juce::PopupMenu::highlightedBackgroundColourId,
               findColour (juce::PopupMenu::textColourId).withMultipliedAlpha (0.2f));
    setColour (juce::PopupMenu::highlightedTextColourId, findColour (juce::PopupMenu::textColourId));

    setColour (juce::TooltipWindow::textColourId, Colours::darkgrey);

    setColour (juce::DirectoryContentsDisplayComponent::highlightColourId, findColour (juce::AlertWindow::textColourId));
    setColour (juce::DirectoryContentsDisplayComponent::textColourId, findColour (juce::AlertWindow::textColourId));
}

void AlxLookAndFeel::fillScanLineBackground (juce::Graphics& g, Colour colour, int width, int height)
{
    g.setColour (colour);
    g.fillRect (0, 0, width, height);
    g.setColour (colour.overlaidWith (Colours::lightblue.withAlpha (0.17f)));

    for (int y = 0; y < height; y += 3)
        g.fillRect (0, y, width, 1);
}

Colour AlxLookAndFeel::createBaseColour (Colour colour, bool hasKeyboardFocus, bool isMouseOver, bool isButtonDown)
{
    const auto base = colour.withMultipliedSaturation (hasKeyboardFocus ? 1.3f : 0.9f);

    if (isButtonDown)
        return base.contrasting (0.2f);

    if (isMouseOver)
        return base.contrasting (0.1f);

    return base;
}

void AlxLookAndFeel::drawButtonShape (juce::Graphics& g, juce::Rectangle<float> area, Colour colour,
                                      float outlineThickness)
{
    if (area.getWidth() <= outlineThickness * 1.1f || area.getHeight() <= outlineThickness * 1.1f)
        return;

    const auto bandTop = colour.overlaidWith (Colours::white.withAlpha (0.2f));
    const auto band = colour.overlaidWith (Colours::white.withAlpha (0.07f));

    juce::ColourGradient gradient (colour, 0.0f, area.getY(), colour, 0.0f, area.getBottom(), false);
    gradient.addColour (0.11, bandTop);
    gradient.addColour (0.12, band);
    gradient.addColour (0.89, band);
    gradient.addColour (0.89, colour);
    g.setGradientFill (gradient);
    g.fillRect (area);

    g.setColour (Colours::black.withAlpha (0.5f));
    g.drawRect (area, outlineThickness);
}

void AlxLookAndFeel::drawKnobBody (juce::Graphics& g, float x, float y, float diameter, Colour colour,
                                   float outlineThickness)
{
    g.setColour (findColour (juce::ComboBox::backgroundColourId).darker (0.9f));
    g.fillEllipse (x, y, diameter, diameter);

    const auto inner = juce::Rectangle<float> (x, y, diameter, diameter).reduced (outlineThickness);
    juce::ColourGradient gradient (colour.brighter (1.0f), 0.0f, inner.getY(), colour, 0.0f, inner.getBottom(), false);
    gradient.addColour (0.1, colour.brighter (0.5f));
    gradient.addColour (0.5, colour);
    g.setGradientFill (gradient);
    g.fillEllipse (inner);
}

void AlxLookAndFeel::drawButtonBackgroundShape (juce::Graphics& g, float x, float y, float width, float height,
                                                Colour colour, bool isMouseOver, bool isButtonDown,
                                                bool hasKeyboardFocus, bool isEnabled, bool connectedLeft,
                                                bool connectedRight, bool connectedTop, bool connectedBottom)
{
    const float thickness = ! isEnabled ? 0.4f : (isButtonDown ? 1.2f : 0.7f);
    const auto inset = [thickness] (bool connected) { return connected ? 0.5f : thickness * 0.5f; };

    const float left = inset (connectedLeft), right = inset (connectedRight);
    const float top = inset (connectedTop), bottom = inset (connectedBottom);
    const auto base = createBaseColour (colour, hasKeyboardFocus, isMouseOver, isButtonDown)
                          .withMultipliedAlpha (isEnabled ? 1.0f : 0.97f);

    drawButtonShape (g, { x + left, y + top, width - left - right, height - top - bottom }, base, thickness);
}

void AlxLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const Colour& backgroundColour,
                                           bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    drawButtonBackgroundShape (g, 0.0f, 0.0f, (float) button.getWidth(), (float) button.getHeight(), backgroundColour,
                               shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown, button.hasKeyboardFocus (true),
                               button.isEnabled(), button.isConnectedOnLeft(), button.isConnectedOnRight(),
                               button.isConnectedOnTop(), button.isConnectedOnBottom());
}

juce::Font AlxLookAndFeel::getTextButtonFont (juce::TextButton&, int)
{
    return getPopupMenuFont();
}

void AlxLookAndFeel::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    const auto font = getTextButtonFont (button, button.getHeight());
    g.setFont (font);
    g.setColour (button.findColour (juce::TextButton::textColourOnId).withMultipliedAlpha (button.isEnabled() ? 1.0f : 0.5f));

    const int yIndent = juce::jmin (4, button.proportionOfHeight (0.3f));
    const int cornerSize = juce::jmin (button.getHeight(), button.getWidth()) / 2;
    const int fontHeight = juce::roundToInt (font.getHeight() * 0.6f);
    const int leftIndent = juce::jmin (fontHeight, 2 + cornerSize / (button.isConnectedOnLeft() ? 4 : 2));
    const int rightIndent = juce::jmin (fontHeight, 2 + cornerSize / (button.isConnectedOnRight() ? 4 : 2));
    const int textWidth = button.getWidth() - leftIndent - rightIndent;

    if (textWidth > 0)
        g.drawFittedText (button.getButtonText(), leftIndent, yIndent, textWidth, button.getHeight() - yIndent * 2,
                          juce::Justification::centred, 2, 0.7f);
}

void AlxLookAndFeel::drawComboBox (juce::Graphics& g, int width, int height, bool, int, int, int, int,
                                   juce::ComboBox& box)
{
    const bool highlighted = box.isEnabled() && box.isMouseOver (true);
    drawButtonBackgroundShape (g, 0.0f, 0.0f, (float) width, (float) height, box.findColour (juce::ComboBox::buttonColourId),
                               highlighted, false, box.hasKeyboardFocus (true), box.isEnabled(), true, true, true, true);

    const float h = (float) height;
    const float o = (float) (width - height);
    juce::Path arrow;
    arrow.addTriangle (o + 0.5f * h, 0.6f * h, o + 0.7f * h, 0.4f * h, o + 0.3f * h, 0.4f * h);
    g.setColour (box.findColour (juce::TextButton::textColourOnId).withMultipliedAlpha (box.isEnabled() ? 1.0f : 0.5f));
    g.fillPath (arrow);
}

juce::Font AlxLookAndFeel::getComboBoxFont (juce::ComboBox&)
{
    return getPopupMenuFont();
}

juce::Font AlxLookAndFeel::getLabelFont (juce::Label&)
{
    return getPopupMenuFont();
}

void AlxLookAndFeel::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                       float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider)
{
    const auto area = juce::Rectangle<int> (x, y, width, height).toFloat();
    const auto centre = area.getCentre();
    const float radius = juce::jmin (area.getWidth(), area.getHeight()) * 0.5f;
    const float angle = rotaryStartAngle + sliderPos * (rotaryEndAngle - rotaryStartAngle);
    const bool enabled = slider.isEnabled();
    const bool active = slider.isMouseOverOrDragging();

    const float knobRadius = 0.9f * 0.85f * radius;
    const auto knobColour = createBaseColour (slider.findColour (juce::ComboBox::buttonColourId), false,
                                              slider.isMouseOver (true), slider.isMouseButtonDown())
                                .withMultipliedAlpha (enabled ? 1.0f : 0.5f);
    drawKnobBody (g, centre.x - knobRadius, centre.y - knobRadius, knobRadius * 2.0f, knobColour, 0.1f * knobRadius);

    juce::Path arc;
    arc.addPieSegment (centre.x - radius, centre.y - radius, radius * 2.0f, radius * 2.0f, rotaryStartAngle, angle, 0.85f);
    g.setColour (slider.findColour (juce::Slider::rotarySliderFillColourId)
                     .withAlpha (! enabled ? 0.3f : (active ? 1.0f : 0.7f)));
    g.fillPath (arc);

    const float pointerWidth = 0.12f * radius;
    const float pointerLength = 0.4f * radius;
    const float pointerEnd = 0.55f * 0.85f * radius + 0.1f * radius;
    juce::Path pointer;
    pointer.addRectangle (-0.5f * pointerWidth, -pointerEnd, pointerWidth, pointerLength);
    g.setColour (slider.findColour (juce::AlertWindow::textColourId).withMultipliedAlpha (enabled ? 1.0f : 0.5f));
    g.fillPath (pointer, juce::AffineTransform::rotation (angle).translated (centre));
}

juce::Path AlxLookAndFeel::getTickShape (float height)
{
    juce::Path tick;
    tick.startNewSubPath (280.0f, 288.0f);
    tick.lineTo (304.0f, 328.0f);
    tick.lineTo (352.0f, 256.0f);
    tick.lineTo (368.0f, 272.0f);
    tick.lineTo (304.0f, 368.0f);
    tick.lineTo (264.0f, 304.0f);
    tick.closeSubPath();
    tick.scaleToFit (0.0f, 0.0f, height, height, true);
    return tick;
}

void AlxLookAndFeel::drawTickBox (juce::Graphics& g, juce::Component& component, float x, float y, float w, float h,
                                  bool ticked, bool, bool, bool)
{
    // The frame is drawn in a 10 x 10 grid: a 6 x 6 square two units in from each side.
    const auto toBox = juce::AffineTransform::scale (w / 10.0f, h / 10.0f).translated (x, y);
    const auto text = component.findColour (juce::ComboBox::textColourId);

    juce::Path frame;
    frame.addRectangle (2.0f, 2.0f, 6.0f, 6.0f);
    frame.applyTransform (toBox);
    g.setColour (text.withAlpha (0.6f));
    g.strokePath (frame, juce::PathStrokeType (1.5f));

    if (ticked)
    {
        auto tick = getTickShape (juce::jmin (w, h));
        tick.applyTransform (juce::AffineTransform::translation (x, y));
        g.setColour (text);
        g.fillPath (tick);
    }
}

juce::Font AlxLookAndFeel::getPopupMenuFont()
{
    return juce::Font (11.7f, juce::Font::bold).withHorizontalScale (0.85f);
}

void AlxLookAndFeel::drawPopupMenuBackground (juce::Graphics& g, int width, int height)
{
    fillScanLineBackground (g, findColour (juce::PopupMenu::backgroundColourId), width, height);
    g.setColour (Colours::darkgrey.withAlpha (0.6f));
    g.drawRect (0, 0, width, height, 1);
}

void AlxLookAndFeel::getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator, int standardMenuItemHeight,
                                                int& idealWidth, int& idealHeight)
{
    if (isSeparator)
    {
        idealWidth = 50;
        idealHeight = standardMenuItemHeight >= 1 ? standardMenuItemHeight / 2 : 10;
        return;
    }

    const auto font = getPopupMenuFont();
    idealHeight = juce::jmax (standardMenuItemHeight, juce::roundToInt (font.getHeight() * 1.3f));
    idealWidth = font.getStringWidth (text) + idealHeight * 2;
}

int AlxLookAndFeel::getDefaultMenuBarHeight()
{
    return 20;
}

void AlxLookAndFeel::drawMenuBarBackground (juce::Graphics& g, int width, int height, bool isMouseOverBar,
                                            juce::MenuBarComponent& menuBar)
{
    const auto colour = (isMouseOverBar ? menuBar.findColour (juce::PopupMenu::backgroundColourId)
                                        : menuBar.findColour (juce::ComboBox::backgroundColourId))
                            .withMultipliedSaturation (0.9f);

    if (menuBar.isEnabled())
        drawButtonShape (g, { -4.0f, 0.0f, (float) width + 8.0f, (float) height }, colour, 0.4f);
    else
        g.fillAll (colour);
}

juce::Font AlxLookAndFeel::getMenuBarFont (juce::MenuBarComponent&, int, const juce::String&)
{
    return getPopupMenuFont();
}

void AlxLookAndFeel::drawMenuBarItem (juce::Graphics& g, int width, int height, int itemIndex,
                                      const juce::String& itemText, bool isMouseOverItem, bool isMenuOpen,
                                      bool isMouseOverBar, juce::MenuBarComponent& menuBar)
{
    if (! menuBar.isEnabled())
    {
        g.setColour (menuBar.findColour (juce::AlertWindow::textColourId).withMultipliedAlpha (0.5f));
    }
    else if (isMenuOpen || isMouseOverItem)
    {
        g.fillAll (menuBar.findColour (juce::PopupMenu::highlightedBackgroundColourId));
        g.setColour (menuBar.findColour (juce::PopupMenu::highlightedTextColourId));
    }
    else
    {
        g.setColour (isMouseOverBar ? menuBar.findColour (juce::PopupMenu::textColourId)
                                    : menuBar.findColour (juce::AlertWindow::textColourId));
    }

    g.setFont (getMenuBarFont (menuBar, itemIndex, itemText));
    g.drawFittedText (itemText, 0, 0, width, height, juce::Justification::centred, 1);
}

juce::TextLayout AlxLookAndFeel::layoutTooltip (const juce::String& text, Colour colour) const
{
    juce::AttributedString string;
    string.setJustification (juce::Justification::centred);
    string.setWordWrap (juce::AttributedString::byWord);
    string.append (text, juce::Font (12.0f, juce::Font::bold), colour);

    juce::TextLayout layout;
    layout.createLayout (string, 400.0f);
    return layout;
}

juce::Rectangle<int> AlxLookAndFeel::getTooltipBounds (const juce::String& tipText, juce::Point<int> screenPos,
                                                       juce::Rectangle<int> parentArea)
{
    const auto layout = layoutTooltip (tipText, Colours::black);
    const auto w = (int) (layout.getWidth() + 20.0f);
    const auto h = (int) (layout.getHeight() + 15.0f);

    // Beside and below the pointer, or above and left of it in the lower right of the screen.
    return juce::Rectangle<int> (screenPos.x > parentArea.getCentreX() ? screenPos.x - (w + 12) : screenPos.x + 24,
                                 screenPos.y > parentArea.getCentreY() ? screenPos.y - (h + 6) : screenPos.y + 6, w, h)
        .constrainedWithin (parentArea);
}

void AlxLookAndFeel::drawTooltip (juce::Graphics& g, const juce::String& text, int width, int height)
{
    g.fillAll (findColour (juce::TooltipWindow::backgroundColourId));
    g.setColour (findColour (juce::TooltipWindow::outlineColourId));
    g.drawRect (0, 0, width, height, 1);
    layoutTooltip (text, findColour (juce::TooltipWindow::textColourId))
        .draw (g, juce::Rectangle<float> ((float) width, (float) height));
}

juce::Font AlxLookAndFeel::getAlertWindowTitleFont()
{
    return getPopupMenuFont();
}

juce::Font AlxLookAndFeel::getAlertWindowMessageFont()
{
    return getPopupMenuFont();
}

juce::Font AlxLookAndFeel::getAlertWindowFont()
{
    return getPopupMenuFont();
}

bool AlxLookAndFeel::areScrollbarButtonsVisible()
{
    return true;
}

void AlxLookAndFeel::drawScrollbarButton (juce::Graphics& g, juce::ScrollBar& scrollbar, int width, int height,
                                          int buttonDirection, bool, bool, bool shouldDrawButtonAsDown)
{
    // Direction 0 points up, then clockwise: right, down, left.
    const auto w = (float) width, h = (float) height;
    juce::Path arrow;

    switch (buttonDirection)
    {
        case 0:  arrow.addTriangle (w * 0.5f, h * 0.2f, w * 0.1f, h * 0.7f, w * 0.9f, h * 0.7f); break;
        case 1:  arrow.addTriangle (w * 0.8f, h * 0.5f, w * 0.3f, h * 0.1f, w * 0.3f, h * 0.9f); break;
        case 2:  arrow.addTriangle (w * 0.5f, h * 0.8f, w * 0.1f, h * 0.3f, w * 0.9f, h * 0.3f); break;
        default: arrow.addTriangle (w * 0.2f, h * 0.5f, w * 0.7f, h * 0.1f, w * 0.7f, h * 0.9f); break;
    }

    const auto thumb = scrollbar.findColour (juce::ScrollBar::thumbColourId);
    g.setColour (shouldDrawButtonAsDown ? thumb.contrasting (0.2f) : thumb);
    g.fillPath (arrow);
    g.setColour (Colours::black.withAlpha (0.5f));
    g.strokePath (arrow, juce::PathStrokeType (0.5f));
}

void AlxLookAndFeel::drawScrollbar (juce::Graphics& g, juce::ScrollBar& scrollbar, int x, int y, int width, int height,
                                    bool isScrollbarVertical, int thumbStartPosition, int thumbSize, bool, bool)
{
    g.fillAll (scrollbar.findColour (juce::ScrollBar::backgroundColourId));

    if (thumbSize <= 0)
        return;

    const float thickness = (float) (isScrollbarVertical ? width : height);
    const float inset = thickness > 15.0f ? 1.0f : 0.0f;
    const auto thumbArea = (isScrollbarVertical ? juce::Rectangle<int> (x, thumbStartPosition, width, thumbSize)
                                                : juce::Rectangle<int> (thumbStartPosition, y, thumbSize, height))
                               .toFloat()
                               .reduced (inset);

    juce::Path thumb;
    thumb.addRoundedRectangle (thumbArea, (thickness - 2.0f * inset) * 0.5f);
    g.setColour (scrollbar.findColour (juce::ScrollBar::thumbColourId));
    g.fillPath (thumb);

    // Dark glass across the bar, and a white sheen on its first half.
    const auto start = thumbArea.getTopLeft();
    const auto end = isScrollbarVertical ? thumbArea.getTopRight() : thumbArea.getBottomLeft();
    const auto middle = start + (end - start) * 0.5f;
    g.setGradientFill (juce::ColourGradient (Colours::black.withAlpha (0.1f), start, Colours::black.withAlpha (0.27f), end, false));
    g.fillPath (thumb);
    g.setGradientFill (juce::ColourGradient (Colours::white.withAlpha (0.25f), start, Colours::white.withAlpha (0.0f), middle, false));
    g.fillPath (thumb);
}
