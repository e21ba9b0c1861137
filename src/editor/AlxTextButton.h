#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The editor's text button; its look comes entirely from the look and feel.
class AlxTextButton : public juce::TextButton
{
public:
    using juce::TextButton::TextButton;
};
