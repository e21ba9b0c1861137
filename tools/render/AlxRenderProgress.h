#pragma once

#include <juce_core/juce_core.h>

#include <ostream>

// The progress line of a render: nothing for renders that finish within a second, then one line
// that is rewritten in place a few times a second, and ended when the render is done.
class AlxRenderProgress
{
public:
    AlxRenderProgress (std::ostream& stream, double sampleRate);

    // Milliseconds since the render started are passed in, so the line is testable.
    void update (juce::int64 samplesDone, juce::int64 samplesTotal, double elapsedMs);

    static juce::String lineOf (juce::int64 samplesDone, juce::int64 samplesTotal, double sampleRate);

private:
    std::ostream& out;
    const double rate;
    double lastShownMs = -1.0;
};
