#include "core/AlxPlimsarModule.h"
#include "midi/AlxMidiOutputDeviceManager.h"
#include "midi/AlxMidiOutputGroupModule.h"
#include "midi/AlxMidiOutputModule.h"
#include "render/AlxRenderer.h"
#include "support/AlxMemoryMidiDeviceService.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

namespace
{
    std::string bytesOf (const juce::MidiMessage& message)
    {
        return juce::String::toHexString (message.getRawData(), message.getRawDataSize()).toStdString();
    }

    // What a render delivered and how loud it was.
    struct Recording : AlxRenderListener
    {
        struct Event
        {
            juce::int64 position;
            juce::MidiMessage message;
        };

        void midiDelivered (juce::int64 position, const juce::MidiMessage& message) override { events.push_back ({ position, message }); }

        void audioRendered (const juce::AudioBuffer<float>& block) override
        {
            for (int c = 0; c < block.getNumChannels(); ++c)
                for (int i = 0; i < block.getNumSamples(); ++i)
                {
                    const double x = block.getSample (c, i);
                    peak = juce::jmax (peak, std::abs (x));
                    sumOfSquares += x * x;
                }

            frames += block.getNumSamples();
        }

        double rms() const { return frames > 0 ? std::sqrt (sumOfSquares / (2.0 * (double) frames)) : 0.0; }

        std::vector<const Event*> noteOns() const
        {
            std::vector<const Event*> result;

            for (const auto& event : events)
                if (event.message.isNoteOn())
                    result.push_back (&event);

            return result;
        }

        // The pitches started at each position.
        std::map<juce::int64, std::set<int>> onsets() const
        {
            std::map<juce::int64, std::set<int>> result;

            for (const auto* event : noteOns())
                result[event->position].insert (event->message.getNoteNumber());

            return result;
        }

        std::vector<std::string> describe() const
        {
            std::vector<std::string> lines;

            for (const auto& event : events)
                lines.push_back (std::to_string (event.position) + ": " + bytesOf (event.message));

            return lines;
        }

        std::vector<Event> events;
        double peak = 0.0, sumOfSquares = 0.0;
        juce::int64 frames = 0;
    };

    constexpr double sampleRate = 44100.0;
    // 120 bpm, the factory tempo.
    constexpr juce::int64 samplesPerQuarter = 22050;

    Recording renderBars (AlxRenderer& renderer, int bars, int blockSize = 512)
    {
        Recording recording;
        const auto length = (juce::int64) std::llround (bars * renderer.getNumerator() * 4.0 / renderer.getDenominator()
                                                        * renderer.getSamplesPerQuarter (sampleRate));
        renderer.render (sampleRate, blockSize, length, recording);
        EXPECT_EQ (recording.frames, length);
        return recording;
    }

    Recording renderProgram (const juce::String& program, int bars = 8)
    {
        AlxRenderer renderer;
        renderer.selectProgram (program);
        renderer.playTrack (0);
        return renderBars (renderer, bars);
    }
}

TEST (AlxRenderer, playsTheCleanStartOnTheQuarterNoteGridFromTheFirstSample)
{
    const auto recording = renderProgram ("0");
    const auto onsets = recording.onsets();

    // 8 bars of 4/4: a chord on each of the 32 quarter notes, the first at sample 0, and nothing
    // before it: the start's reset was taken before the first block.
    ASSERT_EQ (onsets.size(), 32u);
    EXPECT_TRUE (recording.events.front().message.isNoteOn());
    EXPECT_EQ (recording.events.front().position, 0);

    juce::int64 step = 0;

    for (const auto& [position, pitches] : onsets)
    {
        EXPECT_EQ (position, step++ * samplesPerQuarter);
        EXPECT_GE (pitches.size(), 3u) << position;
    }

    // Every note ends after 90 % of its step; no All Notes Off was needed.
    std::map<std::pair<juce::int64, int>, int> ends;

    for (const auto& event : recording.events)
    {
        ASSERT_TRUE (event.message.isNoteOnOrOff()) << event.position;
        EXPECT_EQ (event.message.getChannel(), 1);

        if (event.message.isNoteOff())
            ++ends[{ event.position, event.message.getNoteNumber() }];
    }

    for (const auto* on : recording.noteOns())
    {
        const std::pair end (on->position + samplesPerQuarter * 9 / 10, on->message.getNoteNumber());
        EXPECT_EQ (ends[end], 1) << on->position;
    }

    // The built-in synth plays them: clearly audible, not clipping.
    EXPECT_GT (recording.peak, 0.1);
    EXPECT_LE (recording.peak, 1.0);
    EXPECT_GT (recording.rms(), 0.01);
}

TEST (AlxRenderer, factoryProgramsRenderDifferently)
{
    const juce::String programs[] = { "clean start", "chord climbing arp", "ER walker", "WT polka", "rhythm arc 2bar" };
    std::vector<std::vector<std::string>> renders;

    for (const auto& program : programs)
    {
        const auto recording = renderProgram (program, 4);
        EXPECT_FALSE (recording.noteOns().empty()) << program;
        EXPECT_GT (recording.peak, 0.05) << program;
        renders.push_back (recording.describe());
    }

    for (size_t i = 0; i < renders.size(); ++i)
        for (size_t j = i + 1; j < renders.size(); ++j)
            EXPECT_NE (renders[i], renders[j]) << programs[i] << " / " << programs[j];
}

