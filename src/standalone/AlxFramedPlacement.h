#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Puts a window with a window manager's frame where it was asked to be. A window placed before it
// is first shown does not know its frame yet; the window manager then puts the frame's corner
// at the requested place, and the window itself lands the frame's width and title bar lower
// right, a little further at every start. Once the frame is known this moves the window back
// to the requested place, once, and stops. Without a window manager no frame ever appears, and
// it gives up after a short while.
class AlxFramedPlacement : private juce::Timer
{
public:
    explicit AlxFramedPlacement (juce::Component& windowToPlace) : window (windowToPlace) {}
    ~AlxFramedPlacement() override { stopTimer(); }

    // Where the window's top left corner (inside the frame) belongs.
    void keep (juce::Point<int> position);

    static constexpr int pollIntervalMs = 50;
    static constexpr int giveUpAfterMs = 3000;

private:
    void timerCallback() override;

    juce::Component& window;
    juce::Point<int> target;
    int waitedMs = 0;
};
