#include "editor/AlxTriggerView.h"

#include "modules/AlxTriggerModule.h"

AlxTriggerView::AlxTriggerView (AlxEditor* owner)
    : AlxTextStatusView (owner)
{
    observeModule (getModule());
}

bool AlxTriggerView::readValuesAt (double time)
{
    auto* trigger = getModule();
    if (trigger == nullptr)
        return false;
    step = trigger->stepAt (time);
    velocity = trigger->velocityAt (time);
    gate = trigger->gateAt (time);
    return true;
}

void AlxTriggerView::paint (juce::Graphics& g)
{
    paintFields (g, { { "step", 15, 40, step, 45, 50 },
                      { "vel", 100, 40, velocity, 125, 50 },
                      { "gate", 170, 40, gate, 200, 50 } });
}
