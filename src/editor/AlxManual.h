#pragma once

#include <juce_core/juce_core.h>

// The manual that ships with the program: HTML pages in a folder "manual" next to the executable
// (the build copies them there). The help menu's product pages are pages of this manual, opened
// as local files, so they work without a network and never point at an address we do not own.
namespace AlxManual
{
    // The manual folder next to the executable (by default the running one); a File() when
    // there is none.
    juce::File findFolder (const juce::File& executable = juce::File::getSpecialLocation (juce::File::currentExecutableFile));

    // The page of the manual folder that stands for a product web path, as the help menu names
    // them: "" (the product home), "manual", "license", "updates/?version=..." (anything after
    // the first "/" or "?" is dropped). An unknown path, or no folder, gives an empty URL.
    juce::URL pageFor (const juce::File& folder, const juce::String& webPath);

    // Opens that page through the browser service; false when there is no such page or the
    // browser could not be reached.
    bool openPage (const juce::File& folder, const juce::String& webPath);
}
