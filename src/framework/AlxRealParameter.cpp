#include "framework/AlxRealParameter.h"

#include "framework/AlxChangeCount.h"
#include "framework/AlxMessageCode.h"
#include "framework/AlxNumberText.h"
#include "framework/AlxRealDomain.h"
#include "framework/AlxStateNames.h"

namespace
{
    // State documents write whole numbers without a fraction ("120", not "120.0").
    juce::String realValueText (float v)
    {
        if (v == std::floor (v) && std::abs (v) < 1.0e9f)
            return juce::String ((juce::int64) v);

        return juce::String (v);
    }
}

AlxRealParameter::AlxRealParameter (AlxParameterSet* owner_, int id_, int hostIndex_, AlxDomain* domain_,
                                    bool ownsDomain_, const juce::String& name_)
    : id (id_), domain (domain_), name (name_), owner (owner_), hostIndex (hostIndex_), ownsDomain (ownsDomain_)
{
    jassert (domain != nullptr);
    auto* initial = domain->getDefaultValue();

    if (domain->isContinuous())
    {
        valueIndex = 0;
        realValue = initial != nullptr ? (float) initial->getRealValue() : 0.0f;
    }
    else
    {
        valueIndex = domain->indexOf (initial);
        currentText = initial != nullptr ? initial->getText() : juce::String();
    }

    domain->addSink (this);
}

AlxRealParameter::~AlxRealParameter()
{
    domain->removeSink (this);

    if (ownsDomain)
        delete domain;
}

AlxValue* AlxRealParameter::currentValue() const
{
    if (domain->isContinuous())
        return nullptr;

    const auto& values = domain->getValues();

    if (valueIndex >= 0 && valueIndex < (int) values.size())
        return values[(size_t) valueIndex].get();

    return domain->getDefaultValue();
}

AlxValue* AlxRealParameter::getValue() const
{
    const juce::ScopedLock sl (getLock());
    return currentValue();
}

int AlxRealParameter::getValueIndex() const
{
    // One lock for both steps: the stages ask for value indices many times per block.
    const juce::ScopedLock sl (getLock());
    return domain->indexOf (currentValue());
}

float AlxRealParameter::getRealValue() const
{
    const juce::ScopedLock sl (getLock());
    return realValue;
}

void AlxRealParameter::setValue (AlxValue* v, int reason, bool force, bool notify)
{
    if (v == nullptr || v->getDomain() != domain)
        return;

    const juce::ScopedLock sl (getLock());

    if (! force && v == getValue())
        return;

    const int idx = domain->indexOf (v);

    if (idx < 0 || idx >= domain->getNumValues())
        return;

    valueIndex = idx;
    currentText = v->getText();
    realValue = domain->normalisedOf (v);
    AlxChangeCount::bump();

    if (notify)
        postValueChanged (reason);
}

void AlxRealParameter::setRealValue (float x, int reason, bool force, bool notify)
{
    const juce::ScopedLock sl (getLock());

    if (! force && x == realValue)
        return;

    if (domain->acceptsRealValue (x))
    {
        realValue = x;
        AlxChangeCount::bump();

        if (notify)
            postValueChanged (reason);
    }
    else if (notify)
    {
        postValueRejected (reason);
    }
}

void AlxRealParameter::setModulationSource (AlxParameter* source)
{
    modulationSource = source;
    AlxChangeCount::bump();
}

juce::String AlxRealParameter::getName() const
{
    return name.isNotEmpty() ? name : domain->getName();
}

juce::String AlxRealParameter::getLabel() const
{
    return domain->getLabel();
}

juce::String AlxRealParameter::getFullName() const
{
    return prefix + getName() + suffix;
}

juce::String AlxRealParameter::getDescription() const
{
    return domain->getDescription();
}

bool AlxRealParameter::isEnabled() const
{
    const juce::ScopedLock sl (getLock());
    return enabled;
}

void AlxRealParameter::setEnabled (bool e, bool notify)
{
    const juce::ScopedLock sl (getLock());
    enabled = e;

    if (notify)
        postEnabledChanged (AlxMessageCode::internal);
}

