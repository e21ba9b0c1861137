#pragma once

#include "framework/AlxParameter.h"

// The parameter that holds a value. Indexed and named domains: the index of the current value
// (and its text, to find it again when the domain's values are rebuilt); continuous domains: the
// real value itself.
class AlxRealParameter : public AlxParameter
{
public:
    AlxRealParameter (AlxParameterSet* owner, int id, int hostIndex, AlxDomain* domain,
                      bool ownsDomain = false, const juce::String& name = {});
    ~AlxRealParameter() override;

    int getId() const override { return id; }
    void setRealValue (float value, int reason, bool force, bool notify) override;
    void setValue (AlxValue* value, int reason, bool force, bool notify) override;
    AlxValue* getValue() const override;
    int getValueIndex() const override;
    float getRealValue() const override;
    AlxDomain* getDomain() const override { return domain; }
    juce::String getName() const override;
    void setName (const juce::String& newName) override { name = newName; }
    juce::String getLabel() const override;
    juce::String getFullName() const override;
    juce::String getDescription() const override;
    bool isEnabled() const override;
    void setEnabled (bool enabled, bool notify) override;
    std::unique_ptr<juce::XmlElement> createXml() const override;
    void restoreXml (const juce::XmlElement& element, bool force, bool notify) override;
    AlxParameterSet* getOwner() const override { return owner; }
    const juce::CriticalSection& getLock() const override { return domain->getLock(); }
    int getHostIndex() const override { return hostIndex; }
    bool isFocused() const override;
    void setFocused (bool focused) override;
    AlxParameter* getModulationSource() const override { return modulationSource; }
    void setModulationSource (AlxParameter* source) override;
    void post (int code) override;
    void postValueChanged (int reason) override;
    void postDomainRebuilt (int reason) override;
    void postDomainTextsChanged (int reason) override;
    void postFocusChanged() override;
    void postValueRejected (int reason) override;
    void postEnabledChanged (int reason) override;
    void postGestureChanged (int reason) override;
    juce::String getPrefix() const override { return prefix; }
    void setPrefix (const juce::String& p) override { prefix = p; }
    juce::String getSuffix() const override { return suffix; }
    void setSuffix (const juce::String& s) override { suffix = s; }
    void resendValue() override;
    bool isGestureActive() const override;
    void setGestureActive (bool active) override;

    void handleMessage (void* source, int code, std::uint32_t timeMs) override;

private:
    // The value the index selects (the domain's default when the index lies outside its
    // values); the caller holds the lock.
    AlxValue* currentValue() const;

    const int id;
    AlxDomain* const domain;
    int valueIndex = 0;
    float realValue = 0.0f;
    juce::String name;
    bool enabled = true;
    AlxParameterSet* const owner;
    juce::String currentText;
    const int hostIndex;
    bool focused = false;
    AlxParameter* modulationSource = nullptr;
    juce::String prefix, suffix;
    bool gestureActive = false;
    const bool ownsDomain;

    JUCE_DECLARE_NON_COPYABLE (AlxRealParameter)
};
