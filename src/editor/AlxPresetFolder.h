#pragma once

#include <juce_core/juce_core.h>

// Where preset files are proposed when nothing has been saved yet: the user's documents folder,
// or the home folder when there is no documents folder. (The program's own folder is usually
// not writable for a user.)
namespace AlxPresetFolder
{
    juce::File getDefaultFolder();

    // The first file "untitled<extension>", "untitled2<extension>", ... that does not exist yet
    // in the default folder; the extension includes its ".".
    juce::File proposeUntitled (const juce::String& extension);
}
