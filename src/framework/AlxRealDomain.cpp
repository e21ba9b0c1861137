#include "framework/AlxRealDomain.h"

#include "framework/AlxChangeCount.h"
#include "framework/AlxMessageCode.h"

AlxRealDomain::AlxRealDomain (AlxDomainSet* set) : domainSet (set) {}

AlxRealDomain::~AlxRealDomain()
{
    clearValues();
    clearCommands();
}

void AlxRealDomain::assignNormalisedPositions()
{
    const float step = values.empty() ? 0.0f : 1.0f / (float) values.size();
    assignPositions (0.0f, step);
}

void AlxRealDomain::assignPositions (float start, float step)
{
    float position = start;

    for (auto& v : values)
    {
        v->setNormalised (position);
        position += step;
    }
}

void AlxRealDomain::numberValues()
{
    for (size_t i = 0; i < values.size(); ++i)
        values[i]->setRealValue ((double) i);
}

void AlxRealDomain::assignIndices()
{
    for (size_t i = 0; i < values.size(); ++i)
        values[i]->setIndex ((int) i);
}

void AlxRealDomain::assignIds()
{
    for (size_t i = 0; i < values.size(); ++i)
        values[i]->setId ((int) i);
}

AlxValue* AlxRealDomain::valueAt (int index) const
{
    return index >= 0 && index < (int) values.size() ? values[(size_t) index].get() : nullptr;
}

AlxValue* AlxRealDomain::nextValue (const AlxValue* value, int steps) const
{
    if (value == nullptr)
        return nullptr;

    return valueAt (indexOf (value) + steps);
}

AlxValue* AlxRealDomain::previousValue (const AlxValue* value, int steps) const
{
    if (value == nullptr)
        return nullptr;

    return valueAt (indexOf (value) - steps);
}

template <typename Predicate>
AlxValue* AlxRealDomain::findFirst (Predicate&& matches) const
{
    for (auto& v : values)
        if (matches (*v))
            return v.get();

    return nullptr;
}

AlxValue* AlxRealDomain::findById (int id) const
{
    // Finished domains number their values by position (assignIds), so the value is almost always
    // at its id's place; restoring a bank looks up thousands of values.
    if (auto* atPlace = valueAt (id); atPlace != nullptr && atPlace->getId() == id)
        return atPlace;

    return findFirst ([id] (const AlxValue& v) { return v.getId() == id; });
}

AlxValue* AlxRealDomain::findByNormalised (float position) const
{
    for (auto it = values.rbegin(); it != values.rend(); ++it)
        if ((*it)->getNormalised() <= position)
            return it->get();

    return nullptr;
}

AlxValue* AlxRealDomain::findByRealValue (double realValue) const
{
    return findFirst ([realValue] (const AlxValue& v) { return v.getRealValue() == realValue; });
}

AlxValue* AlxRealDomain::findByText (const juce::String& text) const
{
    return findFirst ([&text] (const AlxValue& v) { return v.getText() == text; });
}

AlxValue* AlxRealDomain::findByParsedText (double number) const
{
    return findFirst ([number] (const AlxValue& v) { return v.getTextAsNumber() == number; });
}

AlxDomainCommand* AlxRealDomain::findCommand (int kind) const
{
    for (auto& c : commands)
        if (c->getKind() == kind)
            return c.get();

    return nullptr;
}

void AlxRealDomain::postCommand (const AlxDomainCommand* command)
{
    if (command != nullptr && command->getKind() != 0)
        postMessage (this, AlxMessageCode::make (command->getKind(), AlxMessageCode::moduleEvent));
}

void AlxRealDomain::clearValues()
{
    defaultValue = nullptr;
    values.clear();
    AlxChangeCount::bump();
}

void AlxRealDomain::clearCommands()
{
    commands.clear();
}

std::unique_ptr<juce::XmlElement> AlxRealDomain::createXml() const
{
    auto element = std::make_unique<juce::XmlElement> ("dom");
    element->setAttribute ("n", getName());

    for (auto& v : values)
        element->addChildElement (v->createXml().release());

    return element;
}

void AlxRealDomain::restoreXml (const juce::XmlElement& element, bool notify)
{
    // Texts are read under the same lock by every parameter over the domain, on any thread.
    const juce::ScopedLock sl (lock);
    size_t i = 0;

    for (auto* child : element.getChildIterator())
    {
        if (i >= values.size())
            break;

        if (child->hasTagName ("val"))
            values[i]->restoreXml (*child, notify);

        ++i;
    }

    // Texts the audio thread keeps (device names) may have changed.
    AlxChangeCount::bump();
}

int AlxRealDomain::indexOf (const AlxValue* value) const
{
    return value != nullptr ? value->getIndex() : -1;
}

float AlxRealDomain::normalisedOf (const AlxValue* value) const
{
    return value != nullptr ? value->getNormalised() : 0.0f;
}

AlxValue* AlxRealDomain::addValue (const juce::String& text, double realValue, const juce::String& shortText,
                                   const juce::String& longText, std::vector<int> tags, int flags)
{
    return addValue (std::make_unique<AlxValue> (this, 0, 0.0f, realValue, text, shortText, longText,
                                                 std::move (tags), flags));
}

AlxValue* AlxRealDomain::addValue (std::unique_ptr<AlxValue> value)
{
    values.push_back (std::move (value));
    AlxChangeCount::bump();
    return values.back().get();
}

void AlxRealDomain::addCommand (int kind, const juce::String& text)
{
    commands.push_back (std::make_unique<AlxDomainCommand> (kind, text));
}

void AlxRealDomain::finishValues (int defaultIndex)
{
    assignNormalisedPositions();
    assignIds();
    assignIndices();
    defaultValue = valueAt (defaultIndex);
    AlxChangeCount::bump();
}

AlxListDomain::AlxListDomain (AlxDomainSet* set, const juce::String& name_, const juce::String& label_,
                              const juce::String& description_, AlxControlKind kind)
    : AlxRealDomain (set), name (name_), label (label_), description (description_), controlKind (kind)
{
}

void AlxListDomain::setNames (const juce::String& name_, const juce::String& label_,
                              const juce::String& description_)
{
    name = name_;
    label = label_;
    description = description_;
}
