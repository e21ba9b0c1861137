#pragma once

#include "editor/AlxTextStatusView.h"

// The trigger's step, velocity and gate at its last firing.
class AlxTriggerView : public AlxTextStatusView
{
public:
    explicit AlxTriggerView (AlxEditor* editor);

    virtual AlxTriggerModule* getModule() const { return getTriggerModule(); }

    void paint (juce::Graphics& g) override;

    const AlxValue* getStepValue() const { return step; }
    const AlxValue* getVelocityValue() const { return velocity; }
    const AlxValue* getGateValue() const { return gate; }

protected:
    bool readValuesAt (double time) override;

private:
    // Values of the trigger's domains, which live as long as the module.
    const AlxValue* step = nullptr;
    const AlxValue* velocity = nullptr;
    const AlxValue* gate = nullptr;
};
