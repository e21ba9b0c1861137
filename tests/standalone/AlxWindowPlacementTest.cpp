#include "standalone/AlxWindowPlacement.h"

#include <gtest/gtest.h>

TEST (AlxWindowPlacement, restoresAPlaceOnAScreenAndCentresOtherwise)
{
    using R = juce::Rectangle<int>;
    using P = juce::Point<int>;
    const juce::Array<R> oneScreen { R (0, 0, 1280, 1024) };
    // A main screen with a panel at its top, and a second screen to its left.
    const juce::Array<R> twoScreens { R (0, 24, 1920, 1056), R (-1280, 0, 1280, 1024) };
    const R centredOnOne (293, 252, 695, 520);
    const R centredOnMain (613, 292, 695, 520);

    struct Case { const char* what; std::optional<P> saved; juce::Array<R> screens; R expected; };
    const Case cases[] {
        { "first start", std::nullopt, oneScreen, centredOnOne },
        { "saved on the screen", P (10, 20), oneScreen, R (10, 20, 695, 520) },
        { "hanging over the right edge, grip still visible", P (1280 - 64, 100), oneScreen, R (1216, 100, 695, 520) },
        { "too little of the grip visible", P (1280 - 63, 100), oneScreen, centredOnOne },
        { "beyond the right edge", P (1780, 40), oneScreen, centredOnOne },
        { "below the bottom", P (10, 1024), oneScreen, centredOnOne },
        { "title bar above the top", P (10, -5), oneScreen, centredOnOne },
        { "left of the screen", P (-700, 10), oneScreen, centredOnOne },
        { "on the second screen", P (-1000, 100), twoScreens, R (-1000, 100, 695, 520) },
        { "under the main screen's panel", P (100, 10), twoScreens, centredOnMain },
        { "second screen unplugged", P (-1000, 100), oneScreen, centredOnOne },
        { "no screen at all", P (10, 20), {}, R (0, 0, 695, 520) },
    };

    for (auto& c : cases)
        EXPECT_EQ (AlxWindowPlacement::choose (c.saved, 695, 520, c.screens), c.expected) << c.what;
}
