#pragma once

#include <juce_core/juce_core.h>

// Decides whether a text may be handed to JUCE's XML reader. That reader descends recursively, one
// level per nested element (and the parsed tree is destroyed the same way), so a text nested some
// hundred thousand levels deep overflows the stack; it steps over the end of a text that is not
// valid UTF-8; it expands a document type declaration and entity references it does not know into
// further markup; and it loops forever on a processing instruction followed by text inside an
// element. State documents use none of these, so texts that would meet them are refused before
// parsing. So are elements with thousands of attributes: the parsed tree reaches an attribute by
// walking a list, which makes reading all attributes of such an element take quadratic time.
struct AlxXmlGuard
{
    // State documents nest about a dozen levels; this leaves a wide margin and keeps the reader's
    // recursion far from the stack's end.
    static constexpr int maximumDepth = 256;

    // State documents write at most a few attributes per element (a property set one per key).
    static constexpr int maximumAttributes = 1024;

    static bool canParse (const juce::String& text);

    // The deepest element the reader would reach while reading the text (the document element is
    // level 1), following the reader's own steps, including those it takes after an error. Counting
    // stops once it passes limit. Answers -1 for the texts refused above other than by depth:
    // invalid UTF-8, a document type declaration, an entity reference other than the five
    // predefined ones and numeric ones, a place where the reader would loop forever, or an element
    // with more than maximumAttributes attributes.
    static int nestingDepth (const juce::String& text, int limit);
};
