#include "framework/AlxPropertySet.h"

std::unique_ptr<juce::XmlElement> AlxPropertySet::createXml (bool includeTemporary) const
{
    auto element = std::make_unique<juce::XmlElement> ("prs");
    const juce::ScopedLock sl (getLock());
    // juce::PropertySet offers its properties only through a non-const accessor.
    const auto& all = const_cast<AlxPropertySet*> (this)->getAllProperties();

    for (int i = 0; i < all.size(); ++i)
    {
        const auto& key = all.getAllKeys()[i];

        if (includeTemporary || ! isTemporaryKey (key))
            if (juce::XmlElement::isValidXmlName (key))
                element->setAttribute (key, all.getAllValues()[i]);
    }

    return element;
}

void AlxPropertySet::restoreXml (const juce::XmlElement& element)
{
    for (int i = 0; i < element.getNumAttributes(); ++i)
        setValue (element.getAttributeName (i), element.getAttributeValue (i));
}
