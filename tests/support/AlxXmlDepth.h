#pragma once

#include <juce_core/juce_core.h>

// How deeply elements nest in a parsed XML tree (the element itself is level 1; text is not
// counted): what the XML guard's count is checked against.
inline int alxXmlElementDepth (const juce::XmlElement& element)
{
    int deepest = 0;

    for (auto* child : element.getChildIterator())
        if (! child->isTextElement())
            deepest = juce::jmax (deepest, alxXmlElementDepth (*child));

    return deepest + 1;
}