std::unique_ptr<juce::XmlElement> AlxRealParameter::createXml() const
{
    const juce::ScopedLock sl (getLock());
    auto element = std::make_unique<juce::XmlElement> (AlxStateNames::parameterValue);
    element->setAttribute (AlxStateNames::id, id);

    if (domain->isIndexed())
    {
        auto* v = getValue();
        element->setAttribute (AlxStateNames::value, v != nullptr ? v->getId() : 0);
    }
    else if (domain->isNamed())
    {
        auto* v = getValue();
        element->setAttribute (AlxStateNames::value, v != nullptr ? v->getText() : juce::String());
    }
    else
    {
        element->setAttribute (AlxStateNames::value, realValueText (realValue));
    }

    return element;
}

void AlxRealParameter::restoreXml (const juce::XmlElement& element, bool force, bool notify)
{
    const juce::ScopedLock sl (getLock());

    if (element.getIntAttribute ("i", -9999) != id)
        return;

    if (domain->isIndexed())
    {
        const int valueId = element.getIntAttribute ("v", 0);

        if (auto* v = domain->findById (valueId))
            setValue (v, AlxMessageCode::internal, force, notify);
        else
            juce::Logger::outputDebugString ("unknown index value id=" + juce::String (valueId));
    }
    else if (domain->isNamed())
    {
        const auto text = element.getStringAttribute ("v");

        if (auto* v = domain->findByText (text))
            setValue (v, AlxMessageCode::internal, force, notify);
        else
            juce::Logger::outputDebugString ("unknown display value id=" + text);
    }
    else
    {
        setRealValue ((float) AlxNumberText::attribute (element, "v", 0.0), AlxMessageCode::internal, force, notify);
    }
}

bool AlxRealParameter::isFocused() const
{
    const juce::ScopedLock sl (getLock());
    return focused;
}

void AlxRealParameter::setFocused (bool f)
{
    const juce::ScopedLock sl (getLock());

    if (f == focused)
        return;

    focused = f;
    postFocusChanged();
}

void AlxRealParameter::post (int code)
{
    postMessage (this, code);
}

void AlxRealParameter::postValueChanged (int reason)
{
    post (AlxMessageCode::make (AlxMessageCode::valueChanged, AlxMessageCode::orInternal (reason)));
}

void AlxRealParameter::postDomainRebuilt (int reason)
{
    domain->postMessage (domain, AlxMessageCode::make (AlxMessageCode::valuesRebuilt, AlxMessageCode::orInternal (reason)));
}

void AlxRealParameter::postDomainTextsChanged (int reason)
{
    domain->postMessage (domain, AlxMessageCode::make (AlxMessageCode::textsChanged, AlxMessageCode::orInternal (reason)));
}

void AlxRealParameter::postFocusChanged()
{
    post (AlxMessageCode::make (AlxMessageCode::focusChanged, AlxMessageCode::internal));
}

void AlxRealParameter::postValueRejected (int reason)
{
    postValueChanged (reason);
}

void AlxRealParameter::postEnabledChanged (int reason)
{
    post (AlxMessageCode::make (AlxMessageCode::enabledChanged, AlxMessageCode::orInternal (reason)));
}

void AlxRealParameter::postGestureChanged (int reason)
{
    post (AlxMessageCode::make (AlxMessageCode::gestureChanged, AlxMessageCode::orInternal (reason)));
}

void AlxRealParameter::resendValue()
{
    const juce::ScopedLock sl (getLock());

    if (domain->isContinuous())
        setRealValue (realValue, 0, true, true);
    else
        setValue (getValue(), 0, true, true);
}

bool AlxRealParameter::isGestureActive() const
{
    const juce::ScopedLock sl (getLock());
    return gestureActive;
}

void AlxRealParameter::setGestureActive (bool active)
{
    const juce::ScopedLock sl (getLock());

    if (active == gestureActive)
        return;

    gestureActive = active;
    postGestureChanged (AlxMessageCode::internal);
}

void AlxRealParameter::handleMessage (void* source, int code, std::uint32_t)
{
    if (source != domain)
        return;

    const int kind = AlxMessageCode::kindOf (code);

    if (kind == AlxMessageCode::valuesRebuilt || kind == AlxMessageCode::deviceValuesRebuilt)
    {
        const juce::ScopedLock sl (getLock());

        if (! domain->isContinuous())
        {
            auto* v = domain->findByText (currentText);
            setValue (v != nullptr ? v : domain->getDefaultValue(), AlxMessageCode::reasonOf (code), true, true);
        }
    }

    if (kind == AlxMessageCode::textsChanged || kind == AlxMessageCode::valuesRebuilt
        || kind == AlxMessageCode::deviceValuesRebuilt)
        post (code);
}
