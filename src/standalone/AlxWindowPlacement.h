#pragma once

#include <juce_graphics/juce_graphics.h>

#include <optional>

// Where the main window goes: back where the user left it, as long as that place is still on one
// of the connected screens (a screen may have been unplugged, or the resolution lowered, since);
// otherwise in the middle of the main screen.
namespace AlxWindowPlacement
{
    // A saved place counts as on a screen when this much of the window's top strip, where the
    // user grabs it, lies in one screen's usable area.
    constexpr int minimumVisibleWidth = 64;
    constexpr int minimumVisibleHeight = 16;

    // The bounds for a window of this size. The screens are their usable areas, the main one
    // first; with no screen at all the window stays at the origin.
    juce::Rectangle<int> choose (std::optional<juce::Point<int>> saved, int width, int height,
                                 const juce::Array<juce::Rectangle<int>>& screens);

    // The usable areas of the connected screens, the main one first.
    juce::Array<juce::Rectangle<int>> connectedScreens();
}
