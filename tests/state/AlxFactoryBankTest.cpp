#include "core/AlxProgramModule.h"
#include "framework/AlxMessageCode.h"
#include "support/AlxNotePath.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace
{
    // Where each key of the factory program table lives: module id and parameter id.
    const std::map<juce::String, std::pair<int, int>>& tableKeys()
    {
        static const std::map<juce::String, std::pair<int, int>> keys = []
        {
            std::map<juce::String, std::pair<int, int>> k {
                { "step", { 4000, 0 } }, { "~step", { 4000, 1 } }, { "velocity", { 4000, 2 } }, { "~velocity", { 4000, 3 } },
                { "gate", { 4000, 4 } }, { "~gate", { 4000, 5 } }, { "beats", { 5000, 0 } }, { "~beats", { 5000, 1 } },
                { "groove", { 5000, 2 } }, { "~groove", { 5000, 3 } }, { "width", { 5000, 4 } }, { "~width", { 5000, 5 } },
                { "doubling", { 6000, 0 } }, { "~doubling", { 6000, 1 } }, { "arp", { 6000, 2 } }, { "~arp", { 6000, 3 } },
                { "gain", { 8000, 0 } } };
            const char* lfoKeys[] = { "shape", "frequency", "per", "level", "phase", "dc", "pw", "noise" };

            for (int i = 0; i < 8; ++i)
            {
                k["L1." + juce::String (lfoKeys[i])] = { 700100, i };
                k["L2." + juce::String (lfoKeys[i])] = { 700101, i };
            }

            return k;
        }();
        return keys;
    }

    struct TableRow
    {
        int index;
        juce::String name;
        std::map<juce::String, juce::String> settings;
    };

    // The readable table the factory bank is built from.
    std::vector<TableRow> readTable()
    {
        std::vector<TableRow> rows;
        juce::StringArray lines;
        juce::File (PLIMSAR_SOURCE_DIR "/resources/factory/programs.txt").readLines (lines);

        for (auto& line : lines)
        {
            if (line.trim().isEmpty() || line.trim().startsWith ("#"))
                continue;

            juce::StringArray cells;
            cells.addTokens (line, "|", {});
            TableRow row { cells[0].trim().getIntValue(), cells[1].trim(), {} };
            juce::StringArray settings;
            settings.addTokens (cells[2], ",", {});

            for (auto& setting : settings)
            {
                if (setting.trim().isEmpty())
                    continue;

                if (setting.contains ("~"))
                    row.settings["~" + setting.upToFirstOccurrenceOf ("~", false, false).trim()] = setting.fromFirstOccurrenceOf ("~", false, false).trim();
                else
                    row.settings[setting.upToFirstOccurrenceOf ("=", false, false).trim()] = setting.fromFirstOccurrenceOf ("=", false, false).trim();
            }

            rows.push_back (row);
        }

        return rows;
    }

    juce::String storedText (AlxTestHost& host, int program, const juce::String& key)
    {
        const auto [moduleId, parameterId] = tableKeys().at (key);
        return host.getContainer().findModule (moduleId)->getProgramSet (program)->findById (parameterId)->getValue()->getText();
    }

    AlxTestHost& sharedHost()
    {
        static AlxTestHost host (48000.0);
        return host;
    }
}

TEST (AlxFactoryBank, namesItsProgramsAndStartsOnTheCleanStart)
{
    auto& processor = sharedHost().getProcessor();
    const juce::StringArray named { "clean start", "velocity gate", "velocity gate speed", "random gate", "square birhythm",
        "birhythm glitchy", "rolling acceleration", "glitchy acceleration", "even beat groove", "odd  beat groove",
        "tour of groove", "double modulation", "chord climbing arp", "arp over the hill", "slow chord variations",
        "slow pause arp", "gated arp", "mod rhythm arp", "ER walker", "ER joyful", "WT rhythm", "WT funky rhythm",
        "WT polka", "WT fast gate", "WT fast gate oct", "WT fast gate oct arp", "WT fast gate +5th", "WT fast gate -4th",
        "WT fast gate dbl mod", "WT fast gate dbl alt", "rhythm arc 2bar", "rhythm arc faster", "rhythm arc smoother",
        "rhythm arc 4bar", "rhythm arc stutter", "rhythm arc 12bar", "rhythm arc dbl", "rhythm arc arp", "double arc",
        "double arc smoother", "double arc noisy", "arp alternation", "arp sparse", "arp build-up", "doubling build-up",
        "arp light", "arp seeking", "sustained doubling", "calm doubling arp", "even calmer", "coming to rest" };

    for (int i = 0; i < 128; ++i)
        EXPECT_EQ (processor.getProgramName (i), i < named.size() ? named[i] : "Untitled " + juce::String (i)) << i;

    EXPECT_EQ (processor.getCurrentProgram(), 0);
    auto& root = sharedHost().getRoot();
    EXPECT_EQ (root.getPropertySet()->getIntValue ("standalone"), 1);

    // Program 0 stores these value ids, module by module.
    const std::pair<int, std::vector<int>> programZero[] = {
        { 4000, { 4, 0, 99, 0, 90, 0 } }, { 5000, { 0, 0, 50, 0, 100, 0 } }, { 6000, { 0, 0, 16, 0 } },
        { 700100, { 0, 31, 0, 100, 0, 50, 50, 0 } }, { 700101, { 0, 31, 0, 100, 0, 50, 50, 0 } }, { 8000, { 69 } } };

    for (auto& [moduleId, ids] : programZero)
        for (size_t p = 0; p < ids.size(); ++p)
            EXPECT_EQ (sharedHost().getContainer().findModule (moduleId)->getProgramSet (0)->findById ((int) p)->getValue()->getId(), ids[p])
                << moduleId << "/" << p;

    EXPECT_EQ (storedText (sharedHost(), 51, "gain"), "0.0 dB");
    EXPECT_EQ (storedText (sharedHost(), 127, "step"), "1/4");
}

