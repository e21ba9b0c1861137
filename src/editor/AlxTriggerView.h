#pragma once

#include "editor/AlxStatusView.h"

// The trigger's step, velocity and gate in force at its last firing, LFO modulation applied.
// Empty until the first message reaches it.
class AlxTriggerView : public AlxStatusView
{
public:
    explicit AlxTriggerView (AlxEditor* editor);

    bool handlePanelMessage (void* source, int code, std::uint32_t timeMs) override;
    void refresh (bool skip) override;
    virtual AlxTriggerModule* getModule() const { return getTriggerModule(); }

    void paint (juce::Graphics& g) override;

    const AlxValue* getStepValue() const { return step; }
    const AlxValue* getVelocityValue() const { return velocity; }
    const AlxValue* getGateValue() const { return gate; }

private:
    // Values of the trigger's domains, which live as long as the module.
    const AlxValue* step = nullptr;
    const AlxValue* velocity = nullptr;
    const AlxValue* gate = nullptr;
};
