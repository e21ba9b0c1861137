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
    // canPlaySound admits only AlxSamplerSound, so whatever is playing is one.
    const auto* sound = static_cast<const AlxSamplerSound*> (getCurrentlyPlayingSound().get());

    if (sound == nullptr || sound->getAudioData() == nullptr || output.getNumChannels() == 0)
        return;

    const bool stereoSource = sound->getAudioData()->getNumChannels() > 1;
    const bool stereoOutput = output.getNumChannels() > 1;

    if (stereoSource)
    {
        if (stereoOutput)
            renderSamples<true, true> (*sound, output, startSample, numSamples);
        else
            renderSamples<true, false> (*sound, output, startSample, numSamples);
    }
    else
    {
        if (stereoOutput)
            renderSamples<false, true> (*sound, output, startSample, numSamples);
        else
            renderSamples<false, false> (*sound, output, startSample, numSamples);
    }
}

template <bool stereoSource, bool stereoOutput>
void AlxSamplerVoice::renderSamples (const AlxSamplerSound& sound, juce::AudioBuffer<float>& output, int startSample, int numSamples)
{
    const auto& data = *sound.getAudioData();
    const float* const inL = data.getReadPointer (0);
    const float* const inR = data.getReadPointer (stereoSource ? 1 : 0);
    float* const outL = output.getWritePointer (0, startSample);
    float* const outR = output.getWritePointer (stereoOutput ? 1 : 0, startSample);
    const double length = sound.getLength();
    const bool loop = sound.isLooping();
    const double ratio = pitchRatio;
    const float gainL = leftGain, gainR = rightGain;
    const float attackStep = attackDelta, releaseStep = releaseDelta;
    double pos = position;
    float lvl = level;
    bool attack = inAttack, release = inRelease;

    // The source at the current position, interpolated and scaled by the velocity.
    const auto read = [&] (float& l, float& r)
    {
        const int i = (int) pos;
        const float a = (float) (pos - i);
        l = (1.0f - a) * inL[i] + a * inL[i + 1];
        r = stereoSource ? (1.0f - a) * inR[i] + a * inR[i + 1] : l;
        l *= gainL;
        r *= gainR;
    };

    const auto write = [&] (int s, float l, float r)
    {
        if (stereoOutput)
        {
            outL[s] += l;
            outR[s] += r;
        }
        else
        {
            outL[s] += (l + r) * 0.5f;
        }
    };

    // Moves on by one output sample; false when a sound that does not loop has run out.
    const auto advance = [&]
    {
        pos += ratio;

        if (pos > length)
        {
            if (! loop)
                return false;

            // Keep the fraction: the guard samples continue the start, so the loop is seamless.
            pos = std::fmod (pos, length);
        }

        return true;
    };

    bool ended = false;
    int s = 0;

    // Attack and release change the level on every sample. An attack gives way to the steady
    // state below; a release lasts until the note ends (the synth calls stopNote between blocks).
    for (; s < numSamples && (attack || release); ++s)
    {
        float l, r;
        read (l, r);

        if (attack)
        {
            l *= lvl;
            r *= lvl;
            lvl += attackStep;

            if (lvl >= 1.0f)
            {
                lvl = 1.0f;
                attack = false;
            }
        }
        else
        {
            const float next = lvl + releaseStep;

            // The note is over: this sample stays unwritten.
            if (next <= 0.0f)
            {
                ended = true;
                break;
            }

            l *= lvl;
            r *= lvl;
            lvl = next;
        }

        write (s, l, r);

        if (! advance())
        {
            ended = true;
            break;
        }
    }

    // The steady state, where most of the time goes: level 1, so the samples need no envelope.
    if (! ended && ! release)
    {
        for (; s < numSamples; ++s)
        {
            float l, r;
            read (l, r);
            write (s, l, r);

            if (! advance())
            {
                ended = true;
                break;
            }
        }
    }

    position = pos;
    level = lvl;
    inAttack = attack;
    inRelease = release;

    if (ended)
        clearCurrentNote();
}
