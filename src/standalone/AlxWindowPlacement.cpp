#include "standalone/AlxWindowPlacement.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace AlxWindowPlacement
{
    juce::Rectangle<int> choose (std::optional<juce::Point<int>> saved, int width, int height,
                                 const juce::Array<juce::Rectangle<int>>& screens)
    {
        if (screens.isEmpty())
            return { width, height };

        if (saved.has_value())
        {
            const juce::Rectangle<int> bounds (saved->x, saved->y, width, height);
            const auto grip = bounds.withHeight (juce::jmin (height, minimumVisibleHeight));

            for (auto& screen : screens)
            {
                const auto visible = screen.getIntersection (grip);

                if (visible.getWidth() >= juce::jmin (width, minimumVisibleWidth)
                    && visible.getHeight() >= grip.getHeight())
                    return bounds;
            }
        }

        return juce::Rectangle<int> (width, height).withCentre (screens.getFirst().getCentre());
    }

    juce::Array<juce::Rectangle<int>> connectedScreens()
    {
        juce::Array<juce::Rectangle<int>> screens;

        for (auto& display : juce::Desktop::getInstance().getDisplays().displays)
        {
            if (display.isMain)
                screens.insert (0, display.userArea);
            else
                screens.add (display.userArea);
        }

        return screens;
    }
}
