#include "editor/AlxPresetFolder.h"

namespace AlxPresetFolder
{
    juce::File getDefaultFolder()
    {
        const auto documents = juce::File::getSpecialLocation (juce::File::userDocumentsDirectory);

        if (documents.isDirectory())
            return documents;

        return juce::File::getSpecialLocation (juce::File::userHomeDirectory);
    }

    juce::File proposeUntitled (const juce::String& extension)
    {
        return getDefaultFolder().getNonexistentChildFile ("untitled", extension, false);
    }
}
