#include "modules/AlxArpModule.h"
#include "support/AlxNotePath.h"

#include <gtest/gtest.h>

namespace
{
    struct ArpCase
    {
        std::vector<int> held;
        const char* mask;
        const char* doubling;
        std::vector<int> sounding;
    };

    std::vector<int> range (int from, int count)
    {
        std::vector<int> notes;

        for (int i = 0; i < count; ++i)
            notes.push_back (from + i);

        return notes;
    }

    std::vector<int> notesOf (const juce::MidiKeyboardState& state, int channel)
    {
        std::vector<int> notes;

        for (int note = 0; note < 128; ++note)
            if (state.isNoteOn (channel, note))
                notes.push_back (note);

        return notes;
    }
}

TEST (AlxArpModule, masksAndDoublesTheHeldChord)
{
    AlxTestHost host;
    AlxNotePath path (host);
    auto& arp = *host.getRoot().getArpModule();

    const ArpCase cases[] = {
        { { 60, 64, 67 }, "1+3", "None", { 60, 67 } },
        { { 60, 64, 67 }, "4", "None", { 60 } },                     // bit 3 wraps to the lowest note
        { { 60, 64, 67 }, "None", "Oct+5+4", {} },
        { { 60, 64, 67 }, "All", "Oct+5th", { 48, 52, 55, 60, 64, 67, 71, 74 } },
        { { 60, 64, 67 }, "2", "4th", { 59, 64 } },
        { { 64, 67 }, "1+2+3+4", "None", { 64, 67 } },
        { { 3 }, "All", "Oct+4th", { 3 } },                          // -9 and -2 are dropped
        { { 125 }, "All", "5th", { 125 } },                          // 132 is dropped
        { range (40, 10), "All", "None", range (40, 9) },            // "All" covers nine notes
        { range (40, 20), "1+2+3+4", "None", range (40, 4) },
        { {}, "All", "Oct", {} },
    };

    for (auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.mask) + " " + c.doubling + ", " + juce::String ((int) c.held.size()) + " held");
        path.select (arp.getMaskParameter(), c.mask);
        path.select (arp.getDoublingParameter(), c.doubling);

        // Held notes count on any channel; the results sound on channel 1.
        juce::MidiKeyboardState held, masked, doubled;

        for (size_t i = 0; i < c.held.size(); ++i)
            held.noteOn (1 + (int) i % 3, c.held[i], 0.5f);

        masked.noteOn (1, 100, 1.0f);   // what a state held before is replaced
        arp.applyMask (held, masked, 0.0);
        arp.applyDoubling (masked, doubled, 0.0);

        EXPECT_EQ (notesOf (doubled, 1), c.sounding);

        for (int channel = 2; channel <= 16; ++channel)
            EXPECT_TRUE (notesOf (doubled, channel).empty());
    }
}
