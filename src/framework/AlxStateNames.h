#pragma once

#include <juce_core/juce_core.h>

// The element and attribute names of the state document, made once. Naming an element or
// attribute by text looks the text up in JUCE's global string pool (under its lock) on every use;
// writing a bank names tens of thousands of them.
namespace AlxStateNames
{
    inline const juce::Identifier module { "mod" };
    inline const juce::Identifier global { "glob" };
    inline const juce::Identifier programs { "pgms" };
    inline const juce::Identifier program { "pgm" };
    inline const juce::Identifier parameterSet { "ps" };
    inline const juce::Identifier parameterValue { "pv" };
    inline const juce::Identifier id { "i" };
    inline const juce::Identifier name { "n" };
    inline const juce::Identifier value { "v" };
    inline const juce::Identifier version { "v" };
}
