#include "render/AlxRenderError.h"
#include "render/AlxRenderInput.h"

#include <gtest/gtest.h>

namespace
{
    using Lines = std::vector<std::string>;

    class AlxRenderInputTest : public ::testing::Test
    {
    protected:
        ~AlxRenderInputTest() override { folder.deleteRecursively(); }

        juce::File write (const juce::MidiFile& midiFile, const char* name)
        {
            auto file = folder.getChildFile (name);
            juce::FileOutputStream out (file);
            EXPECT_TRUE (midiFile.writeTo (out, 1));
            return file;
        }

        std::string errorOf (const juce::File& file)
        {
            try
            {
                AlxRenderInput::fromFile (file);
                return {};
            }
            catch (const AlxRenderError& error)
            {
                return error.what();
            }
        }

        const juce::File folder = [] {
            auto f = juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("plimsar-render-input", {}, false);
            f.createDirectory();
            return f;
        }();
    };

    juce::MidiMessage at (juce::MidiMessage message, double tick)
    {
        message.setTimeStamp (tick);
        return message;
    }

    // "block start + position: bytes" of every event the blocks receive.
    Lines play (AlxRenderInput& input, double samplesPerQuarter, int blockSize, int numBlocks)
    {
        Lines lines;
        input.start (samplesPerQuarter);

        for (int b = 0; b < numBlocks; ++b)
        {
            juce::MidiBuffer buffer;
            input.fillBlock (buffer, (juce::int64) b * blockSize, blockSize);

            for (const auto event : buffer)
                lines.push_back (std::to_string (b * blockSize) + "+" + std::to_string (event.samplePosition) + ": "
                                 + juce::String::toHexString (event.data, event.numBytes).toStdString());
        }

        return lines;
    }
}

TEST_F (AlxRenderInputTest, readsTicksAsQuarterNotesAndPlaysAllTracksAtTheRenderTempo)
{
    // 480 ticks per quarter note; the file's tempo of 60 bpm plays no part.
    juce::MidiFile midiFile;
    midiFile.setTicksPerQuarterNote (480);

    juce::MidiMessageSequence first, second;
    first.addEvent (at (juce::MidiMessage::tempoMetaEvent (1000000), 0));
    first.addEvent (at (juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100), 960));
    first.addEvent (at (juce::MidiMessage::noteOff (1, 60), 1440));
    second.addEvent (at (juce::MidiMessage::textMetaEvent (3, "bass"), 0));
    second.addEvent (at (juce::MidiMessage::noteOn (2, 36, (juce::uint8) 90), 240));
    second.addEvent (at (juce::MidiMessage::noteOff (2, 36), 960));
    midiFile.addTrack (first);
    midiFile.addTrack (second);

    auto input = AlxRenderInput::fromFile (write (midiFile, "chords.mid"));
    EXPECT_EQ (input.getNumEvents(), 4);

    // 24000 samples per quarter note: tick 240 is sample 12000, tick 960 is 48000, 1440 is 72000.
    EXPECT_EQ (play (input, 24000.0, 10000, 8), (Lines {
        "10000+2000: 91 24 5a",
        "40000+8000: 90 3c 64",
        "40000+8000: 81 24 00",
        "70000+2000: 80 3c 00",
    }));

    // The same file at another tempo, from the start again.
    EXPECT_EQ (play (input, 1000.0, 1000, 2), (Lines { "0+500: 91 24 5a" }));
}

TEST_F (AlxRenderInputTest, refusesWhatItCannotPlay)
{
    juce::MidiMessageSequence track;
    track.addEvent (juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100));
    juce::MidiFile noDivision;
    noDivision.setTicksPerQuarterNote (0);
    noDivision.addTrack (track);
    const auto noDivisionFile = write (noDivision, "no-division.mid");

    // 25 frames per second of 40 ticks: the division's high byte is -25 (0xe7). The library's
    // setSmpteTimeFormat shifts the negative frame rate, which is undefined, so the header's
    // division (bytes 12 and 13) is written here.
    juce::MemoryBlock smpteBytes;
    noDivisionFile.loadFileAsData (smpteBytes);
    smpteBytes[12] = (char) 0xe7;
    smpteBytes[13] = 40;
    const auto smpteFile = folder.getChildFile ("smpte.mid");
    smpteFile.replaceWithData (smpteBytes.getData(), smpteBytes.getSize());

    const auto textFile = folder.getChildFile ("notes.mid");
    textFile.replaceWithText ("C E G, not a MIDI file");

    const auto missing = folder.getChildFile ("missing.mid");

    EXPECT_EQ (errorOf (smpteFile), smpteFile.getFullPathName().toStdString()
                                        + " counts time in SMPTE frames; only files in ticks per quarter note can be played");
    EXPECT_EQ (errorOf (noDivisionFile), noDivisionFile.getFullPathName().toStdString() + " has no ticks per quarter note");
    EXPECT_EQ (errorOf (textFile), textFile.getFullPathName().toStdString() + " is not a Standard MIDI File");
    EXPECT_EQ (errorOf (missing), "cannot read " + missing.getFullPathName().toStdString());
    EXPECT_EQ (errorOf (folder), "cannot read " + folder.getFullPathName().toStdString());
}
