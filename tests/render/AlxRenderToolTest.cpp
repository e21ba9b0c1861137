#include "render/AlxRenderTool.h"
#include "render/AlxRenderer.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

namespace
{
    juce::File makeFolder (const char* name)
    {
        auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile (name, {}, false);
        folder.createDirectory();
        return folder;
    }

    juce::MidiMessage at (juce::MidiMessage message, double tick)
    {
        message.setTimeStamp (tick);
        return message;
    }

    class AlxRenderToolTest : public ::testing::Test
    {
    protected:
        ~AlxRenderToolTest() override
        {
            inputs.deleteRecursively();
            outputs.deleteRecursively();
        }

        struct Result
        {
            int status;
            std::string out, err;
        };

        // Runs the command with arguments separated by '|' (names may hold spaces); "in/" and
        // "out/" stand for the two folders.
        Result run (const juce::String& commandLine)
        {
            auto arguments = juce::StringArray::fromTokens (commandLine, "|", {});

            for (auto& argument : arguments)
                argument = argument.replace ("in/", inputs.getFullPathName() + "/").replace ("out/", outputs.getFullPathName() + "/");

            std::ostringstream out, err;
            const int status = AlxRenderTool::run (arguments, out, err);
            return { status, out.str(), err.str() };
        }

        void expectSuccess (const juce::String& commandLine)
        {
            const auto result = run (commandLine);
            EXPECT_EQ (result.status, AlxRenderTool::success) << commandLine << ": " << result.err;
        }

        // The names in the output folder, hidden files included.
        juce::StringArray outputNames() const
        {
            juce::StringArray names;

            for (const auto& file : outputs.findChildFiles (juce::File::findFilesAndDirectories, false))
                names.add (file.getFileName());

            names.sort (false);
            return names;
        }

        juce::String output (const char* name) const { return outputs.getChildFile (name).loadFileAsString(); }

        // A chord file: C major for one bar of 4/4, then F major, at 480 ticks per quarter note.
        void writeChordFile (const char* name)
        {
            juce::MidiMessageSequence track;

            for (const auto& [first, last, notes] : { std::tuple (0.0, 1920.0, std::vector { 60, 64, 67 }),
                                                      std::tuple (1920.0, 3840.0, std::vector { 65, 69, 72 }) })
                for (int note : notes)
                {
                    track.addEvent (at (juce::MidiMessage::noteOn (1, note, (juce::uint8) 100), first));
                    track.addEvent (at (juce::MidiMessage::noteOff (1, note), last));
                }

            juce::MidiFile file;
            file.setTicksPerQuarterNote (480);
            file.addTrack (track);
            juce::FileOutputStream stream (inputs.getChildFile (name));
            ASSERT_TRUE (file.writeTo (stream, 0));
        }

        const juce::File inputs = makeFolder ("plimsar-render-in");
        const juce::File outputs = makeFolder ("plimsar-render-out");
    };

    // Every output the command can write.
    const juce::String allOutputs = "|--midi-out|out/o.mid|--events-out|out/o.csv|--wav-out|out/o.wav"
                                    "|--save-bank|out/o.fxb|--save-preset|out/o.fxp";
}

TEST_F (AlxRenderToolTest, aProblemIsOneLineAndLeavesNoFileBehind)
{
    inputs.getChildFile ("garbage.bin").replaceWithText ("CcnK but nothing a preset file holds");
    writeChordFile ("chords.mid");
    expectSuccess ("--save-bank|in/bank.fxb|--save-preset|in/program.fxp");

    // What was in the output folder before stays as it was.
    outputs.getChildFile ("o.csv").replaceWithText ("keep");

    const auto in = inputs.getFullPathName() + "/";
    const std::pair<juce::String, juce::String> cases[] = {
        { "--frobnicate", "unknown option '--frobnicate' (see --help)" },
        { "--tempo|1000", "--tempo: 1000 is out of range (20 to 999)" },
        { "--bank|in/garbage.bin", in + "garbage.bin is not a bank preset file plimsar can load" },
        { "--bank|in/program.fxp", in + "program.fxp is not a bank preset file plimsar can load" },
        { "--preset|in/bank.fxb", in + "bank.fxb is not a program preset file plimsar can load" },
        { "--bank|in/missing.fxb", "cannot read " + in + "missing.fxb" },
        { "--preset|in/", "cannot read " + inputs.getFullPathName() },
        { "--input|in/garbage.bin", in + "garbage.bin is not a Standard MIDI File" },
        { "--program|no such program", "no program is named 'no such program'" },
        { "--track|2", "there is no built-in track 2 (0 to 1)" },
        { "--seconds|1e10", "the render is too long: at most 6382652533 seconds at 44100 Hz" },
        { "--seconds|1e300", "the render is too long: at most 6382652533 seconds at 44100 Hz" },
        { "--seconds|0.00001", "the render is shorter than one sample" },
        { "--ppq|32767|--tempo|999|--sample-rate|8000|--seconds|40000",
          "--midi-out: the render is too long for a MIDI file at 32767 ticks per quarter note" },
    };

    for (const auto& [arguments, message] : cases)
    {
        const auto result = run (arguments + allOutputs);
        EXPECT_EQ (result.status, AlxRenderTool::failure) << arguments;
        EXPECT_EQ (result.err, "plimsar-render: " + message.toStdString() + "\n") << arguments;
        EXPECT_EQ (result.out, "");
        EXPECT_EQ (outputNames(), juce::StringArray { "o.csv" }) << arguments;
        EXPECT_EQ (output ("o.csv"), "keep");
    }

    const auto noFolder = run ("--events-out|out/missing/o.csv");
    EXPECT_EQ (noFolder.err, "plimsar-render: cannot write " + outputs.getFullPathName() + "/missing/o.csv: no such folder\n");
    const auto intoFolder = run ("--wav-out|in/");
    EXPECT_EQ (intoFolder.err, "plimsar-render: cannot write " + inputs.getFullPathName() + ": it is a folder\n");
}

