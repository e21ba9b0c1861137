#pragma once

#include "framework/AlxDomain.h"
#include "framework/AlxMessageSink.h"
#include "framework/AlxMessageSource.h"

class AlxParameterSet;

// One setting of a module: a domain and the current value in it (or, for continuous domains, a
// real number), texts that may override the domain's, and flags. Every change is announced
// through messages; the domain's lock guards the value and the flags on every thread.
//
// The sink side receives the messages of the parameter's domain (values rebuilt, texts changed).
class AlxParameter : public AlxMessageSource, public AlxMessageSink
{
public:
    ~AlxParameter() override = default;

    virtual int getId() const = 0;
    virtual void setRealValue (float value, int reason, bool force, bool notify) = 0;
    virtual void setValue (AlxValue* value, int reason, bool force, bool notify) = 0;
    // The current value; null for continuous domains.
    virtual AlxValue* getValue() const = 0;
    virtual int getValueIndex() const = 0;
    virtual float getRealValue() const = 0;
    virtual AlxDomain* getDomain() const = 0;
    virtual juce::String getName() const = 0;
    virtual void setName (const juce::String& name) = 0;
    virtual juce::String getLabel() const = 0;
    virtual juce::String getFullName() const = 0;
    virtual juce::String getDescription() const = 0;
    virtual bool isEnabled() const = 0;
    virtual void setEnabled (bool enabled, bool notify) = 0;
    virtual std::unique_ptr<juce::XmlElement> createXml() const = 0;
    virtual void restoreXml (const juce::XmlElement& element, bool force, bool notify) = 0;
    virtual AlxParameterSet* getOwner() const = 0;
    virtual const juce::CriticalSection& getLock() const = 0;
    virtual int getHostIndex() const = 0;
    virtual bool isFocused() const = 0;
    virtual void setFocused (bool focused) = 0;
    virtual AlxParameter* getModulationSource() const = 0;
    virtual void setModulationSource (AlxParameter* source) = 0;
    virtual void post (int code) = 0;
    virtual void postValueChanged (int reason) = 0;
    virtual void postDomainRebuilt (int reason) = 0;
    virtual void postDomainTextsChanged (int reason) = 0;
    virtual void postFocusChanged() = 0;
    virtual void postValueRejected (int reason) = 0;
    virtual void postEnabledChanged (int reason) = 0;
    virtual void postGestureChanged (int reason) = 0;
    virtual juce::String getPrefix() const = 0;
    virtual void setPrefix (const juce::String& prefix) = 0;
    virtual juce::String getSuffix() const = 0;
    virtual void setSuffix (const juce::String& suffix) = 0;
    virtual void resendValue() = 0;
    virtual bool isGestureActive() const = 0;
    virtual void setGestureActive (bool active) = 0;
    // Only link parameters have a target; real parameters answer null and ignore setTarget.
    virtual void setTarget (AlxParameter*) {}
    virtual AlxParameter* getTarget() const { return nullptr; }
};
