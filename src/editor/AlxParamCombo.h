#pragma once

#include "editor/AlxParamControl.h"

class AlxComboBox;
class AlxLabel;

// A choice list: name label, mouse-wheel button, modulation button (when the parameter has a
// modulation source), the list itself and decrease/increase buttons. Commands of the domain
// ("Configure..." of a device list) follow the values after a separator.
class AlxParamCombo : public AlxParamControl, public juce::ComboBox::Listener, public juce::Button::Listener
{
public:
    // A width of 0 selects the default (label 65, field 115).
    AlxParamCombo (AlxEditor* editor, int labelWidth, int fieldWidth);

    // Disables hand edits while an LFO drives the parameter and shows it on the modulation button.
    virtual void updateModulationState();

    void refreshItems (bool reselect) override;
    void refreshValue() override;
    void refreshFocused() override;
    void parameterAttached() override;
    int getPreferredWidth() override;
    int getPreferredHeight() override;
    // Neighbouring lists overlap by their borders.
    int getSpacing() const override { return -2; }

    void paint (juce::Graphics&) override {}
    void resized() override;
    void comboBoxChanged (juce::ComboBox* box) override;
    void buttonClicked (juce::Button* button) override;

    static constexpr int defaultLabelWidth = 65;
    static constexpr int defaultFieldWidth = 115;

private:
    // The value a stepping button moves to; null at either end of the list.
    AlxValue* steppedValue (bool up) const;

    const int labelWidth;
    const int fieldWidth;
    std::unique_ptr<juce::Drawable> wheelIcon, modulateIcon, decreaseIcon, increaseIcon;
    AlxLabel* nameLabel;
    AlxDrawableButton* wheelButton;
    AlxDrawableButton* modulationButton;
    AlxDrawableButton* increaseButton;
    AlxDrawableButton* decreaseButton;
    AlxComboBox* combo;

    JUCE_DECLARE_NON_COPYABLE (AlxParamCombo)
};
