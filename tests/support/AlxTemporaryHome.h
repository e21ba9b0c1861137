#pragma once

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>

// Points HOME at an empty folder of its own for the lifetime of each test, so whatever the code
// under test finds or writes through the home folder (settings files, the documents folder)
// lands there and nowhere real. HOME is restored afterwards and the folder deleted with all it
// holds. Test files derive a fixture of their own name from it.
class AlxTemporaryHome : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    juce::TemporaryFile home;

private:
    juce::String previousHome;
};
