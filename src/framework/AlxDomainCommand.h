#pragma once

#include <juce_core/juce_core.h>

// An extra entry a choice list offers besides the values, such as "Configure...".
// Choosing it posts kind * 256 + 6 on the domain.
class AlxDomainCommand
{
public:
    AlxDomainCommand (int kind_, const juce::String& text_, bool enabled_ = true)
        : kind (kind_), text (text_), enabled (enabled_) {}

    int getKind() const { return kind; }
    const juce::String& getText() const { return text; }
    bool isEnabled() const { return enabled; }
    void setEnabled (bool e) { enabled = e; }

private:
    int kind;
    juce::String text;
    bool enabled;
};
