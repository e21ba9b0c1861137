#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <cstdint>

// Where the music is at the start of a block: tempo, time signature, time, song position in
// quarter notes and the play state, whether read from a host's play head or from the
// transport's own clock. A plain record: every field is always set, and two records are equal
// only when every field is.
struct AlxTransportPosition
{
    double bpm = 0.0;
    int timeSigNumerator = 0;
    int timeSigDenominator = 0;
    std::int64_t timeInSamples = 0;
    double timeInSeconds = 0.0;
    double editOriginTime = 0.0;
    double ppqPosition = 0.0;
    double ppqPositionOfLastBarStart = 0.0;
    juce::AudioPlayHead::FrameRate frameRate;
    bool isPlaying = false;
    bool isRecording = false;
    double ppqLoopStart = 0.0;
    double ppqLoopEnd = 0.0;
    bool isLooping = false;

    // A host position, with what the host leaves out taken as 120 bpm, 4/4, time zero, no frame
    // rate and no loop; a song position left out is the one its time gives at its tempo.
    static AlxTransportPosition fromHost (const juce::AudioPlayHead::PositionInfo& info);

    bool operator== (const AlxTransportPosition& other) const noexcept;
    bool operator!= (const AlxTransportPosition& other) const noexcept { return ! operator== (other); }
};
