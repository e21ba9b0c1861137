#include "framework/AlxMessageCode.h"
#include "midi/AlxMidiInputGroupModule.h"
#include "midi/AlxMidiInputModule.h"
#include "midi/AlxMidiOutputGroupModule.h"
#include "midi/AlxMidiOutputModule.h"
#include "modules/AlxTransportModule.h"
#include "support/AlxTestHost.h"
#include "support/AlxTestPlayHead.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <set>

// Whatever moves the song position while notes sound (a song position pointer, a MIDI start, a
// start after a stop, a host's loop) ends the sounding notes first, and a MIDI clock places the
// song where its clocks lie: no key is ever switched on twice on one channel, every note-on gets
// its note-off, and a clock at the render's tempo fires the grid exactly where the song's own
// clock does.

namespace
{
    constexpr double sampleRate = 44100.0;
    constexpr double samplesPerQuarter = 22050.0;   // 120 bpm
    constexpr double samplesPerClock = samplesPerQuarter / 24.0;
    constexpr int blockSize = 512;

    using Timeline = std::multimap<juce::int64, juce::MidiMessage>;

    juce::MidiMessage songPosition (int sixteenths)
    {
        return juce::MidiMessage (0xF2, sixteenths & 0x7F, (sixteenths >> 7) & 0x7F);
    }

    // MIDI clocks from the first sample on, one every clockLength samples, up to the end.
    void addClocks (Timeline& t, juce::int64 from, juce::int64 to, double clockLength)
    {
        for (int n = 0;; ++n)
        {
            const auto at = from + (juce::int64) std::floor (n * clockLength);

            if (at >= to)
                break;

            t.emplace (at, juce::MidiMessage::midiClock());
        }
    }

    struct Broken
    {
        int doubled = 0;       // note-ons of a key that already sounds
        int strayOffs = 0;     // note-offs of a key that does not sound
        int leftSounding = 0;  // notes never ended
    };

    Broken checkNotes (const std::vector<AlxTestHost::Event>& events)
    {
        Broken broken;
        std::set<std::pair<int, int>> sounding;

        for (auto& e : events)
        {
            const auto key = std::make_pair (e.message.getChannel(), e.message.getNoteNumber());

            if (e.message.isNoteOn())
                broken.doubled += sounding.insert (key).second ? 0 : 1;
            else if (e.message.isNoteOff())
                broken.strayOffs += sounding.erase (key) == 1 ? 0 : 1;
        }

        broken.leftSounding = (int) sounding.size();
        return broken;
    }

    class AlxPositionJumpTest : public testing::Test
    {
    protected:
        AlxPositionJumpTest()
        {
            set (*transport().getTempoParameter(), 120.0f);
            choose (*input().getDeviceParameter(), "VST/AU host");
            choose (*input().getChannelParameter(), "All");
        }

        AlxTransportModule& transport() { return *host.getRoot().getTransportModule(); }
        AlxMidiInputModule& input() { return *host.getRoot().getMidiInputGroup()->getInputModule (0); }
        AlxMidiOutputModule& output() { return *host.getRoot().getMidiOutputGroup()->getOutputModule (0); }

        void choose (AlxParameter& parameter, const juce::String& text)
        {
            auto* value = parameter.getDomain()->findByText (text);
            ASSERT_NE (value, nullptr) << text;
            parameter.setValue (value, AlxMessageCode::fromEditor, false, true);
            host.deliver();
        }

        void set (AlxParameter& parameter, float value)
        {
            parameter.setRealValue (value, AlxMessageCode::fromEditor, true, true);
            host.deliver();
        }

        // The program, with its notes going back to the host.
        void selectProgram (int program)
        {
            host.getProcessor().setCurrentProgram (program);
            host.deliver();
            choose (*output().getDeviceParameter(), "VST host");
        }

        // The chord, sent again at the start of every block: a stop drops what was held.
        static void addChord (juce::MidiBuffer& block)
        {
            for (int note : { 60, 64, 67 })
                block.addEvent (juce::MidiMessage::noteOn (1, note, (juce::uint8) 100), 0);
        }