TEST (AlxRenderer, theChordClimbingArpWalksThroughTheHeldChord)
{
    // In the first two bars the demo holds one chord (the clean start plays it whole on every
    // quarter note); the arp plays it one note at a time, moving from note to note.
    const auto whole = renderProgram ("clean start", 2).onsets();
    const auto arp = renderProgram ("chord climbing arp", 2).onsets();

    std::set<int> chord;

    for (const auto& [position, pitches] : whole)
        chord.insert (pitches.begin(), pitches.end());

    ASSERT_EQ (chord.size(), 3u);
    EXPECT_GT (arp.size(), whole.size());

    std::set<int> played;
    int changes = 0, previous = -1;

    for (const auto& [position, pitches] : arp)
    {
        ASSERT_EQ (pitches.size(), 1u) << position;
        const int pitch = *pitches.begin();
        EXPECT_EQ (chord.count (pitch), 1u) << pitch;
        played.insert (pitch);
        changes += previous >= 0 && pitch != previous ? 1 : 0;
        previous = pitch;
    }

    EXPECT_EQ (played, chord);
    EXPECT_GE (changes, (int) arp.size() / 2);
}

TEST (AlxRenderer, theSameSettingsRenderTheSameOutput)
{
    const auto first = renderProgram ("chord climbing arp", 2);
    const auto second = renderProgram ("chord climbing arp", 2);

    EXPECT_EQ (first.describe(), second.describe());
    EXPECT_EQ (first.sumOfSquares, second.sumOfSquares);
    EXPECT_EQ (first.peak, second.peak);
}

TEST (AlxRenderer, recordsWhatTheOutputStageDeliversWhateverTheDestination)
{
    AlxMemoryMidiDeviceService system;
    system.addOutput ("Desk Synth");

    const auto renderTo = [&] (const juce::String& destination)
    {
        AlxRenderer renderer (system);
        auto& group = *static_cast<AlxPlimsarModule*> (renderer.getProcessor().getRootModule())->getMidiOutputGroup();
        group.getDeviceManager()->setEnabled ("Desk Synth", true);
        group.rebuildDeviceValues();

        auto& parameter = *group.getOutputModule (0)->getDeviceParameter();
        parameter.setValue (parameter.getDomain()->findByText (destination), AlxMessageCode::internal, false, true);
        renderer.playTrack (0);
        EXPECT_EQ (parameter.getValue()->getText(), destination);

        // The device is offered, but the render only records what it would have been sent.
        EXPECT_EQ (system.countOpenOutputs ("Desk Synth"), 0);
        return renderBars (renderer, 1);
    };

    const auto synth = renderTo ("Built-in synth");
    const auto host = renderTo ("VST host");
    const auto device = renderTo ("Desk Synth");
    const auto nowhere = renderTo ("Not connected");

    // One bar of the clean start: four chords of three notes, each note ended.
    EXPECT_EQ (synth.noteOns().size(), 12u);
    EXPECT_EQ (synth.events.size(), 24u);
    EXPECT_GT (synth.peak, 0.1);

    // The host gets the same events at the same positions; the synth then plays nothing.
    EXPECT_EQ (host.describe(), synth.describe());
    EXPECT_LE (host.peak, 0.001);

    // A device is sent each block's events when the block is processed.
    ASSERT_EQ (device.events.size(), synth.events.size());

    for (size_t i = 0; i < device.events.size(); ++i)
    {
        EXPECT_EQ (device.events[i].position, synth.events[i].position / 512 * 512);
        EXPECT_EQ (bytesOf (device.events[i].message), bytesOf (synth.events[i].message));
    }

    EXPECT_LE (device.peak, 0.001);
    EXPECT_TRUE (nowhere.events.empty());
    EXPECT_EQ (system.getSent ("Desk Synth").size(), 0u);
}

TEST (AlxRenderer, followsTheTempoAndTimeSignatureItIsGiven)
{
    AlxRenderer renderer;
    renderer.setTempo (96.0);
    renderer.setTimeSignature (3, 4);
    renderer.playTrack (0);

    EXPECT_EQ (renderer.getTempo(), 96.0);
    EXPECT_EQ (renderer.getNumerator(), 3);
    EXPECT_EQ (renderer.getDenominator(), 4);

    // 96 bpm: 27562.5 samples per quarter note; the steps fall on the nearest sample to it.
    const auto recording = renderBars (renderer, 2);
    EXPECT_EQ (recording.frames, 165375);

    std::vector<juce::int64> positions;

    for (const auto& [position, pitches] : recording.onsets())
        positions.push_back (position);

    ASSERT_EQ (positions.size(), 6u);

    for (size_t step = 0; step < positions.size(); ++step)
        EXPECT_NEAR ((double) positions[step], (double) step * 27562.5, 1.0) << step;
}
