#include "support/AlxNotePath.h"

#include <gtest/gtest.h>

// A host may play blocks longer than the size it prepared the processor for; the processor plays
// the same notes at the same places as with the announced size.
TEST (AlxHostBlockSize, blocksLongerThanPreparedPlayTheSameNotes)
{
    const auto notesWith = [] (int blockSize)
    {
        AlxTestHost host { 48000.0, 512 };
        AlxNotePath path { host };
        path.setTempo (120.0);
        path.hold ({ 60, 64, 67 });
        path.start();

        std::vector<std::tuple<juce::int64, int, int>> notes;

        for (const auto& n : path.run (4 * 48000, blockSize))
            notes.emplace_back (n.sample, n.note, n.velocity);

        EXPECT_EQ (path.getMisplacedNoteOns(), 0);
        return notes;
    };

    const auto announced = notesWith (512);
    ASSERT_EQ (announced.size(), 8u * 3u * 2u) << "two bars of quarter notes";
    EXPECT_EQ (notesWith (4096), announced);
    EXPECT_EQ (notesWith (48000), announced);
}
