#include "framework/AlxValue.h"

#include "framework/AlxRealDomain.h"

#include <algorithm>
#include <cstdio>

AlxValue::AlxValue (AlxRealDomain* domain_, int id_, float normalised_, double realValue_,
                    const juce::String& text_, const juce::String& shortText_,
                    const juce::String& longText_, std::vector<int> tags_, int flags_)
    : id (id_), normalised (normalised_), realValue (realValue_), text (text_), shortText (shortText_),
      longText (longText_), domain (domain_), tags (std::move (tags_)), flags (flags_)
{
}

juce::String AlxValue::getText() const
{
    if (text.isNotEmpty())
        return text;

    char buffer[64];
    std::snprintf (buffer, sizeof (buffer), "%f", (double) normalised);
    return buffer;
}

double AlxValue::getTextAsNumber() const
{
    return getText().getDoubleValue();
}

juce::String AlxValue::getShortText() const
{
    return shortText.isNotEmpty() ? shortText : getText();
}

void AlxValue::postOnDomain (int code, bool notify)
{
    if (notify && domain != nullptr)
        domain->postMessage (domain, code);
}

void AlxValue::setText (const juce::String& newText, int code, bool notify)
{
    text = newText;
    postOnDomain (code, notify);
}

void AlxValue::setShortText (const juce::String& newText, int code, bool notify)
{
    shortText = newText;
    postOnDomain (code, notify);
}

void AlxValue::setTextFormatted (double number, int code, const char* printfFormat, bool notify)
{
    char buffer[128];
    std::snprintf (buffer, sizeof (buffer), printfFormat, number);
    setText (buffer, code, notify);
}

std::unique_ptr<juce::XmlElement> AlxValue::createXml() const
{
    auto element = std::make_unique<juce::XmlElement> ("val");
    element->setAttribute ("i", getIndex());
    element->setAttribute ("n", getText());
    return element;
}

void AlxValue::restoreXml (const juce::XmlElement& element, bool notify)
{
    setText (element.getStringAttribute ("n"), 0, notify);
}

bool AlxValue::hasTag (int tag) const
{
    return std::find (tags.begin(), tags.end(), tag) != tags.end();
}
