#include "render/AlxEventCsvWriter.h"
#include "render/AlxMidiFileWriter.h"
#include "render/AlxRenderProgress.h"

#include <gtest/gtest.h>

#include <sstream>

namespace
{
    using Lines = std::vector<std::string>;

    // "tick: bytes" for every event of every track, as JUCE reads the file back.
    Lines readBack (const juce::MemoryBlock& data, int& fileType, int& ticksPerQuarter, int& numTracks)
    {
        juce::MidiFile file;
        juce::MemoryInputStream in (data, false);
        EXPECT_TRUE (file.readFrom (in, false, &fileType));
        ticksPerQuarter = file.getTimeFormat();
        numTracks = file.getNumTracks();

        Lines lines;

        for (int t = 0; t < file.getNumTracks(); ++t)
            for (const auto* holder : *file.getTrack (t))
                lines.push_back (juce::String (holder->message.getTimeStamp(), 0).toStdString() + ": "
                                 + juce::String::toHexString (holder->message.getRawData(), holder->message.getRawDataSize()).toStdString());

        return lines;
    }

    juce::MidiMessage sysex() { return juce::MidiMessage::createSysExMessage ("\x7e\x7f", 2); }
}

TEST (AlxMidiFileWriter, writesAFormatZeroFileWithTempoSignatureAndCompleteNotes)
{
    // 96 bpm at 48000 Hz: 30000 samples per quarter note, 480 ticks.
    juce::MemoryOutputStream out;
    AlxMidiFileWriter writer (out, { 48000.0, 96.0, 7, 8, 480 }, "arp");

    EXPECT_TRUE (writer.add (0, juce::MidiMessage::noteOn (3, 60, (juce::uint8) 100)));
    EXPECT_TRUE (writer.add (100, juce::MidiMessage::midiClock()));
    EXPECT_TRUE (writer.add (200, sysex()));
    EXPECT_TRUE (writer.add (15000, juce::MidiMessage::noteOff (3, 60)));
    EXPECT_TRUE (writer.add (30000, juce::MidiMessage::noteOn (3, 62, (juce::uint8) 90)));
    EXPECT_TRUE (writer.add (45000, juce::MidiMessage::noteOn (2, 64, (juce::uint8) 80)));
    EXPECT_TRUE (writer.add (50000, juce::MidiMessage::allNotesOff (2)));
    EXPECT_TRUE (writer.add (60000, juce::MidiMessage::noteOn (1, 67, (juce::uint8) 0)));
    ASSERT_TRUE (writer.finish (90000));

    int fileType = -1, ticks = 0, tracks = 0;
    const auto lines = readBack (out.getMemoryBlock(), fileType, ticks, tracks);
    EXPECT_EQ (fileType, 0);
    EXPECT_EQ (ticks, 480);
    EXPECT_EQ (tracks, 1);

    // The clock has no place in a file; 60000000 / 96 = 625000 us per quarter note; 7/8 with 12
    // MIDI clocks per eighth. The note still sounding at the end (62 on channel 3) is ended
    // there; the one All Notes Off ended is not, nor the one whose note-on had velocity 0.
    EXPECT_EQ (lines, (Lines {
        "0: ff 03 03 61 72 70",
        "0: ff 51 03 09 89 68",
        "0: ff 58 04 07 03 0c 08",
        "0: 92 3c 64",
        "3: f0 7e 7f f7",
        "240: 82 3c 00",
        "480: 92 3e 5a",
        "720: 91 40 50",
        "800: b1 7b 00",
        "960: 90 43 00",
        "1440: 82 3e 00",
        "1440: ff 2f 00",
    }));
}

TEST (AlxMidiFileWriter, convertsSamplesToTheNearestTick)
{
    // 120 bpm at 44100 Hz: 22050 samples per quarter note.
    const AlxMidiFileWriter::Format format { 44100.0, 120.0, 4, 4, 960 };

    const std::pair<juce::int64, juce::int64> cases[] = {
        { 0, 0 }, { 11, 0 }, { 12, 1 }, { 22050, 960 }, { 19845, 864 }, { 2147483000LL, 93495859 },
    };

    for (const auto& [sample, tick] : cases)
        EXPECT_EQ (AlxMidiFileWriter::tickOf (format, sample), tick) << sample;
}

