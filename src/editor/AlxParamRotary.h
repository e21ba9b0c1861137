#pragma once

#include "editor/AlxParamControl.h"

class AlxLabel;
class AlxSlider;

// A rotary scale: mouse-wheel and modulation buttons, an editable value box and a knob over the
// positions of the domain's values, with the name below. Only a knob drag is reported to the
// host as a gesture.
class AlxParamRotary : public AlxParamControl,
                       public juce::Button::Listener,
                       public juce::Slider::Listener,
                       public juce::Label::Listener
{
public:
    explicit AlxParamRotary (AlxEditor* editor);
    // Ends a drag still in progress, so the host never keeps a gesture that nothing will end.
    ~AlxParamRotary() override;

    // Disables hand edits while an LFO drives the parameter and shows it on the modulation button.
    virtual void updateModulationState();
    // Computes the preferred size and, unless measureOnly, places the parts.
    virtual void layoutParts (int& width, int& height, bool measureOnly);

    void setParameter (AlxParameter* newParameter) override;
    void refreshItems (bool reselect) override;
    void refreshValue() override;
    void refreshFocused() override;
    void parameterAttached() override;
    int getPreferredWidth() override;
    int getPreferredHeight() override;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void buttonClicked (juce::Button* button) override;
    void sliderValueChanged (juce::Slider* slider) override;
    void sliderDragStarted (juce::Slider* slider) override;
    void sliderDragEnded (juce::Slider* slider) override;
    void labelTextChanged (juce::Label* label) override;

private:
    void setDragging (bool isDragging);

    std::unique_ptr<juce::Drawable> wheelIcon, modulateIcon;
    AlxLabel* nameLabel;
    AlxDrawableButton* wheelButton;
    AlxDrawableButton* modulationButton;
    AlxLabel* valueBox;
    AlxSlider* knob;
    juce::Path backing;
    bool dragging = false;
    // A domain of fewer than two values gives the knob nowhere to go: it stays disabled.
    bool knobHasRange = true;

    JUCE_DECLARE_NON_COPYABLE (AlxParamRotary)
};
