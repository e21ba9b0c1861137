#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

// A cable joins modules: it refers to one object (a MIDI buffer, a keyboard state or an audio
// buffer) that the modules on its pins read and write one after the other on the audio thread.
// Nothing is copied or queued.
class AlxCableBase
{
public:
    virtual ~AlxCableBase() = default;
    virtual void clear() {}
};

template <typename T>
class AlxCable : public AlxCableBase
{
public:
    AlxCable() = default;
    explicit AlxCable (T* initialObject, bool initiallyOwned = true) { attach (initialObject, initiallyOwned); }
    ~AlxCable() override { attach (nullptr, false); }

    // Replaces the object; an owned previous object is destroyed.
    void attach (T* newObject, bool newOwned)
    {
        if (owned)
            delete object;

        object = newObject;
        owned = newOwned;
    }

    T* getObject() const noexcept { return object; }
    bool isOwned() const noexcept { return owned; }

private:
    T* object = nullptr;
    bool owned = false;

    JUCE_DECLARE_NON_COPYABLE (AlxCable)
};

class AlxAudioCable : public AlxCable<juce::AudioSampleBuffer>
{
public:
    using AlxCable::AlxCable;

    void clear() override
    {
        if (auto* buffer = getObject())
            buffer->clear();
    }
};

class AlxMidiCable : public AlxCable<juce::MidiBuffer>
{
public:
    using AlxCable::AlxCable;

    void clear() override
    {
        if (auto* buffer = getObject())
            buffer->clear();
    }
};

class AlxMidiKeyboardCable : public AlxCable<juce::MidiKeyboardState>
{
public:
    using AlxCable::AlxCable;

    // Releases every note on every channel.
    void clear() override
    {
        if (auto* state = getObject())
            state->allNotesOff (0);
    }
};
