#pragma once

#include <juce_core/juce_core.h>

#include <functional>

// Converts state documents written by version 1.0 into the current layout.
//
// Version 1.0 stored values by position under one element `plugin` (attributes pluginName and
// pluginVersion), each value an element with its text in `v` and a legacy index in `i`:
// - a bank: the third child holds the 9 global values, the fourth (`fxb`) the 128 programs, each
//   with attribute `name` and three groups of 17, 8 and 8 values;
// - a program: the first child (`fxp`) with attribute `name` and the same three groups.
// Only positions and the attributes name, v and i are read; element names are not looked at.
//
// The converted document has the current layout with the root module and every module of the
// tree that stored values in 1.0: global values go to each module's `glob`, program values to its
// `pgms` (a program document: one `pgm`), preset names to the program module's `ext`. Value texts
// are copied unchanged; the parameters interpret them when the document is restored.
class AlxLegacyDocument
{
public:
    // Where the value with a legacy index went: the module and parameter ids, and whether the index
    // was a global one (negative). Indices outside the table map to module 0, which is no module.
    static void mapParameter (int legacyIndex, int& moduleId, int& parameterId, bool& isGlobal);

    using ParameterMapping = std::function<void (int legacyIndex, int& moduleId, int& parameterId, bool& isGlobal)>;

    // The document `fxb` (tag "fxb", from a bank) or `fxp` (tag "fxp", from a program) whose root
    // module carries the plug-in name and version given; null when the element lacks the children
    // its layout needs.
    static std::unique_ptr<juce::XmlElement> convert (const juce::XmlElement& legacy, const juce::String& tag,
                                                      const juce::String& pluginName, const juce::String& version,
                                                      const ParameterMapping& mapping);
};
