#pragma once

#include "support/AlxTestHost.h"

#include <functional>
#include <initializer_list>
#include <vector>

// Drives the note path of a test host: starts the transport's own clock at song position 0,
// holds a chord by playing it as host MIDI at the start of every block, and collects what the trigger
// generated (cable C) at song sample positions.
//
// Settings, tempo and the start are posted; run delivers them before its first block (and
// everything posted during the run after its last), so a test sets up, then runs.
class AlxNotePath
{
public:
    struct Note
    {
        juce::int64 sample;
        int note;
        int velocity;   // 0 for a note-off
    };

    explicit AlxNotePath (AlxTestHost& host);

    // Transport to Playing from position 0 (from Armed or Playing, one play request does it).
    void start();
    // The chord from the next block on; notes held before and not now are released.
    void hold (std::initializer_list<int> notes);
    // The velocity the chord is played with (the trigger scales its own velocity by it).
    void setInputVelocity (float velocity) { inputVelocity = velocity; }

    // Chooses the value with this text (the parameter's domain must have one).
    void select (AlxParameter* parameter, const juce::String& text);
    // Sets the tempo, also when the parameter already holds it, so the transport takes it up.
    void setTempo (double bpm);

    // One block with the chord held; the notes it generated, at positions within the block.
    std::vector<Note> processBlock (int numSamples);
    // Note-ons generated so far that did not lie inside their block.
    int getMisplacedNoteOns() const { return misplacedNoteOns; }

    // Blocks of the given sizes until totalSamples have passed (the last one shortened); the
    // positions count from the run's first sample.
    std::vector<Note> run (juce::int64 totalSamples, const std::function<int()>& nextBlockSize);
    std::vector<Note> run (juce::int64 totalSamples, int blockSize);

    // Where the note-ons (or the note-offs) lie, in ascending order.
    static std::vector<juce::int64> samples (const std::vector<Note>& notes, bool noteOns);

private:
    AlxTestHost& host;
    std::vector<int> held, released;
    float inputVelocity = 1.0f;
    int misplacedNoteOns = 0;
};
