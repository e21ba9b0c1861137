#pragma once

#include <juce_core/juce_core.h>

// Puts a finished file in another file's place in one step.
struct AlxFileReplacement
{
    // A rename, never a copy: JUCE's own replacement falls back to copying into the target, which
    // could leave it half-written. False, with both files as they were, when the rename fails.
    static bool moveOver (const juce::File& finished, const juce::File& target);
};
