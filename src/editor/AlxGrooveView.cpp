#include "editor/AlxGrooveView.h"

#include "modules/AlxGrooveModule.h"

AlxGrooveView::AlxGrooveView (AlxEditor* owner)
    : AlxStatusView (owner, 255, 35)
{
    setPreferredHeight (20);
    observeModule (getModule());
}

AlxGrooveModule* AlxGrooveView::getModule() const
{
    return findModuleOf<AlxGrooveModule>();
}

bool AlxGrooveView::handlePanelMessage (void* source, int code, std::uint32_t timeMs)
{
    return refreshOnEveryMessage (source, code, timeMs);
}

void AlxGrooveView::refresh (bool skip)
{
    auto* groove = getModule();
    double time = 0.0;
    if (skip || groove == nullptr || ! findLastFiring (time))
        return;
    pattern = groove->patternAt (time);
    amount = groove->amountAt (time);
    width = groove->widthAt (time);
    repaint();
}

void AlxGrooveView::paint (juce::Graphics& g)
{
    paintFields (g, { { "groove", 15, 40, amount, 55, 50 },
                      { "width", 90, 40, width, 125, 50 },
                      { "beats", 160, 40, pattern, 195, 50 } });
}
