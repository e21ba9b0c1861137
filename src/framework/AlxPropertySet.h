#pragma once

#include <juce_core/juce_core.h>

// Free-form key/value settings of a module that travel in the state document (element `prs`).
// Keys that begin with "$tmp/" are kept out of the document.
class AlxPropertySet : public juce::PropertySet
{
public:
    AlxPropertySet() : juce::PropertySet (false) {}

    std::unique_ptr<juce::XmlElement> createXml (bool includeTemporary) const;
    void restoreXml (const juce::XmlElement& element);

    static bool isTemporaryKey (const juce::String& key) { return key.startsWith ("$tmp/"); }
};
