#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

// Every test runs on a thread that owns a JUCE message manager, so posted messages can be
// delivered without a display.
int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);
    const juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
