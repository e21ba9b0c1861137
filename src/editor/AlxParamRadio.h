#pragma once

#include "editor/AlxParamControl.h"

#include <array>
#include <vector>

class AlxLabel;

// One image button per value (at most five: the icon archive holds radio1..radio5), side by side
// above the parameter's name; exactly one of them is on.
class AlxParamRadio : public AlxParamControl, public juce::Button::Listener
{
public:
    explicit AlxParamRadio (AlxEditor* editor);

    // Computes the preferred size and, unless measureOnly, places the buttons and the name.
    virtual void layoutButtons (int& width, int& height, bool measureOnly);

    void refreshItems (bool reselect) override;
    void refreshValue() override;
    int getPreferredWidth() override;
    int getPreferredHeight() override;

    void resized() override;
    void buttonClicked (juce::Button* button) override;

    static constexpr int maximumButtons = 5;

private:
    std::vector<AlxDrawableButton*> buttons;
    std::array<std::unique_ptr<juce::Drawable>, maximumButtons> icons;
    AlxLabel* nameLabel = nullptr;

    JUCE_DECLARE_NON_COPYABLE (AlxParamRadio)
};
