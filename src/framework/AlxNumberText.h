#pragma once

#include <juce_core/juce_core.h>

// Decimal numbers read from text that comes from outside (documents, sound banks, what a user
// types), as JUCE reads them, with one mend: JUCE counts an exponent's digits in an int, which
// overflows beyond nine digits. An exponent of more than eight digits (leading zeros aside) is
// read as 99,999,999 with its sign, which gives what the number means: infinity for a huge
// exponent, zero for a huge negative one.
namespace AlxNumberText
{
    double toDouble (const juce::String& text);

    // The attribute's value as a number; defaultValue when the element has no such attribute.
    double attribute (const juce::XmlElement& element, juce::StringRef name, double defaultValue);
}