TEST (AlxMidiFileWriter, writesTheBytesJuceWritesForTheSameTrack)
{
    // Running status over notes and controllers of one channel, broken by other channels, a
    // system exclusive message and meta events; delta times of one to four bytes; no track name.
    const AlxMidiFileWriter::Format format { 44100.0, 137.0, 3, 4, 960 };
    const std::pair<juce::int64, juce::MidiMessage> events[] = {
        { 0, juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100) },
        { 0, juce::MidiMessage::noteOn (1, 64, (juce::uint8) 90) },
        { 5, juce::MidiMessage::noteOn (2, 67, (juce::uint8) 80) },
        { 90, juce::MidiMessage::controllerEvent (2, 7, 100) },
        { 900, juce::MidiMessage::controllerEvent (2, 10, 64) },
        { 20000, sysex() },
        { 20000, juce::MidiMessage::noteOff (1, 60) },
        { 40000000, juce::MidiMessage::noteOff (1, 64) },
        { 40000100, juce::MidiMessage::pitchWheel (16, 9000) },
    };

    juce::MemoryOutputStream ours;
    AlxMidiFileWriter writer (ours, format, {});
    juce::MidiMessageSequence track;
    track.addEvent (juce::MidiMessage::tempoMetaEvent (437956));
    // 3/4 with 24 MIDI clocks per quarter note.
    const juce::uint8 signature[] = { 0xff, 0x58, 0x04, 0x03, 0x02, 0x18, 0x08 };
    track.addEvent (juce::MidiMessage (signature, 7, 0.0));

    for (const auto& [position, message] : events)
    {
        EXPECT_TRUE (writer.add (position, message));
        track.addEvent (message, (double) AlxMidiFileWriter::tickOf (format, position));
    }

    const auto endTick = (double) AlxMidiFileWriter::tickOf (format, 50000000);
    ASSERT_TRUE (writer.finish (50000000));
    track.addEvent (juce::MidiMessage::noteOff (2, 67), endTick);
    track.addEvent (juce::MidiMessage::endOfTrack(), endTick);

    juce::MidiFile file;
    file.setTicksPerQuarterNote (960);
    file.addTrack (track);
    juce::MemoryOutputStream theirs;
    ASSERT_TRUE (file.writeTo (theirs, 0));

    EXPECT_EQ (ours.getMemoryBlock(), theirs.getMemoryBlock());
}

TEST (AlxMidiFileWriter, reportsAFailedStream)
{
    juce::FileOutputStream broken (juce::File ("/proc/no-such-folder/out.mid"));
    ASSERT_FALSE (broken.openedOk());

    AlxMidiFileWriter writer (broken, { 44100.0, 120.0, 4, 4, 960 }, "arp");
    EXPECT_FALSE (writer.add (0, juce::MidiMessage::noteOn (1, 60, (juce::uint8) 95)));
    EXPECT_FALSE (writer.finish (100));
}

TEST (AlxEventCsvWriter, writesOneLinePerEventWithTheBytesInHex)
{
    EXPECT_EQ (AlxEventCsvWriter::lineOf (24000, juce::MidiMessage::noteOn (1, 60, (juce::uint8) 95)), "24000,90 3c 5f\n");
    EXPECT_EQ (AlxEventCsvWriter::lineOf (0, juce::MidiMessage::allNotesOff (16)), "0,bf 7b 00\n");
    EXPECT_EQ (AlxEventCsvWriter::lineOf (5000000000LL, sysex()), "5000000000,f0 7e 7f f7\n");

    juce::MemoryOutputStream out;
    AlxEventCsvWriter writer (out);
    EXPECT_TRUE (writer.add (7, juce::MidiMessage::noteOff (2, 61)));
    EXPECT_TRUE (writer.add (9, juce::MidiMessage::midiClock()));
    EXPECT_EQ (out.toString(), "7,81 3d 00\n9,f8\n");
}

TEST (AlxEventCsvWriter, reportsAFailedStream)
{
    // A stream over a file that cannot be opened refuses every write.
    juce::FileOutputStream broken (juce::File ("/proc/no-such-folder/events.csv"));
    ASSERT_FALSE (broken.openedOk());

    AlxEventCsvWriter writer (broken);
    EXPECT_FALSE (writer.add (0, juce::MidiMessage::noteOn (1, 60, (juce::uint8) 95)));
    EXPECT_FALSE (writer.add (1, juce::MidiMessage::noteOff (1, 60)));
}

TEST (AlxRenderProgress, staysSilentForTheFirstSecondThenShowsAFewTimesASecond)
{
    EXPECT_EQ (AlxRenderProgress::lineOf (13230000, 26460000, 44100.0), "rendering: 50% (5:00 of 10:00)");

    std::ostringstream quickStream;
    AlxRenderProgress quick (quickStream, 44100.0);
    quick.update (100, 200, 10.0);
    quick.update (200, 200, 900.0);
    EXPECT_EQ (quickStream.str(), "");

    std::ostringstream slowStream;
    AlxRenderProgress slow (slowStream, 1.0);
    slow.update (10, 100, 1000.0);
    slow.update (20, 100, 1100.0);   // too soon after the last
    slow.update (30, 100, 1250.0);
    slow.update (100, 100, 1300.0);  // the end is always shown, and ends the line
    EXPECT_EQ (slowStream.str(), "\rrendering: 10% (0:10 of 1:40)\rrendering: 30% (0:30 of 1:40)\rrendering: 100% (1:40 of 1:40)\n");
}