        // From Armed, plays the timeline as the host's MIDI with the chord held, then stops; the
        // events at positions from the timeline's start.
        std::vector<AlxTestHost::Event> play (const Timeline& timeline, juce::int64 length)
        {
            const auto origin = host.getSamplesProcessed();
            auto events = host.run (length, blockSize, [&timeline, origin] (juce::int64 absoluteStart, int n)
            {
                const auto start = absoluteStart - origin;
                juce::MidiBuffer block;
                addChord (block);

                for (auto it = timeline.lower_bound (start); it != timeline.end() && it->first < start + n; ++it)
                    block.addEvent (it->second, (int) (it->first - start));

                return block;
            });

            events = finish (std::move (events));

            for (auto& e : events)
                e.sample -= origin;

            return events;
        }

        // Back to Armed, with the reset that ends every note still sounding; nothing plays after it.
        std::vector<AlxTestHost::Event> finish (std::vector<AlxTestHost::Event> events)
        {
            if (transport().isPlaying())
                transport().postStop (false);
            else
                transport().postReset();

            host.deliver();

            for (auto& e : host.run (blockSize, blockSize))
                events.push_back (e);

            if (transport().isStopped())
                transport().postPlay();

            host.deliver();
            EXPECT_TRUE (transport().isArmed());
            return events;
        }

        static std::vector<juce::int64> noteOnSamples (const std::vector<AlxTestHost::Event>& events)
        {
            std::vector<juce::int64> samples;

            for (auto& e : events)
                if (e.message.isNoteOn() && (samples.empty() || samples.back() != e.sample))
                    samples.push_back (e.sample);

            return samples;
        }

        AlxTestHost host { sampleRate, blockSize };
    };

    struct JumpCase
    {
        const char* name;
        std::function<Timeline (juce::int64 length)> input;
    };

    Timeline startedAt (juce::int64 sample)
    {
        Timeline t;
        t.emplace (sample, juce::MidiMessage::midiStart());
        return t;
    }

    const JumpCase jumpCases[] = {
        { "a steady clock at the tempo", [] (juce::int64 length)
          {
              auto t = startedAt (0);
              addClocks (t, 0, length, samplesPerClock);
              return t;
          } },
        { "a clock 3 % slow", [] (juce::int64 length)
          {
              auto t = startedAt (0);
              addClocks (t, 0, length, samplesPerClock * 1.03);
              return t;
          } },
        { "a clock 3 % fast", [] (juce::int64 length)
          {
              auto t = startedAt (0);
              addClocks (t, 0, length, samplesPerClock / 1.03);
              return t;
          } },
        { "song position pointers and continues while playing", [] (juce::int64 length)
          {
              auto t = startedAt (0);
              std::mt19937 random (7);

              for (juce::int64 at = 9000; at < length; at += 9000 + (juce::int64) (random() % 20000))
              {
                  t.emplace (at, songPosition ((int) (random() % 64)));
                  t.emplace (at + (juce::int64) (random() % 3000), juce::MidiMessage::midiContinue());
              }

              return t;
          } },
        { "a start after a stop, again and again", [] (juce::int64 length)
          {
              auto t = startedAt (0);

              for (juce::int64 at = 30000; at + 1200 < length; at += 41000)
              {
                  t.emplace (at, juce::MidiMessage::midiStop());
                  t.emplace (at + 1200, juce::MidiMessage::midiStart());
              }

              return t;
          } },
        { "a start while playing", [] (juce::int64 length)
          {
              auto t = startedAt (0);

              for (juce::int64 at = 25000; at < length; at += 33333)
                  t.emplace (at, juce::MidiMessage::midiStart());

              return t;
          } },
        { "song position, start, continue, stop and clock at random", [] (juce::int64 length)
          {
              auto t = startedAt (0);
              std::mt19937 random (15);
              const juce::MidiMessage kinds[] = { juce::MidiMessage::midiStart(), juce::MidiMessage::midiContinue(),
                                                  juce::MidiMessage::midiStop(), juce::MidiMessage::midiClock(),
                                                  juce::MidiMessage::midiClock(), juce::MidiMessage::midiClock() };

              for (int i = 0; i < 600; ++i)
              {
                  const auto at = (juce::int64) (random() % (std::uint32_t) length);
                  t.emplace (at, random() % 5 == 0 ? songPosition ((int) (random() % 16384)) : kinds[random() % std::size (kinds)]);
              }

              return t;
          } },
    };
}

