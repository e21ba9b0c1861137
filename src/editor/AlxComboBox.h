#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A combo box that takes keyboard focus and redraws when the mouse enters or leaves it, so the
// look and feel can show it under the mouse. The wheel is left to the parent (the editor steps
// the parameter assigned to it).
class AlxComboBox : public juce::ComboBox
{
public:
    explicit AlxComboBox (const juce::String& name) : juce::ComboBox (name)
    {
        setWantsKeyboardFocus (true);
    }

    void mouseEnter (const juce::MouseEvent& e) override
    {
        juce::ComboBox::mouseEnter (e);
        repaint();
    }

    void mouseExit (const juce::MouseEvent& e) override
    {
        juce::ComboBox::mouseExit (e);
        repaint();
    }
};
