#include "editor/AlxDrawableButton.h"

AlxDrawableButton::AlxDrawableButton (const juce::String& name)
    : juce::DrawableButton (name, juce::DrawableButton::ImageOnButtonBackground)
{
    const auto colour = findColour (juce::TextButton::buttonColourId);
    setColour (juce::DrawableButton::backgroundColourId, colour);
    setColour (juce::DrawableButton::backgroundOnColourId, colour);
}

AlxDrawableButton::~AlxDrawableButton()
{
    stopTimer();
}

void AlxDrawableButton::setFlashing (bool on, int intervalMs)
{
    if (on)
    {
        if (flashing)
            return;
        flashing = true;
        flashPhase = false;
        startTimer (intervalMs);
    }
    else if (flashing)
    {
        flashing = false;
        stopTimer();
        setToggleState (false, juce::dontSendNotification);
    }
}

void AlxDrawableButton::timerCallback()
{
    flashPhase = ! flashPhase;
    setToggleState (flashPhase, juce::dontSendNotification);
}
