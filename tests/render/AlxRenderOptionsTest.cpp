#include "render/AlxRenderError.h"
#include "render/AlxRenderOptions.h"

#include <gtest/gtest.h>

namespace
{
    juce::StringArray split (const char* commandLine)
    {
        auto arguments = juce::StringArray::fromTokens (commandLine, " ", "\"");

        for (auto& argument : arguments)
            argument = argument.unquoted();

        return arguments;
    }

    juce::File here (const char* name)
    {
        return juce::File::getCurrentWorkingDirectory().getChildFile (name);
    }

    // The message of the error the arguments raise, or "" when they parse.
    std::string errorOf (const char* commandLine)
    {
        try
        {
            AlxRenderOptions::parse (split (commandLine));
            return {};
        }
        catch (const AlxRenderError& error)
        {
            return error.what();
        }
    }
}

TEST (AlxRenderOptions, defaultsLeaveTheStateToDecide)
{
    const auto options = AlxRenderOptions::parse (split ("--midi-out out.mid"));

    EXPECT_EQ (options.midiOut, here ("out.mid"));
    EXPECT_FALSE (options.program);
    EXPECT_FALSE (options.tempo);
    EXPECT_FALSE (options.numerator);
    EXPECT_FALSE (options.track);
    EXPECT_FALSE (options.bars);
    EXPECT_FALSE (options.seconds);
    EXPECT_EQ (options.sampleRate, 44100);
    EXPECT_EQ (options.blockSize, 512);
    EXPECT_EQ (options.ppq, 960);
    EXPECT_FALSE (options.quiet);
    EXPECT_TRUE (options.rendersAnything());
}

TEST (AlxRenderOptions, readsEveryOptionInBothForms)
{
    const auto options = AlxRenderOptions::parse (split (
        "--bank a.fxb --preset=b.fxp --program \"chord climbing arp\" --input c.mid --tempo 96.5 "
        "--time-signature=7/8 --sample-rate 48000 --block-size=64 --seconds 2.5 --midi-out o.mid --ppq 480 "
        "--events-out o.csv --wav-out /tmp/o.wav --save-bank s.fxb --save-preset s.fxp --quiet"));

    EXPECT_EQ (options.bankFile, here ("a.fxb"));
    EXPECT_EQ (options.presetFile, here ("b.fxp"));
    EXPECT_EQ (options.program, juce::String ("chord climbing arp"));
    EXPECT_EQ (options.inputFile, here ("c.mid"));
    EXPECT_EQ (options.tempo, 96.5);
    EXPECT_EQ (options.numerator, 7);
    EXPECT_EQ (options.denominator, 8);
    EXPECT_EQ (options.sampleRate, 48000);
    EXPECT_EQ (options.blockSize, 64);
    EXPECT_EQ (options.seconds, 2.5);
    EXPECT_EQ (options.ppq, 480);
    EXPECT_EQ (options.eventsOut, here ("o.csv"));
    EXPECT_EQ (options.wavOut, juce::File ("/tmp/o.wav"));
    EXPECT_EQ (options.saveBank, here ("s.fxb"));
    EXPECT_EQ (options.savePreset, here ("s.fxp"));
    EXPECT_TRUE (options.quiet);

    const auto withTrack = AlxRenderOptions::parse (split ("--track 1 --bars 3 --program 12 --events-out e.csv"));
    EXPECT_EQ (withTrack.track, 1);
    EXPECT_EQ (withTrack.bars, 3);
    EXPECT_EQ (withTrack.program, juce::String ("12"));
}

TEST (AlxRenderOptions, savingAloneIsWorkButRendersNothing)
{
    const auto options = AlxRenderOptions::parse (split ("--bank old.fxb --save-bank new.fxb"));
    EXPECT_FALSE (options.rendersAnything());
    EXPECT_EQ (options.saveBank, here ("new.fxb"));

    EXPECT_TRUE (AlxRenderOptions::parse (split ("--help")).help);
    EXPECT_TRUE (AlxRenderOptions::parse (split ("-h")).help);
}

