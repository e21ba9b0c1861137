#include "editor/AlxGroovePanel.h"

#include "AlxEmbeddedData.h"
#include "editor/AlxDrawableLoader.h"
#include "editor/AlxGrooveView.h"
#include "editor/AlxSpacer.h"
#include "modules/AlxGrooveModule.h"

AlxGroovePanel::AlxGroovePanel (AlxEditor* owner)
    : AlxParamPanel (owner, "Groove", width,
                     loadDrawableFromZip (AlxEmbeddedData::grooveZip, AlxEmbeddedData::grooveZipSize, "groove.svg"))
{
    auto* groove = getModule();
    if (groove == nullptr)
        return;

    addChild (new AlxSpacer (250, 10, true));
    addChild (view = new AlxGrooveView (owner));
    addChild (new AlxSpacer (250, 10, true));
    addChild (new AlxSpacer (10, 19, false));
    addParameter (groove->getAmountParameter(), 0, 0);
    addChild (new AlxSpacer (20, 19, false));
    addParameter (groove->getWidthParameter(), 0, 0);
    addChild (new AlxSpacer (250, 10, true));
    addChild (new AlxSpacer (15, 19, false));
    addParameter (groove->getPatternParameter(), 0, 0);
}

AlxGrooveModule* AlxGroovePanel::getModule() const
{
    return findModuleOf<AlxGrooveModule>();
}