// The program table is read by a build tool of its own; every text it names must be what the
// program loaded, and what a row leaves out must be program 0's.
TEST (AlxFactoryBank, holdsExactlyWhatItsTableSays)
{
    auto& host = sharedHost();
    const auto rows = readTable();
    ASSERT_EQ (rows.size(), 51u);

    for (auto& row : rows)
    {
        EXPECT_EQ (host.getProcessor().getProgramName (row.index), row.name);

        for (auto& [key, location] : tableKeys())
        {
            auto it = row.settings.find (key);
            const auto expected = it != row.settings.end() ? it->second : storedText (host, 0, key);
            EXPECT_EQ (storedText (host, row.index, key), expected) << row.name << " " << key;
        }
    }
}

namespace
{
    // What a program promises by its name, checked on what it plays.
    enum Promise
    {
        velocityVaries = 1,
        lengthVaries = 2,
        stepVaries = 4,
        grooveMovesBeats = 8,
        notesChangeOverTime = 16,
        addsDoubledNotes = 32,
        slowsDown = 64
    };

    struct Firing
    {
        juce::int64 sample;
        std::set<int> notes;
        std::set<int> velocities;
        std::set<juce::int64> lengths;
    };

    // The notes of a few bars of a program, grouped by firing.
    std::vector<Firing> play (int program, int bars)
    {
        AlxTestHost host (48000.0);
        AlxNotePath path (host);
        host.getProcessor().setCurrentProgram (program);
        path.setTempo (120.0);
        path.hold ({ 48, 55, 60, 64 });
        path.start();

        const auto notes = path.run (bars * 96000, 512);
        std::map<juce::int64, Firing> firings;
        std::map<int, juce::int64> sounding;

        for (auto& n : notes)
        {
            if (n.velocity > 0)
            {
                auto& f = firings[n.sample];
                f.sample = n.sample;
                f.notes.insert (n.note);
                f.velocities.insert (n.velocity);
                sounding[n.note] = n.sample;
            }
            else if (sounding.count (n.note) > 0)
            {
                firings[sounding[n.note]].lengths.insert (n.sample - sounding[n.note]);
            }
        }

        std::vector<Firing> result;

        for (auto& [sample, firing] : firings)
            result.push_back (firing);

        return result;
    }

    struct ProgramCase
    {
        int program;
        int promises;
        int bars = 4;
    };

    class FactoryPrograms : public ::testing::TestWithParam<ProgramCase> {};

