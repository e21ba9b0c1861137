#include "midi/AlxMidiSequencer.h"

#include "midi/AlxAllocationCounter.h"

#include "support/AlxZipArchive.h"

#include "AlxEmbeddedData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace
{
    constexpr double spq = 24000.0; // 120 bpm at 48 kHz
    constexpr int lead = 0, bass = 1;

    struct Event
    {
        int sample;
        std::vector<juce::uint8> bytes;

        bool operator== (const Event& other) const { return sample == other.sample && bytes == other.bytes; }
    };

    void PrintTo (const Event& e, std::ostream* os)
    {
        *os << "@" << e.sample << ":" << juce::String::toHexString (e.bytes.data(), (int) e.bytes.size());
    }

    // Meta events are compared by kind only: juce::MidiBuffer takes a meta event's type byte for
    // its length and so stores the track name "lead" cut short.
    Event at (int sample, const juce::MidiMessage& m)
    {
        const auto size = m.isMetaEvent() ? 2 : m.getRawDataSize();
        return { sample, { m.getRawData(), m.getRawData() + size } };
    }

    Event at (int sample, std::vector<juce::uint8> bytes)
    {
        return { sample, std::move (bytes) };
    }

    const std::vector<juce::uint8> trackName { 0xFF, 0x03 }, timeSignature { 0xFF, 0x58 }, endOfTrack { 0xFF, 0x2F };

    juce::MidiMessage on (int note, int velocity) { return juce::MidiMessage::noteOn (1, note, (juce::uint8) velocity); }
    juce::MidiMessage off (int note) { return juce::MidiMessage::noteOff (1, note, (juce::uint8) 64); }

    juce::MemoryBlock midiFileOf (const juce::MidiMessageSequence& track)
    {
        juce::MidiFile file;
        file.setTicksPerQuarterNote (96);
        file.addTrack (track);
        juce::MemoryOutputStream out;
        file.writeTo (out, 0);
        return out.getMemoryBlock();
    }

    class AlxMidiSequencerTest : public testing::Test
    {
    protected:
        AlxMidiSequencerTest()
        {
            juce::MemoryInputStream demo (AlxEmbeddedData::demoMidiZip, (size_t) AlxEmbeddedData::demoMidiZipSize, false);
            loaded = sequencer.loadZip (demo);
        }

        std::vector<Event> play (int file, double position, int numSamples, int barQuarters,
                                 double samplesPerQuarter = spq, int track = 0) const
        {
            juce::MidiBuffer out;
            sequencer.play (file, track, position, numSamples, samplesPerQuarter, barQuarters, out);
            std::vector<Event> events;

            for (const auto event : out)
                events.push_back (at (event.samplePosition, event.getMessage()));

            return events;
        }

        AlxMidiSequencer sequencer;
        bool loaded = false;
    };
}

TEST_F (AlxMidiSequencerTest, theFirstBlockStartsWithTheTickZeroEvents)
{
    ASSERT_TRUE (loaded);
    ASSERT_EQ (sequencer.getFiles().size(), 2u);

    // 512 samples are 2.048 ticks: the metas and the three opening notes, all at sample 0.
    const std::vector<Event> expected { at (0, trackName), at (0, timeSignature),
                                        at (0, on (74, 109)), at (0, on (50, 101)), at (0, on (69, 101)) };
    EXPECT_EQ (play (lead, 0.0, 512, 4), expected);
}

TEST_F (AlxMidiSequencerTest, aBlockAcrossTheLoopEndWrapsToTheStart)
{
    // 4/4: the lead's 6516 ticks loop over 17 bars (6528 ticks). From 67.5 quarters (tick 6480)
    // one second (192 ticks) reaches tick 144 of the next pass: tick 6516 is 36 ticks in, tick 0
    // of the next pass 48 ticks in.
    const std::vector<Event> expected { at (9000, off (67)), at (9000, off (72)), at (9000, off (50)),
                                        at (9000, off (69)), at (9000, endOfTrack),
                                        at (12000, trackName), at (12000, timeSignature),
                                        at (12000, on (74, 109)), at (12000, on (50, 101)), at (12000, on (69, 101)) };

    // Positions before the song start or many passes later land at the same place in the loop.
    for (double position : { 67.5, -0.5, 67.5 + 68.0 * 1000.0 })
        EXPECT_EQ (play (lead, position, 48000, 4), expected) << "position " << position;
}

TEST_F (AlxMidiSequencerTest, tracksLoopOverWholeBars)
{
    struct Case
    {
        int file, barQuarters, loopTicks;
        std::vector<int> openingNotes;
    };

    const Case cases[] = {
        { lead, 4, 6528, { 74, 50, 69 } }, // 17 bars of 4/4
        { bass, 4, 6528, { 38 } },         // 17 bars of 4/4
        { lead, 3, 6624, { 74, 50, 69 } }, // 23 bars of 3/4
        { bass, 3, 6624, { 38 } },         // 23 bars of 3/4
        { lead, 0, 6516, { 74, 50, 69 } }, // no bars: the track's own length
    };

    for (auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "file " << c.file << ", bar of " << c.barQuarters << " quarters");

        // A 2-tick block starting 1.5 ticks before the loop end finds the opening notes 1 tick
        // (250 samples) in, and no other note-on.
        std::vector<int> notes;

        for (auto& event : play (c.file, c.loopTicks / 96.0 - 1.0 / 64.0, 500, c.barQuarters))
        {
            if ((event.bytes[0] & 0xF0) == 0x90)
            {
                EXPECT_EQ (event.sample, 250);
                notes.push_back (event.bytes[1]);
            }
        }

        EXPECT_EQ (notes, c.openingNotes);
    }
}

