#include "editor/AlxArpPanel.h"

#include "AlxEmbeddedData.h"
#include "editor/AlxArpView.h"
#include "editor/AlxDrawableLoader.h"
#include "editor/AlxSpacer.h"
#include "modules/AlxArpModule.h"

AlxArpPanel::AlxArpPanel (AlxEditor* owner)
    : AlxParamPanel (owner, "Arp", width,
                     loadDrawableFromZip (AlxEmbeddedData::arpZip, AlxEmbeddedData::arpZipSize, "chord.svg"))
{
    auto* arp = getModule();
    if (arp == nullptr)
        return;

    addChild (new AlxSpacer (250, 10, true));
    addChild (view = new AlxArpView (owner));
    addChild (new AlxSpacer (250, 12, true));
    // Each combo is too wide to share its row: the indent after it wraps.
    addChild (new AlxSpacer (15, 19, false));
    addParameter (arp->getMaskParameter(), 0, 0);
    addChild (new AlxSpacer (15, 19, false));
    addParameter (arp->getDoublingParameter(), 0, 0);
}

AlxArpModule* AlxArpPanel::getModule() const
{
    return findModuleOf<AlxArpModule>();
}
