#include "editor/AlxArpView.h"

#include "modules/AlxArpModule.h"

AlxArpView::AlxArpView (AlxEditor* owner)
    : AlxStatusView (owner, 255, 35)
{
    setPreferredHeight (20);
    observeModule (getModule());
}

AlxArpModule* AlxArpView::getModule() const
{
    return findModuleOf<AlxArpModule>();
}

bool AlxArpView::handlePanelMessage (void* source, int code, std::uint32_t timeMs)
{
    return refreshOnEveryMessage (source, code, timeMs);
}

void AlxArpView::refresh (bool skip)
{
    auto* arp = getModule();
    double time = 0.0;
    if (skip || arp == nullptr || ! findLastFiring (time))
        return;
    doubling = arp->doublingAt (time);
    mask = arp->maskAt (time);
    repaint();
}

void AlxArpView::paint (juce::Graphics& g)
{
    paintFields (g, { { "doubling", 15, 80, doubling, 65, 55 },
                      { "arp mask", 125, 80, mask, 180, 50 } });
}