    const ProgramCase programCases[] = {
        { 0, 0 }, { 1, velocityVaries }, { 2, velocityVaries }, { 3, lengthVaries }, { 4, stepVaries },
        { 5, stepVaries }, { 6, stepVaries }, { 7, stepVaries | velocityVaries },
        { 8, grooveMovesBeats }, { 9, grooveMovesBeats }, { 10, grooveMovesBeats },
        { 11, velocityVaries | lengthVaries }, { 12, notesChangeOverTime }, { 13, notesChangeOverTime },
        { 14, notesChangeOverTime, 8 }, { 15, notesChangeOverTime }, { 16, notesChangeOverTime | lengthVaries },
        { 17, notesChangeOverTime | stepVaries }, { 18, notesChangeOverTime | addsDoubledNotes | grooveMovesBeats },
        { 19, notesChangeOverTime | addsDoubledNotes | velocityVaries }, { 20, velocityVaries },
        { 21, velocityVaries | grooveMovesBeats }, { 22, velocityVaries | notesChangeOverTime }, { 23, 0 },
        { 24, addsDoubledNotes }, { 25, addsDoubledNotes | notesChangeOverTime }, { 26, addsDoubledNotes },
        { 27, addsDoubledNotes }, { 28, addsDoubledNotes | notesChangeOverTime }, { 29, addsDoubledNotes | notesChangeOverTime },
        { 30, stepVaries }, { 31, stepVaries }, { 32, stepVaries }, { 33, stepVaries, 8 }, { 34, stepVaries | lengthVaries },
        { 35, stepVaries, 8 }, { 36, stepVaries | addsDoubledNotes }, { 37, stepVaries | notesChangeOverTime },
        { 38, stepVaries | velocityVaries }, { 39, stepVaries | velocityVaries }, { 40, stepVaries | velocityVaries },
        { 41, notesChangeOverTime }, { 42, notesChangeOverTime }, { 43, notesChangeOverTime, 8 },
        { 44, addsDoubledNotes | notesChangeOverTime, 8 }, { 45, notesChangeOverTime }, { 46, notesChangeOverTime },
        { 47, addsDoubledNotes }, { 48, addsDoubledNotes | notesChangeOverTime }, { 49, notesChangeOverTime, 8 },
        { 50, stepVaries | velocityVaries | slowsDown, 4 },
    };
}

TEST_P (FactoryPrograms, playWhatTheirNamesPromise)
{
    const auto& c = GetParam();
    const auto firings = play (c.program, c.bars);
    ASSERT_GE (firings.size(), 2u) << "the program plays notes";

    std::set<int> velocities;
    std::set<juce::int64> lengths, intervals;
    std::set<std::set<int>> chords;
    bool doubled = false, offGrid = false;
    const std::set<int> held { 48, 55, 60, 64 };

    for (size_t i = 0; i < firings.size(); ++i)
    {
        auto& f = firings[i];
        velocities.insert (f.velocities.begin(), f.velocities.end());
        lengths.insert (f.lengths.begin(), f.lengths.end());
        chords.insert (f.notes);

        for (int note : f.notes)
            doubled = doubled || held.count (note) == 0;

        // Straight steps of this bank are whole divisions of a quarter note (24000 samples);
        // a moved beat lands between them.
        offGrid = offGrid || (f.sample % 1000) != 0;

        if (i > 0)
            intervals.insert (f.sample - firings[i - 1].sample);
    }

    auto promised = [&] (Promise p) { return (c.promises & p) != 0; };

    // What the name promises happens; what no setting of the program touches stays as it was.
    EXPECT_EQ (velocities.size() > 1, promised (velocityVaries)) << "velocity varies";
    EXPECT_EQ (chords.size() > 1, promised (notesChangeOverTime)) << "the notes change";
    EXPECT_EQ (doubled, promised (addsDoubledNotes)) << "doubled notes join";

    if (promised (stepVaries))
    {
        EXPECT_GT (intervals.size(), 1u) << "the step varies";
    }

    if (promised (lengthVaries))
    {
        EXPECT_GT (lengths.size(), 1u) << "the length varies";
    }

    if (promised (grooveMovesBeats))
    {
        EXPECT_TRUE (offGrid) << "beats move off the grid";
    }

    if (c.promises == 0)
    {
        EXPECT_EQ (intervals.size(), 1u) << "a straight rhythm";
        EXPECT_EQ (lengths.size(), 1u) << "one length";
        EXPECT_FALSE (offGrid);
    }

    if (promised (slowsDown))
    {
        const auto first = firings[1].sample - firings[0].sample;
        const auto last = firings.back().sample - firings[firings.size() - 2].sample;
        EXPECT_GT (last, first);
    }

}

INSTANTIATE_TEST_SUITE_P (EveryDesignedProgram, FactoryPrograms, ::testing::ValuesIn (programCases),
                          [] (const auto& testInfo) { return "program" + std::to_string (testInfo.param.program); });

// The bank names its MIDI routing by the texts the routing parameters know, so loading it is
// silent (a text they do not know is skipped with a line on the console) and the routing is the
// one it names: the demo track into the built-in synth.
TEST (AlxFactoryBank, loadsWithoutAWordAndRoutesTheDemoTrackIntoTheBuiltInSynth)
{
    testing::internal::CaptureStderr();
    AlxTestHost host (48000.0);
    host.getProcessor().setCurrentProgram (3);
    EXPECT_EQ (testing::internal::GetCapturedStderr(), "");

    const std::pair<int, const char*> routing[] { { 300100, "Track" }, { 310100, "Built-in synth" } };

    for (auto& [moduleId, text] : routing)
    {
        auto* device = host.getContainer().findModule (moduleId)->getGlobalParameters()->findById (0);
        ASSERT_NE (device, nullptr) << moduleId;
        EXPECT_EQ (device->getValue()->getText(), text) << moduleId;
    }
}
