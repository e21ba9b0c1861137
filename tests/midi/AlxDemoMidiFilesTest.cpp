// The demo sequences the program carries, read back from the embedded archive and compared with
// the notes they are made of.

#include "AlxEmbeddedData.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
    struct Note
    {
        int start, end, number, velocity;
    };

    struct Demo
    {
        const char* entry;
        std::vector<juce::uint8> trackName; // the meta event, with its terminating zero byte
        int endOfTrack;
        std::vector<Note> notes;
    };

    const Demo demos[] = {
        { "01-lead.mid", { 0xFF, 0x03, 5, 'l', 'e', 'a', 'd', 0 }, 6516,
          { { 0, 768, 74, 109 }, { 0, 1176, 50, 101 }, { 0, 1548, 69, 101 }, { 768, 1536, 64, 113 },
            { 1176, 1920, 57, 119 }, { 1536, 2304, 65, 112 }, { 1536, 2304, 76, 112 }, { 1920, 2688, 53, 112 },
            { 2304, 3072, 69, 111 }, { 2304, 3072, 74, 111 }, { 2688, 4224, 50, 111 }, { 3072, 3840, 65, 112 },
            { 3072, 4224, 76, 109 }, { 3840, 5376, 74, 111 }, { 4224, 4620, 65, 113 }, { 4224, 4992, 57, 115 },
            { 4620, 5376, 76, 109 }, { 4992, 5760, 60, 112 }, { 5376, 6516, 67, 108 }, { 5376, 6516, 72, 108 },
            { 5760, 6516, 50, 110 }, { 6144, 6516, 69, 113 } } },
        { "02-bass.mid", { 0xFF, 0x03, 5, 'b', 'a', 's', 's', 0 }, 6408,
          { { 0, 1152, 38, 110 }, { 1152, 1920, 45, 119 }, { 1920, 2688, 41, 112 }, { 2688, 4224, 38, 109 },
            { 4224, 4992, 45, 115 }, { 4992, 5760, 48, 112 }, { 5760, 6408, 38, 110 } } },
    };

    using Event = std::pair<int, std::vector<juce::uint8>>; // tick, bytes

    // The track as it should be: name and 4/4 at tick 0, then the notes on channel 1 with
    // note-offs (0x80, velocity 64) before note-ons at equal ticks, then the end of track.
    std::vector<Event> expectedEvents (const Demo& demo)
    {
        std::vector<Event> offs, ons;

        for (auto& n : demo.notes)
        {
            offs.push_back ({ n.end, { 0x80, (juce::uint8) n.number, 64 } });
            ons.push_back ({ n.start, { 0x90, (juce::uint8) n.number, (juce::uint8) n.velocity } });
        }

        std::vector<Event> events { { 0, demo.trackName }, { 0, { 0xFF, 0x58, 4, 4, 2, 0x24, 8 } } };
        const auto byTick = [] (const Event& a, const Event& b) { return a.first < b.first; };
        std::stable_sort (offs.begin(), offs.end(), byTick);
        std::stable_sort (ons.begin(), ons.end(), byTick);
        std::merge (offs.begin(), offs.end(), ons.begin(), ons.end(), std::back_inserter (events), byTick);
        events.push_back ({ demo.endOfTrack, { 0xFF, 0x2F, 0 } });
        return events;
    }
}

TEST (AlxDemoMidiFiles, theArchiveHoldsTheTwoSequencesAsWritten)
{
    juce::MemoryInputStream archiveStream (AlxEmbeddedData::demoMidiZip, (size_t) AlxEmbeddedData::demoMidiZipSize, false);
    juce::ZipFile archive (archiveStream);
    ASSERT_EQ (archive.getNumEntries(), 2);

    for (int i = 0; i < 2; ++i)
    {
        const auto& demo = demos[i];
        SCOPED_TRACE (demo.entry);
        EXPECT_EQ (archive.getEntry (i)->filename, demo.entry);

        const std::unique_ptr<juce::InputStream> entry (archive.createStreamForEntry (i));
        ASSERT_NE (entry, nullptr);
        juce::MidiFile file;
        int format = -1;
        ASSERT_TRUE (file.readFrom (*entry, true, &format));

        EXPECT_EQ (format, 0);
        EXPECT_EQ (file.getTimeFormat(), 96);
        ASSERT_EQ (file.getNumTracks(), 1);

        std::vector<Event> events;

        for (auto* holder : *file.getTrack (0))
        {
            const auto& m = holder->message;
            events.push_back ({ (int) m.getTimeStamp(), { m.getRawData(), m.getRawData() + m.getRawDataSize() } });
        }

        EXPECT_EQ (events, expectedEvents (demo));
    }
}
