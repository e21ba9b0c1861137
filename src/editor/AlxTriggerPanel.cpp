#include "editor/AlxTriggerPanel.h"

#include "AlxEmbeddedData.h"
#include "editor/AlxDrawableLoader.h"
#include "editor/AlxSpacer.h"
#include "editor/AlxTriggerView.h"
#include "modules/AlxTriggerModule.h"

AlxTriggerPanel::AlxTriggerPanel (AlxEditor* owner)
    : AlxParamPanel (owner, "Trigger", width,
                     loadDrawableFromZip (AlxEmbeddedData::triggerZip, AlxEmbeddedData::triggerZipSize, "trigger.svg"))
{
    auto* trigger = getModule();
    if (trigger == nullptr)
        return;

    addChild (new AlxSpacer (250, 10, true));
    addChild (view = new AlxTriggerView (owner));
    addChild (new AlxSpacer (250, 10, true));
    // A short label: "step" leaves the combo room beside the knobs' column.
    addParameter (trigger->getStepParameter(), 40, 0);
    addChild (new AlxSpacer (250, 10, true));
    addChild (new AlxSpacer (10, 19, false));
    addParameter (trigger->getVelocityParameter(), 0, 0);
    addChild (new AlxSpacer (20, 19, false));
    addParameter (trigger->getGateParameter(), 0, 0);
}

AlxTriggerModule* AlxTriggerPanel::getModule() const
{
    return findModuleOf<AlxTriggerModule>();
}