TEST_F (AlxMidiSequencerTest, missingFilesAndTracksAddNothing)
{
    const std::pair<int, int> missing[] = { { 2, 0 }, { -1, 0 }, { 0, 1 }, { 0, -1 } };

    for (auto [file, track] : missing)
        EXPECT_TRUE (play (file, 0.0, 512, 4, spq, track).empty()) << "file " << file << ", track " << track;
}

TEST_F (AlxMidiSequencerTest, blocksWithoutLengthOrTempoAddNothing)
{
    const auto nan = std::numeric_limits<double>::quiet_NaN();
    const auto inf = std::numeric_limits<double>::infinity();
    const std::tuple<double, int, double> blocks[] = { { 0.0, 0, spq }, { 0.0, 512, 0.0 }, { 0.0, 512, -spq },
                                                       { 0.0, 512, nan }, { nan, 512, spq }, { inf, 512, spq } };

    for (auto [position, numSamples, samplesPerQuarter] : blocks)
        EXPECT_TRUE (play (lead, position, numSamples, 4, samplesPerQuarter).empty())
            << position << " " << numSamples << " " << samplesPerQuarter;
}

TEST_F (AlxMidiSequencerTest, tracksWithNoLengthAddNothing)
{
    juce::MidiMessageSequence empty, allAtZero;
    allAtZero.addEvent (on (60, 100), 0.0);

    for (auto* track : { &empty, &allAtZero })
    {
        AlxMidiSequencer s;
        auto data = midiFileOf (*track);
        juce::MemoryInputStream in (data, false);
        ASSERT_TRUE (s.loadFile (in));

        for (int barQuarters : { 4, 0 })
        {
            juce::MidiBuffer out;
            s.play (0, 0, 0.0, 512, spq, barQuarters, out);
            EXPECT_TRUE (out.isEmpty());
        }
    }
}

TEST_F (AlxMidiSequencerTest, archivesLoadWholeOrNotAtAll)
{
    juce::MidiMessageSequence track;
    track.addEvent (on (60, 100), 0.0);
    track.addEvent (off (60), 96.0);
    const auto midi = midiFileOf (track);
    const juce::MemoryBlock text ("not a midi file", 15);

    struct Case
    {
        const char* what;
        juce::MemoryBlock archive;
        bool loads;
    };

    const Case cases[] = {
        { "two MIDI files", AlxZipArchive::build ({ { "a.mid", midi }, { "b.mid", midi } }), true },
        { "an entry that is not MIDI", AlxZipArchive::build ({ { "a.mid", midi }, { "b.txt", text }, { "c.mid", midi } }), false },
        { "no entries", AlxZipArchive::build ({}), false },
        { "no archive", text, false },
    };

    for (auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        const auto before = sequencer.getFiles().size();
        juce::MemoryInputStream in (c.archive, false);

        EXPECT_EQ (sequencer.loadZip (in), c.loads);
        EXPECT_EQ (sequencer.getFiles().size(), before + (c.loads ? 2u : 0u));
    }

    // The two files appended after the demo sequences play as sequences 2 and 3.
    EXPECT_EQ (play (3, 0.0, 512, 4), std::vector<Event> { at (0, on (60, 100)) });
}

TEST_F (AlxMidiSequencerTest, anArchiveEntryClaimingMoreThanItHoldsCostsOnlyWhatItHolds)
{
    if (! AlxAllocationCounter::isAvailable())
        GTEST_SKIP() << "a sanitizer owns the allocator in this build";

    juce::MidiMessageSequence track;
    track.addEvent (on (60, 100), 0.0);
    track.addEvent (off (60), 96.0);
    auto archive = AlxZipArchive::build ({ { "a.mid", midiFileOf (track) } });

    // The directory entry claims 100 MB once unpacked; the deflated file is a few dozen bytes.
    const char directoryEntry[] = { 'P', 'K', 1, 2 };
    auto* bytes = static_cast<char*> (archive.getData());
    auto* entry = std::search (bytes, bytes + archive.getSize(), directoryEntry, directoryEntry + 4);
    ASSERT_NE (entry, bytes + archive.getSize());
    const juce::uint32 claimed = juce::ByteOrder::swapIfBigEndian ((juce::uint32) 100000000);
    std::memcpy (entry + 24, &claimed, sizeof (claimed));

    juce::MemoryInputStream in (archive, false);
    AlxAllocationCounter counter;
    EXPECT_TRUE (sequencer.loadZip (in));
    EXPECT_LT (counter.getLargest(), (size_t) 1 << 20);
    EXPECT_EQ (play (2, 0.0, 512, 4), std::vector<Event> { at (0, on (60, 100)) });
}

TEST_F (AlxMidiSequencerTest, aStreamThatIsNotMidiLoadsNothing)
{
    juce::MemoryInputStream in ("MThd but not much else", 22, false);
    EXPECT_FALSE (sequencer.loadFile (in));
    EXPECT_EQ (sequencer.getFiles().size(), 2u);
}
