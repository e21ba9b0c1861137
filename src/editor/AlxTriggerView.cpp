#include "editor/AlxTriggerView.h"

#include "modules/AlxTriggerModule.h"

AlxTriggerView::AlxTriggerView (AlxEditor* owner)
    : AlxStatusView (owner, 255, 35)
{
    setPreferredHeight (20);
    observeModule (getModule());
}

bool AlxTriggerView::handlePanelMessage (void* source, int code, std::uint32_t timeMs)
{
    return refreshOnEveryMessage (source, code, timeMs);
}

void AlxTriggerView::refresh (bool skip)
{
    auto* trigger = getModule();
    double time = 0.0;
    if (skip || trigger == nullptr || ! findLastFiring (time))
        return;
    step = trigger->stepAt (time);
    velocity = trigger->velocityAt (time);
    gate = trigger->gateAt (time);
    repaint();
}

void AlxTriggerView::paint (juce::Graphics& g)
{
    paintFields (g, { { "step", 15, 40, step, 45, 50 },
                      { "vel", 100, 40, velocity, 125, 50 },
                      { "gate", 170, 40, gate, 200, 50 } });
}
