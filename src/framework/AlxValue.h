#pragma once

#include <juce_core/juce_core.h>

#include <memory>
#include <vector>

class AlxRealDomain;

// One value a parameter may take: its texts, its number, its place on the host's 0..1 scale
// (the lower edge of its bin) and the stable id under which state documents store it.
class AlxValue
{
public:
    AlxValue (AlxRealDomain* domain, int id, float normalised, double realValue,
              const juce::String& text, const juce::String& shortText = {},
              const juce::String& longText = {}, std::vector<int> tags = {}, int flags = 0);
    virtual ~AlxValue() = default;

    virtual int getId() const { return id; }
    virtual AlxRealDomain* getDomain() const { return domain; }
    // The main text; a value without one shows its normalised position.
    virtual juce::String getText() const;
    virtual double getTextAsNumber() const;
    // The compact text, or the main text when there is none.
    virtual juce::String getShortText() const;
    virtual juce::String getLongText() const { return longText; }
    // The setters post the code on the domain when notify is set (kind 5 tells views that
    // texts changed, e.g. a renamed preset).
    virtual void setText (const juce::String& newText, int code, bool notify);
    virtual void setShortText (const juce::String& newText, int code, bool notify);
    virtual void setTextFormatted (double number, int code, const char* printfFormat, bool notify);
    virtual void setLongText (const juce::String& newText) { longText = newText; }
    virtual double getRealValue() const { return realValue; }
    virtual void setRealValue (double v) { realValue = v; }
    // Element `val` with the value's index (i) and text (n).
    virtual std::unique_ptr<juce::XmlElement> createXml() const;
    virtual void restoreXml (const juce::XmlElement& element, bool notify);
    virtual bool hasTag (int tag) const;
    virtual int getFlags() const { return flags; }
    virtual int getIndex() const { return index; }
    virtual void setIndex (int i) { index = i; }
    virtual float getNormalised() const { return normalised; }
    virtual void setNormalised (float n) { normalised = n; }
    virtual void setId (int newId) { id = newId; }

private:
    void postOnDomain (int code, bool notify);

    int id;
    float normalised;
    double realValue;
    juce::String text, shortText, longText;
    AlxRealDomain* domain;
    std::vector<int> tags;
    int flags;
    int index = 0;

    JUCE_DECLARE_NON_COPYABLE (AlxValue)
};
