#include "editor/AlxArpView.h"

#include "modules/AlxArpModule.h"

AlxArpView::AlxArpView (AlxEditor* owner)
    : AlxTextStatusView (owner)
{
    observeModule (getModule());
}

AlxArpModule* AlxArpView::getModule() const
{
    return findModuleOf<AlxArpModule>();
}

bool AlxArpView::readValuesAt (double time)
{
    auto* arp = getModule();
    if (arp == nullptr)
        return false;
    doubling = arp->doublingAt (time);
    mask = arp->maskAt (time);
    return true;
}

void AlxArpView::paint (juce::Graphics& g)
{
    paintFields (g, { { "doubling", 15, 80, doubling, 65, 55 },
                      { "arp mask", 125, 80, mask, 180, 50 } });
}
