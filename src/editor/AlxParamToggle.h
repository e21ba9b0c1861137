#pragma once

#include "editor/AlxParamControl.h"

class AlxTextButton;

// An on/off switch: one text button with the parameter's name, lit while the value is the
// second of the domain ("On").
class AlxParamToggle : public AlxParamControl, public juce::Button::Listener
{
public:
    // A width of 0 selects 65.
    AlxParamToggle (AlxEditor* editor, int width);

    // Computes the preferred size and, unless measureOnly, places the button.
    virtual void layoutButton (int& width, int& height, bool measureOnly);

    void refreshItems (bool reselect) override;
    void refreshValue() override;
    int getPreferredWidth() override;
    int getPreferredHeight() override;

    void resized() override;
    void buttonClicked (juce::Button* clicked) override;

    static constexpr int defaultWidth = 65;

private:
    AlxTextButton* button = nullptr;
    const int buttonWidth;

    JUCE_DECLARE_NON_COPYABLE (AlxParamToggle)
};
