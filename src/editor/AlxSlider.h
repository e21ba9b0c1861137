#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A knob that never turns with the mouse wheel: wheel events go up to the editor, which steps
// the parameter the user assigned to the wheel instead of the one under the pointer.
class AlxSlider : public juce::Slider
{
public:
    explicit AlxSlider (const juce::String& name) : juce::Slider (name) {}

    void mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override
    {
        juce::Component::mouseWheelMove (e, wheel);
    }
};
