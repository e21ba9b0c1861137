#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The editor's appearance: one colour scheme (a dark base and a light-blue accent) from which
// every colour the editor, its menus and dialogs use is derived, small bold fonts, square glassy
// buttons, knobs with a value arc, and scan-line backgrounds.
class AlxLookAndFeel : public juce::LookAndFeel_V3
{
public:
    // The default scheme: mid grey darkened to 0xff434343, and light blue.
    static juce::Colour defaultBase() { return juce::Colour (0xff808080).darker (0.9f); }
    static juce::Colour defaultAccent() { return juce::Colour (0xff6acdfe); }

    AlxLookAndFeel();

    // Sets every colour of the table from the base colour and the accent.
    virtual void setColourScheme (juce::Colour base, juce::Colour accent);
    // A square-cornered box with a glass band near the top and a thin dark outline.
    virtual void drawButtonShape (juce::Graphics& g, juce::Rectangle<float> area, juce::Colour colour,
                                  float outlineThickness);
    // A round knob: a dark rim and a body lit from above.
    virtual void drawKnobBody (juce::Graphics& g, float x, float y, float diameter, juce::Colour colour,
                               float outlineThickness);
    // The background shared by buttons and combo boxes; connected edges are drawn flush.
    virtual void drawButtonBackgroundShape (juce::Graphics& g, float x, float y, float width, float height,
                                            juce::Colour colour, bool isMouseOver, bool isButtonDown,
                                            bool hasKeyboardFocus, bool isEnabled, bool connectedLeft,
                                            bool connectedRight, bool connectedTop, bool connectedBottom);

    // The background of the editor, the help pages and popup menus: a fill crossed by faint
    // light-blue lines every third pixel.
    static void fillScanLineBackground (juce::Graphics& g, juce::Colour colour, int width, int height);

    // The colour a button of the given colour is drawn in for its state.
    static juce::Colour createBaseColour (juce::Colour colour, bool hasKeyboardFocus, bool isMouseOver, bool isButtonDown);

    // juce::LookAndFeel
    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    void drawButtonText (juce::Graphics&, juce::TextButton&, bool shouldDrawButtonAsHighlighted,
                         bool shouldDrawButtonAsDown) override;
    juce::Font getTextButtonFont (juce::TextButton&, int buttonHeight) override;
    void drawComboBox (juce::Graphics&, int width, int height, bool isButtonDown, int buttonX, int buttonY,
                       int buttonW, int buttonH, juce::ComboBox&) override;
    juce::Font getComboBoxFont (juce::ComboBox&) override;
    juce::Font getLabelFont (juce::Label&) override;
    void drawRotarySlider (juce::Graphics&, int x, int y, int width, int height, float sliderPosProportional,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider&) override;
    juce::Path getTickShape (float height) override;
    void drawTickBox (juce::Graphics&, juce::Component&, float x, float y, float w, float h, bool ticked,
                      bool isEnabled, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    juce::Font getPopupMenuFont() override;
    void drawPopupMenuBackground (juce::Graphics&, int width, int height) override;
    void getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator, int standardMenuItemHeight,
                                    int& idealWidth, int& idealHeight) override;
    int getDefaultMenuBarHeight() override;
    void drawMenuBarBackground (juce::Graphics&, int width, int height, bool isMouseOverBar,
                                juce::MenuBarComponent&) override;
    juce::Font getMenuBarFont (juce::MenuBarComponent&, int itemIndex, const juce::String& itemText) override;
    void drawMenuBarItem (juce::Graphics&, int width, int height, int itemIndex, const juce::String& itemText,
                          bool isMouseOverItem, bool isMenuOpen, bool isMouseOverBar, juce::MenuBarComponent&) override;
    juce::Rectangle<int> getTooltipBounds (const juce::String& tipText, juce::Point<int> screenPos,
                                           juce::Rectangle<int> parentArea) override;
    void drawTooltip (juce::Graphics&, const juce::String& text, int width, int height) override;
    juce::Font getAlertWindowTitleFont() override;
    juce::Font getAlertWindowMessageFont() override;
    juce::Font getAlertWindowFont() override;
    bool areScrollbarButtonsVisible() override;
    void drawScrollbarButton (juce::Graphics&, juce::ScrollBar&, int width, int height, int buttonDirection,
                              bool isScrollbarVertical, bool shouldDrawButtonAsHighlighted,
                              bool shouldDrawButtonAsDown) override;
    void drawScrollbar (juce::Graphics&, juce::ScrollBar&, int x, int y, int width, int height,
                        bool isScrollbarVertical, int thumbStartPosition, int thumbSize, bool isMouseOver,
                        bool isMouseDown) override;

private:
    juce::TextLayout layoutTooltip (const juce::String& text, juce::Colour colour) const;
};