TEST_F (AlxPositionJumpTest, noKeyIsOnTwiceAndEveryNoteEndsWhateverMovesTheSongPosition)
{
    const auto length = (juce::int64) (8 * 4 * samplesPerQuarter);

    // The clean start, a fast gate with doublings an LFO changes, and a step an LFO slows down.
    for (int program : { 0, 28, 50 })
    {
        for (auto& c : jumpCases)
        {
            SCOPED_TRACE (juce::String ("program ") + juce::String (program) + ", " + c.name);
            selectProgram (program);
            const auto events = play (c.input (length), length);

            const auto broken = checkNotes (events);
            EXPECT_EQ (broken.doubled, 0);
            EXPECT_EQ (broken.strayOffs, 0);
            EXPECT_EQ (broken.leftSounding, 0);
            EXPECT_FALSE (noteOnSamples (events).empty());
        }
    }
}

TEST_F (AlxPositionJumpTest, aClockAtTheTempoFiresTheGridWhereTheSongsOwnClockDoes)
{
    // Four bars, and a little more so the last grid point lies well inside.
    const auto length = (juce::int64) (4 * 4 * samplesPerQuarter) + 1000;

    for (int program : { 0, 28 })
    {
        SCOPED_TRACE (program);
        selectProgram (program);
        const auto own = noteOnSamples (play (startedAt (0), length));

        selectProgram (program);
        auto clocked = startedAt (0);
        addClocks (clocked, 0, length, samplesPerClock);
        const auto followed = noteOnSamples (play (clocked, length));

        // Clocks lie on whole samples, the song's own grid on exact quarter-note fractions: a
        // sample apart at most, and every chord fired once.
        ASSERT_EQ (followed.size(), own.size()) << ::testing::PrintToString (followed) << " / " << ::testing::PrintToString (own);
        ASSERT_GT (own.size(), 10u);

        for (size_t i = 0; i < own.size(); ++i)
            EXPECT_NEAR ((double) followed[i], (double) own[i], 1.0) << "firing " << i;
    }
}

TEST_F (AlxPositionJumpTest, aHostsLoopEndsTheSoundingNotesBeforeTheLoopStartsAgain)
{
    AlxTestPlayHead playHead;
    playHead.setBpm (120.0);
    host.setPlayHead (&playHead);

    for (int program : { 0, 28 })
    {
        SCOPED_TRACE (program);
        selectProgram (program);
        playHead.setPlaying (true);

        // A loop of one bar and a quarter note, so it jumps back in the middle of notes.
        const double loopQuarters = 5.25;
        std::vector<AlxTestHost::Event> events;
        juce::int64 done = 0;

        for (int i = 0; i < 1600; ++i)
        {
            const double quarter = std::fmod ((double) done / samplesPerQuarter, loopQuarters);
            playHead.setPpqPosition (quarter);
            playHead.setTimeInSamples (done);

            juce::MidiBuffer chord;
            addChord (chord);

            // Blocks end on the loop's end, as hosts cut them.
            const auto toLoopEnd = (juce::int64) std::ceil ((loopQuarters - quarter) * samplesPerQuarter);
            const int n = (int) juce::jlimit ((juce::int64) 1, (juce::int64) blockSize, toLoopEnd);
            host.processBlock (n, chord);

            for (const auto event : host.getMidi())
                events.push_back ({ done + event.samplePosition, event.getMessage() });

            done += n;
            host.deliver();
        }

        playHead.setPlaying (false);
        events = finish (events);

        const auto broken = checkNotes (events);
        EXPECT_EQ (broken.doubled, 0);
        EXPECT_EQ (broken.strayOffs, 0);
        EXPECT_EQ (broken.leftSounding, 0);
        EXPECT_GT (noteOnSamples (events).size(), 20u);
    }

    host.setPlayHead (nullptr);
}
