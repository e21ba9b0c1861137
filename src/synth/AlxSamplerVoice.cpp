#include "synth/AlxSamplerVoice.h"

#include <cmath>

bool AlxSamplerVoice::canPlaySound (juce::SynthesiserSound* sound)
{
    return dynamic_cast<AlxSamplerSound*> (sound) != nullptr;
}

void AlxSamplerVoice::startNote (int midiNoteNumber, float velocity, juce::SynthesiserSound* s, int)
{
    auto* sound = dynamic_cast<AlxSamplerSound*> (s);
    pitchRatio = sound != nullptr ? std::pow (2.0, (midiNoteNumber - sound->getRootNote()) / 12.0)
                                        * sound->getSourceSampleRate() / getSampleRate()
                                  : 0.0;

    // Without a recording or a usable playback rate there is nothing to play.
    if (sound == nullptr || sound->getAudioData() == nullptr || ! (pitchRatio > 0.0 && std::isfinite (pitchRatio)))
    {
        clearCurrentNote();
        return;
    }

    position = 0.0;
    leftGain = rightGain = velocity;

    const int attackSamples = sound->getAttackSamples();
    inAttack = attackSamples > 0;
    level = inAttack ? 0.0f : 1.0f;
    attackDelta = inAttack ? (float) (pitchRatio / attackSamples) : 0.0f;

    const int releaseSamples = sound->getReleaseSamples();
    releaseDelta = releaseSamples > 0 ? (float) (-pitchRatio / releaseSamples) : 0.0f;
    inRelease = false;
}

void AlxSamplerVoice::stopNote (float, bool allowTailOff)
{
    // A sound without a release time has no tail to play: it stops at once rather than holding
    // its level for ever.
    if (allowTailOff && releaseDelta < 0.0f)
    {
        inAttack = false;
        inRelease = true;
    }
    else
    {
        clearCurrentNote();
    }
}

void AlxSamplerVoice::renderNextBlock (juce::AudioBuffer<float>& output, int startSample, int numSamples)
{
    auto* sound = dynamic_cast<AlxSamplerSound*> (getCurrentlyPlayingSound().get());

    if (sound == nullptr || sound->getAudioData() == nullptr || output.getNumChannels() == 0)
        return;

    const auto& data = *sound->getAudioData();
    const float* inL = data.getReadPointer (0);
    const float* inR = data.getNumChannels() > 1 ? data.getReadPointer (1) : nullptr;
    float* outL = output.getWritePointer (0, startSample);
    float* outR = output.getNumChannels() > 1 ? output.getWritePointer (1, startSample) : nullptr;
    const double length = sound->getLength();
    const bool loop = sound->isLooping();

    for (int s = 0; s < numSamples; ++s)
    {
        const int i = (int) position;
        const float a = (float) (position - i);
        float l = (1.0f - a) * inL[i] + a * inL[i + 1];
        float r = inR != nullptr ? (1.0f - a) * inR[i] + a * inR[i + 1] : l;
        l *= leftGain;
        r *= rightGain;

        if (inAttack)
        {
            l *= level;
            r *= level;
            level += attackDelta;

            if (level >= 1.0f)
            {
                level = 1.0f;
                inAttack = false;
            }
        }
        else if (inRelease)
        {
            const float next = level + releaseDelta;

            if (next <= 0.0f)
            {
                clearCurrentNote();
                return;
            }

            l *= level;
            r *= level;
            level = next;
        }

        if (outR != nullptr)
        {
            outL[s] += l;
            outR[s] += r;
        }
        else
        {
            outL[s] += (l + r) * 0.5f;
        }

        position += pitchRatio;

        if (position > length)
        {
            if (! loop)
            {
                clearCurrentNote();
                return;
            }

            // Keep the fraction: the guard samples continue the start, so the loop is seamless.
            position = std::fmod (position, length);
        }
    }
}
