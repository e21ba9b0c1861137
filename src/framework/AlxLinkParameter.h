#pragma once

#include "framework/AlxParameter.h"

#include <atomic>

class AlxLinkParameterSet;

// Stands for another parameter (its target) and forwards every operation to it, except focus and
// ownership. Observers of a link see the target's messages as the link's own; re-pointing the link
// to another program's parameter is invisible to them until values are resent.
class AlxLinkParameter : public AlxParameter
{
public:
    explicit AlxLinkParameter (AlxLinkParameterSet* owner);
    ~AlxLinkParameter() override;

    int getId() const override { return current()->getId(); }
    void setRealValue (float value, int reason, bool force, bool notify) override { current()->setRealValue (value, reason, force, notify); }
    void setValue (AlxValue* value, int reason, bool force, bool notify) override { current()->setValue (value, reason, force, notify); }
    AlxValue* getValue() const override { return current()->getValue(); }
    int getValueIndex() const override { return current()->getValueIndex(); }
    float getRealValue() const override { return current()->getRealValue(); }
    AlxDomain* getDomain() const override { return current()->getDomain(); }
    juce::String getName() const override { return current()->getName(); }
    void setName (const juce::String& name) override { current()->setName (name); }
    juce::String getLabel() const override { return current()->getLabel(); }
    juce::String getFullName() const override { return current()->getFullName(); }
    juce::String getDescription() const override { return current()->getDescription(); }
    bool isEnabled() const override { return current()->isEnabled(); }
    void setEnabled (bool enabled, bool notify) override { current()->setEnabled (enabled, notify); }
    std::unique_ptr<juce::XmlElement> createXml() const override { return current()->createXml(); }
    void restoreXml (const juce::XmlElement& e, bool force, bool notify) override { current()->restoreXml (e, force, notify); }
    AlxParameterSet* getOwner() const override;
    const juce::CriticalSection& getLock() const override { return current()->getLock(); }
    int getHostIndex() const override { return current()->getHostIndex(); }
    bool isFocused() const override;
    void setFocused (bool focused) override;
    AlxParameter* getModulationSource() const override { return current()->getModulationSource(); }
    void setModulationSource (AlxParameter* source) override { current()->setModulationSource (source); }
    void post (int code) override { current()->post (code); }
    void postValueChanged (int reason) override { current()->postValueChanged (reason); }
    void postDomainRebuilt (int reason) override { current()->postDomainRebuilt (reason); }
    void postDomainTextsChanged (int reason) override { current()->postDomainTextsChanged (reason); }
    void postFocusChanged() override { current()->postFocusChanged(); }
    void postValueRejected (int reason) override { current()->postValueRejected (reason); }
    void postEnabledChanged (int reason) override { current()->postEnabledChanged (reason); }
    void postGestureChanged (int reason) override { current()->postGestureChanged (reason); }
    juce::String getPrefix() const override { return current()->getPrefix(); }
    void setPrefix (const juce::String& prefix) override { current()->setPrefix (prefix); }
    juce::String getSuffix() const override { return current()->getSuffix(); }
    void setSuffix (const juce::String& suffix) override { current()->setSuffix (suffix); }
    void resendValue() override { current()->resendValue(); }
    bool isGestureActive() const override { return current()->isGestureActive(); }
    void setGestureActive (bool active) override { current()->setGestureActive (active); }
    void setTarget (AlxParameter* newTarget) override;
    AlxParameter* getTarget() const override { return current(); }

    void handleMessage (void* source, int code, std::uint32_t timeMs) override;

private:
    // Host threads may read the target while the message thread re-points the link.
    AlxParameter* current() const { return target.load (std::memory_order_acquire); }

    AlxLinkParameterSet* const owner;
    std::atomic<AlxParameter*> target { nullptr };
    bool focused = false;
    juce::CriticalSection focusLock;

    JUCE_DECLARE_NON_COPYABLE (AlxLinkParameter)
};
