#include "modules/AlxTransportPosition.h"

#include <cmath>
#include <tuple>

AlxTransportPosition AlxTransportPosition::fromHost (const juce::AudioPlayHead::PositionInfo& info)
{
    AlxTransportPosition p;
    p.bpm = info.getBpm().orFallback (120.0);

    const auto signature = info.getTimeSignature().orFallback (juce::AudioPlayHead::TimeSignature());
    p.timeSigNumerator = signature.numerator;
    p.timeSigDenominator = signature.denominator;

    p.timeInSamples = info.getTimeInSamples().orFallback (std::int64_t { 0 });
    p.timeInSeconds = info.getTimeInSeconds().orFallback (0.0);
    p.editOriginTime = info.getEditOriginTime().orFallback (0.0);
    // A host that tells the time but not the song position in quarter notes (an LV2 host that
    // sends the bar and the beat within it, which the LV2 wrapper does not read) stands where its
    // time and tempo put it; read as 0, every block would look like a jump back to the start.
    const double tempoForTime = p.bpm > 0.0 && std::isfinite (p.bpm) ? p.bpm : 120.0;
    p.ppqPosition = info.getPpqPosition().orFallback (p.timeInSeconds * tempoForTime / 60.0);
    p.ppqPositionOfLastBarStart = info.getPpqPositionOfLastBarStart().orFallback (0.0);
    p.frameRate = info.getFrameRate().orFallback (juce::AudioPlayHead::FrameRate());
    p.isPlaying = info.getIsPlaying();
    p.isRecording = info.getIsRecording();

    const auto loop = info.getLoopPoints().orFallback (juce::AudioPlayHead::LoopPoints());
    p.ppqLoopStart = loop.ppqStart;
    p.ppqLoopEnd = loop.ppqEnd;
    p.isLooping = info.getIsLooping();
    return p;
}

bool AlxTransportPosition::operator== (const AlxTransportPosition& other) const noexcept
{
    const auto tie = [] (const AlxTransportPosition& p)
    {
        return std::tie (p.bpm, p.timeSigNumerator, p.timeSigDenominator, p.timeInSamples, p.timeInSeconds,
                         p.editOriginTime, p.ppqPosition, p.ppqPositionOfLastBarStart, p.frameRate, p.isPlaying,
                         p.isRecording, p.ppqLoopStart, p.ppqLoopEnd, p.isLooping);
    };

    return tie (*this) == tie (other);
}
