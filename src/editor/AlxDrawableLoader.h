#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// Loads one SVG entry of an archive embedded in the program. Returns null when the entry is
// missing or cannot be parsed; every user then draws nothing in its place.
std::unique_ptr<juce::Drawable> loadDrawableFromZip (const void* zipData, int zipSize, const juce::String& entryName);
