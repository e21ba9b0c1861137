#pragma once

#include "framework/AlxDomain.h"

// A domain over a list of values it owns, in display order. Concrete domains create their values
// in the constructor and then call finishValues, which gives value i the id i, the index i and
// the position i/N (summed in 32-bit float), and selects the default.
class AlxRealDomain : public AlxDomain
{
public:
    explicit AlxRealDomain (AlxDomainSet* set);
    ~AlxRealDomain() override;

    AlxDomainSet* getDomainSet() const override { return domainSet; }
    juce::String getLabel() const override { return getName(); }
    juce::String getDescription() const override { return getLabel(); }
    const Values& getValues() const override { return values; }
    bool isIndexed() const override { return true; }
    bool isNamed() const override { return false; }
    void assignNormalisedPositions() override;
    void assignPositions (float start, float step) override;
    void numberValues() override;
    void assignIndices() override;
    void assignIds() override;
    AlxValue* nextValue (const AlxValue* value, int steps) const override;
    AlxValue* previousValue (const AlxValue* value, int steps) const override;
    AlxValue* findById (int id) const override;
    AlxValue* findByNormalised (float position) const override;
    AlxValue* findByRealValue (double realValue) const override;
    AlxValue* findByText (const juce::String& text) const override;
    AlxValue* findByParsedText (double number) const override;
    AlxValue* getDefaultValue() const override { return defaultValue; }
    const juce::CriticalSection& getLock() const override { return lock; }
    AlxDomainCommand* findCommand (int kind) const override;
    void postCommand (const AlxDomainCommand* command) override;
    AlxControlKind getControlKind() const override { return AlxControlKind::list; }
    bool acceptsRealValue (float) const override { return true; }
    void clearValues() override;
    void clearCommands() override;
    std::unique_ptr<juce::XmlElement> createXml() const override;
    void restoreXml (const juce::XmlElement& element, bool notify) override;
    const Commands& getCommands() const override { return commands; }
    int indexOf (const AlxValue* value) const override;
    float normalisedOf (const AlxValue* value) const override;

protected:
    // Appends a value (id and position are assigned by finishValues).
    AlxValue* addValue (const juce::String& text, double realValue, const juce::String& shortText = {},
                        const juce::String& longText = {}, std::vector<int> tags = {}, int flags = 0);
    AlxValue* addValue (std::unique_ptr<AlxValue> value);
    void addCommand (int kind, const juce::String& text);
    void finishValues (int defaultIndex);
    void setDefaultValue (AlxValue* value) { defaultValue = value; }
    AlxValue* valueAt (int index) const;

private:
    template <typename Predicate>
    AlxValue* findFirst (Predicate&& matches) const;

    AlxDomainSet* domainSet;
    Values values;
    AlxValue* defaultValue = nullptr;
    juce::CriticalSection lock;
    Commands commands;
};

// A real domain whose name, label and description are fixed texts; most domains are this.
class AlxListDomain : public AlxRealDomain
{
public:
    AlxListDomain (AlxDomainSet* set, const juce::String& name, const juce::String& label,
                   const juce::String& description, AlxControlKind kind = AlxControlKind::list);

    juce::String getName() const override { return name; }
    juce::String getLabel() const override { return label; }
    juce::String getDescription() const override { return description; }
    AlxControlKind getControlKind() const override { return controlKind; }

protected:
    void setNames (const juce::String& name, const juce::String& label, const juce::String& description);

private:
    juce::String name, label, description;
    AlxControlKind controlKind;
};
