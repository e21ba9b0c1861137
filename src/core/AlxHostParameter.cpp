#include "core/AlxHostParameter.h"

#include "core/AlxFilter.h"
#include "framework/AlxMessageCode.h"

AlxHostParameter::AlxHostParameter (AlxFilter& filter_, int hostIndex_)
    : juce::AudioProcessorParameterWithID (juce::ParameterID ("p" + juce::String (hostIndex_), 1), {}),
      filter (filter_),
      hostIndex (hostIndex_)
{
}

AlxParameter* AlxHostParameter::find() const
{
    auto* container = filter.getContainer();
    return container != nullptr ? container->getParameterMap().lookup (hostIndex) : nullptr;
}

float AlxHostParameter::getValue() const
{
    auto* p = find();

    if (p == nullptr)
        return 0.0f;

    const juce::ScopedLock sl (p->getLock());
    return p->getDomain()->hostPositionOf (p->getValue());
}

void AlxHostParameter::setValue (float newValue)
{
    auto* p = find();

    if (p == nullptr)
        return;

    const juce::ScopedLock sl (p->getLock());
    auto* domain = p->getDomain();

    if (domain->isContinuous())
    {
        if (newValue != p->getRealValue())
            p->setRealValue (newValue, AlxMessageCode::fromHost, false, true);
    }
    else if (auto* v = domain->findByHostPosition (newValue); v != nullptr && v != p->getValue())
    {
        p->setValue (v, AlxMessageCode::fromHost, false, true);
    }
}

float AlxHostParameter::getDefaultValue() const
{
    if (defaultValue.has_value())
        return *defaultValue;

    auto* p = find();
    return p != nullptr ? p->getDomain()->hostPositionOf (p->getDomain()->getDefaultValue()) : 0.0f;
}

juce::String AlxHostParameter::getName (int maximumStringLength) const
{
    auto* p = find();
    const auto fullName = p != nullptr ? p->getFullName() : "Rsrvd" + juce::String (hostIndex);
    return maximumStringLength > 0 ? fullName.substring (0, maximumStringLength) : fullName;
}

int AlxHostParameter::getNumSteps() const
{
    auto* p = find();
    return p != nullptr && p->getDomain()->getNumValues() > 1 ? p->getDomain()->getNumValues()
                                                               : AudioProcessorParameter::getNumSteps();
}

bool AlxHostParameter::isDiscrete() const
{
    auto* p = find();
    return p != nullptr && p->getDomain()->getControlKind() != AlxControlKind::range;
}

juce::String AlxHostParameter::getText (float normalisedValue, int maximumStringLength) const
{
    auto* p = find();

    if (p == nullptr)
        return "Reserved";

    const juce::ScopedLock sl (p->getLock());
    auto* v = p->getDomain()->findByHostPosition (normalisedValue);
    const auto text = v != nullptr ? v->getText() : juce::String();
    return maximumStringLength > 0 ? text.substring (0, maximumStringLength) : text;
}

float AlxHostParameter::getValueForText (const juce::String& text) const
{
    auto* p = find();

    if (p == nullptr)
        return 0.0f;

    const juce::ScopedLock sl (p->getLock());
    auto* domain = p->getDomain();
    auto* v = domain->findByText (text.trim());
    return v != nullptr ? domain->hostPositionOf (v) : getValue();
}
