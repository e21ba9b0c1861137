#include "standalone/AlxFramedPlacement.h"

void AlxFramedPlacement::keep (juce::Point<int> position)
{
    target = position;
    waitedMs = 0;
    startTimer (pollIntervalMs);
}

void AlxFramedPlacement::timerCallback()
{
    waitedMs += pollIntervalMs;
    auto* peer = window.getPeer();
    const auto frame = peer != nullptr ? peer->getFrameSizeIfPresent() : juce::ComponentPeer::OptionalBorderSize {};

    if (frame && ! (*frame).isEmpty())
    {
        stopTimer();
        if (window.getScreenPosition() != target)
            window.setTopLeftPosition (target);
    }
    else if (waitedMs >= giveUpAfterMs)
    {
        stopTimer();
    }
}
