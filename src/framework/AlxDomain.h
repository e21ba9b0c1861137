#pragma once

#include "framework/AlxDomainCommand.h"
#include "framework/AlxMessageSource.h"
#include "framework/AlxValue.h"

#include <memory>
#include <vector>

class AlxDomainSet;

// How the editor shows a parameter over a domain.
enum class AlxControlKind
{
    list = 0,
    range = 1,
    numeric = 2,
    radio = 3,
    onOff = 4
};

// The set of values a parameter may take, with everything needed to show, choose, store and
// automate them. Shared by every parameter over it; its lock is also theirs.
//
// A domain is indexed (parameters store the value id), named (they store the value text; device
// and file lists) or neither: continuous, where parameters keep a real number of their own.
class AlxDomain : public AlxMessageSource
{
public:
    using Values = std::vector<std::unique_ptr<AlxValue>>;
    using Commands = std::vector<std::unique_ptr<AlxDomainCommand>>;

    ~AlxDomain() override = default;

    virtual AlxDomainSet* getDomainSet() const = 0;
    virtual juce::String getName() const = 0;
    virtual juce::String getLabel() const = 0;
    virtual juce::String getDescription() const = 0;
    virtual const Values& getValues() const = 0;
    virtual bool isIndexed() const = 0;
    virtual bool isNamed() const = 0;
    virtual void assignNormalisedPositions() = 0;
    virtual void assignPositions (float start, float step) = 0;
    virtual void numberValues() = 0;
    virtual void assignIndices() = 0;
    virtual void assignIds() = 0;
    virtual AlxValue* nextValue (const AlxValue* value, int steps) const = 0;
    virtual AlxValue* previousValue (const AlxValue* value, int steps) const = 0;
    virtual AlxValue* findById (int id) const = 0;
    virtual AlxValue* findByNormalised (float position) const = 0;
    virtual AlxValue* findByRealValue (double realValue) const = 0;
    virtual AlxValue* findByText (const juce::String& text) const = 0;
    virtual AlxValue* findByParsedText (double number) const = 0;
    virtual AlxValue* getDefaultValue() const = 0;
    virtual const juce::CriticalSection& getLock() const = 0;
    virtual AlxDomainCommand* findCommand (int kind) const = 0;
    virtual void postCommand (const AlxDomainCommand* command) = 0;
    virtual AlxControlKind getControlKind() const = 0;
    virtual bool acceptsRealValue (float value) const = 0;
    virtual void clearValues() = 0;
    virtual void clearCommands() = 0;
    virtual std::unique_ptr<juce::XmlElement> createXml() const = 0;
    virtual void restoreXml (const juce::XmlElement& element, bool notify) = 0;
    virtual const Commands& getCommands() const = 0;
    virtual int indexOf (const AlxValue* value) const = 0;
    virtual float normalisedOf (const AlxValue* value) const = 0;

    // Where a host sees a value, and the value a host position stands for. Hosts step, label,
    // set and read back a parameter with N choices at 0, 1/(N-1), ..., 1 (VST3 step counts, LV2
    // scale points), so for the host the N values stand on those steps, not at their own
    // normalised positions (the lower edges of N equal bins, i/N): a host position picks the
    // value at the nearest step, and every step comes back as itself. Positions below 0 select
    // the first value and positions above 1 the last, so no caller ever gets "no value" for a
    // number; only a position that is not a number gives null, and the caller keeps its value.
    // A domain of one value stands at 0.
    float hostPositionOf (const AlxValue* value) const;
    AlxValue* findByHostPosition (float position) const;

    int getNumValues() const { return (int) getValues().size(); }
    bool isContinuous() const { return ! isIndexed() && ! isNamed(); }
};
