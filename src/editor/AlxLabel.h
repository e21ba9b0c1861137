#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The editor's label: it writes in the look and feel's small menu font, the one every control
// text shares.
class AlxLabel : public juce::Label
{
public:
    AlxLabel (const juce::String& name, const juce::String& text)
        : juce::Label (name, text)
    {
        setFont (getLookAndFeel().getPopupMenuFont());
    }
};
