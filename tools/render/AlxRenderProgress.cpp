#include "render/AlxRenderProgress.h"

namespace
{
    constexpr double silentMs = 1000.0;
    constexpr double intervalMs = 250.0;

    juce::String minutesAndSeconds (double seconds)
    {
        const auto whole = (juce::int64) seconds;
        return juce::String (whole / 60) + ":" + juce::String (whole % 60).paddedLeft ('0', 2);
    }
}

AlxRenderProgress::AlxRenderProgress (std::ostream& stream, double sampleRate) : out (stream), rate (sampleRate) {}

juce::String AlxRenderProgress::lineOf (juce::int64 samplesDone, juce::int64 samplesTotal, double sampleRate)
{
    const int percent = samplesTotal > 0 ? (int) (100 * samplesDone / samplesTotal) : 100;
    return "rendering: " + juce::String (percent) + "% (" + minutesAndSeconds ((double) samplesDone / sampleRate)
           + " of " + minutesAndSeconds ((double) samplesTotal / sampleRate) + ")";
}

void AlxRenderProgress::update (juce::int64 samplesDone, juce::int64 samplesTotal, double elapsedMs)
{
    const bool finished = samplesDone >= samplesTotal;
    const bool due = lastShownMs < 0.0 || elapsedMs - lastShownMs >= intervalMs;

    if (elapsedMs < silentMs || ! (finished || due))
        return;

    out << "\r" << lineOf (samplesDone, samplesTotal, rate) << (finished ? "\n" : "") << std::flush;
    lastShownMs = elapsedMs;
}
