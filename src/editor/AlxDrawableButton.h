#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// An image button drawn on the common button background. While flashing, its toggle state
// blinks on a timer, without notifying listeners (the header blinks the start button while the
// transport is armed).
class AlxDrawableButton : public juce::DrawableButton, public juce::Timer
{
public:
    explicit AlxDrawableButton (const juce::String& name);
    ~AlxDrawableButton() override;

    virtual bool isFlashing() const { return flashing; }
    // Starting a flash that already runs keeps its first interval; stopping turns the toggle off.
    virtual void setFlashing (bool on, int intervalMs);

private:
    void timerCallback() override;

    bool flashing = false;
    bool flashPhase = false;
};