TEST_F (AlxRenderToolTest, savingAloneWritesOnlyThePresetFiles)
{
    expectSuccess ("--program|chord climbing arp|--save-bank|out/bank.fxb|--save-preset|out/arp.fxp");
    EXPECT_EQ (outputNames(), (juce::StringArray { "arp.fxp", "bank.fxb" }));

    // The files load back: the bank remembers the selection, the preset carries the name.
    AlxRenderer renderer;
    renderer.loadBank (outputs.getChildFile ("bank.fxb"));
    EXPECT_EQ (renderer.getCurrentProgramName(), "chord climbing arp");
    renderer.selectProgram ("0");
    renderer.loadPreset (outputs.getChildFile ("arp.fxp"));
    EXPECT_EQ (renderer.getCurrentProgramName(), "chord climbing arp");

    // Converting a bank in place keeps it byte for byte.
    const auto before = outputs.getChildFile ("bank.fxb").loadFileAsString();
    expectSuccess ("--bank|out/bank.fxb|--save-bank|out/bank.fxb");
    EXPECT_EQ (outputs.getChildFile ("bank.fxb").loadFileAsString(), before);
}

TEST_F (AlxRenderToolTest, programsAreChosenByIndexByNameOrByPresetFile)
{
    expectSuccess ("--program|12|--save-preset|in/arp.fxp");
    expectSuccess ("--program|12|--events-out|out/by-index.csv|--quiet");
    expectSuccess ("--program|chord climbing arp|--events-out|out/by-name.csv");
    expectSuccess ("--program|3|--preset|in/arp.fxp|--events-out|out/by-preset.csv");
    expectSuccess ("--program|0|--events-out|out/clean.csv");

    EXPECT_TRUE (output ("by-index.csv").isNotEmpty());
    EXPECT_EQ (output ("by-name.csv"), output ("by-index.csv"));
    EXPECT_EQ (output ("by-preset.csv"), output ("by-index.csv"));
    EXPECT_NE (output ("clean.csv"), output ("by-index.csv"));
}

TEST_F (AlxRenderToolTest, theLengthFollowsTempoSignatureAndSampleRate)
{
    expectSuccess ("--tempo|96|--time-signature|3/4|--bars|2|--wav-out|out/bars.wav|--midi-out|out/bars.mid|--ppq|480");
    expectSuccess ("--seconds|1.5|--sample-rate|48000|--block-size|100|--wav-out|out/seconds.wav");

    juce::WavAudioFormat wav;
    const std::tuple<const char*, juce::int64, double> cases[] = { { "bars.wav", 165375, 44100.0 }, { "seconds.wav", 72000, 48000.0 } };

    for (const auto& [name, frames, rate] : cases)
    {
        std::unique_ptr<juce::AudioFormatReader> reader (
            wav.createReaderFor (new juce::FileInputStream (outputs.getChildFile (name)), true));
        ASSERT_NE (reader, nullptr) << name;
        EXPECT_EQ (reader->lengthInSamples, frames) << name;
        EXPECT_EQ (reader->sampleRate, rate) << name;
        EXPECT_EQ (reader->numChannels, 2u) << name;
        EXPECT_EQ (reader->bitsPerSample, 32u) << name;
        EXPECT_TRUE (reader->usesFloatingPointData) << name;
    }

    // Two bars of 3/4 at 480 ticks per quarter note end at tick 2880.
    juce::MidiFile midi;
    juce::FileInputStream stream (outputs.getChildFile ("bars.mid"));
    ASSERT_TRUE (midi.readFrom (stream, false));
    ASSERT_EQ (midi.getNumTracks(), 1);
    EXPECT_EQ (midi.getTimeFormat(), 480);
    EXPECT_EQ (midi.getTrack (0)->getEndTime(), 2880.0);
    EXPECT_EQ (midi.getLastTimestamp(), 2880.0);
}

TEST_F (AlxRenderToolTest, anInputFilePlaysThroughTheHostInput)
{
    writeChordFile ("chords.mid");
    expectSuccess ("--input|in/chords.mid|--tempo|96|--bars|2|--midi-out|out/chords.mid|--events-out|out/chords.csv");

    // The clean start fires what the file holds: C major in the first bar, F major in the second.
    juce::MidiFile midi;
    juce::FileInputStream stream (outputs.getChildFile ("chords.mid"));
    ASSERT_TRUE (midi.readFrom (stream, false));
    std::map<int, std::set<int>> pitchesByBar;

    for (const auto* holder : *midi.getTrack (0))
        if (holder->message.isNoteOn())
            pitchesByBar[(int) holder->message.getTimeStamp() / (4 * 960)].insert (holder->message.getNoteNumber());

    EXPECT_EQ (pitchesByBar, (std::map<int, std::set<int>> { { 0, { 60, 64, 67 } }, { 1, { 65, 69, 72 } } }));
}

TEST_F (AlxRenderToolTest, helpPrintsTheOptions)
{
    const auto result = run ("--help");
    EXPECT_EQ (result.status, AlxRenderTool::success);
    EXPECT_EQ (result.err, "");

    for (const char* option : { "--bank", "--preset", "--program", "--input", "--track", "--tempo", "--time-signature",
                                "--sample-rate", "--block-size", "--bars", "--seconds", "--midi-out", "--ppq",
                                "--events-out", "--wav-out", "--save-bank", "--save-preset", "--quiet" })
        EXPECT_NE (result.out.find (option), std::string::npos) << option;

    EXPECT_EQ (outputNames(), juce::StringArray {});
}