TEST (AlxRenderOptions, namesTheFirstProblem)
{
    const std::pair<const char*, const char*> cases[] = {
        { "--midi-out o.mid --frobnicate", "unknown option '--frobnicate' (see --help)" },
        { "--midi-out o.mid stray", "unexpected argument 'stray' (see --help)" },
        { "--midi-out", "option --midi-out needs a value" },
        { "--midi-out o.mid --tempo", "option --tempo needs a value" },
        { "--midi-out o.mid --tempo fast", "--tempo: 'fast' is not a number" },
        { "--midi-out o.mid --tempo inf", "--tempo: 'inf' is not a number" },
        { "--midi-out o.mid --tempo 0x60", "--tempo: '0x60' is not a number" },
        { "--midi-out o.mid --tempo 1000", "--tempo: 1000 is out of range (20 to 999)" },
        { "--midi-out o.mid --tempo 19.9", "--tempo: 19.9 is out of range (20 to 999)" },
        { "--midi-out o.mid --program 128", "--program: 128 is out of range (0 to 127)" },
        { "--midi-out o.mid --program=", "--program: the program name is empty" },
        { "--midi-out o.mid --time-signature 7", "--time-signature: '7' is not of the form N/D, e.g. 3/4" },
        { "--midi-out o.mid --time-signature 7/6", "--time-signature: the denominator 6 is not one of 1, 2, 4, 8, 16" },
        { "--midi-out o.mid --time-signature 3/0", "--time-signature: the denominator 0 is not one of 1, 2, 4, 8, 16" },
        { "--midi-out o.mid --time-signature 3/-4", "--time-signature: the denominator -4 is not one of 1, 2, 4, 8, 16" },
        { "--midi-out o.mid --time-signature 0/4", "--time-signature: 0 is out of range (1 to 99)" },
        { "--midi-out o.mid --time-signature 3/x", "--time-signature: 'x' is not a whole number" },
        { "--midi-out o.mid --sample-rate 44100.5", "--sample-rate: '44100.5' is not a whole number" },
        { "--midi-out o.mid --sample-rate 4000", "--sample-rate: 4000 is out of range (8000 to 384000)" },
        { "--midi-out o.mid --block-size 0", "--block-size: 0 is out of range (1 to 16384)" },
        { "--midi-out o.mid --block-size 99999999999", "--block-size: 99999999999 is out of range" },
        { "--midi-out o.mid --bars 0", "--bars: 0 is out of range (at least 1)" },
        { "--midi-out o.mid --bars -2", "--bars: -2 is out of range (at least 1)" },
        { "--midi-out o.mid --seconds 0", "--seconds: 0 is out of range (more than 0)" },
        { "--midi-out o.mid --ppq 40000", "--ppq: 40000 is out of range (1 to 32767)" },
        { "--midi-out o.mid --track -1", "--track: -1 is out of range (at least 0)" },
        { "--midi-out o.mid --bank=", "--bank: the file name is empty" },
        { "--midi-out o.mid --bars 2 --seconds 3", "--bars and --seconds cannot be used together" },
        { "--midi-out o.mid --track 1 --input in.mid", "--track chooses a built-in track and cannot be used with --input" },
        { "--tempo 96", "nothing to do: give --midi-out, --events-out, --wav-out, --save-bank or --save-preset" },
    };

    for (const auto& [commandLine, message] : cases)
        EXPECT_EQ (errorOf (commandLine), message) << commandLine;
}

TEST (AlxRenderOptions, refusesTwoOutputsIntoOneFile)
{
    EXPECT_EQ (errorOf ("--midi-out x --save-bank ./x"),
               "--midi-out and --save-bank name the same file " + here ("x").getFullPathName().toStdString());

    // A bank or program may be converted in place; no other output may replace an input.
    EXPECT_EQ (errorOf ("--bank x.fxb --save-bank x.fxb"), "");
    EXPECT_EQ (errorOf ("--preset x.fxp --save-preset x.fxp"), "");
    EXPECT_EQ (errorOf ("--input x.mid --midi-out x.mid"),
               "--midi-out and --input name the same file " + here ("x.mid").getFullPathName().toStdString());
    EXPECT_EQ (errorOf ("--bank x.fxb --events-out x.fxb"),
               "--events-out and --bank name the same file " + here ("x.fxb").getFullPathName().toStdString());
    EXPECT_EQ (errorOf ("--preset x.fxp --save-bank x.fxp"),
               "--save-bank and --preset name the same file " + here ("x.fxp").getFullPathName().toStdString());
}

TEST (AlxRenderOptions, refusesAnOutputThatNamesTheInputThroughALink)
{
    const juce::TemporaryFile folder;
    ASSERT_TRUE (folder.getFile().createDirectory());
    const auto input = folder.getFile().getChildFile ("song.mid");
    const auto link = folder.getFile().getChildFile ("link.mid");
    ASSERT_TRUE (input.replaceWithText ("MThd"));
    ASSERT_TRUE (input.createSymbolicLink (link, true));

    for (const auto& [in, out] : { std::pair (input, link), std::pair (link, input) })
    {
        std::string error;

        try
        {
            AlxRenderOptions::parse ({ "--input", in.getFullPathName(), "--wav-out", out.getFullPathName() });
        }
        catch (const AlxRenderError& e)
        {
            error = e.what();
        }

        EXPECT_EQ (error, "--wav-out and --input name the same file " + out.getFullPathName().toStdString());
    }

    folder.getFile().deleteRecursively();
}
