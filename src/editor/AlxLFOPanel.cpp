#include "editor/AlxLFOPanel.h"

#include "AlxEmbeddedData.h"
#include "editor/AlxDrawableLoader.h"
#include "editor/AlxLFOView.h"
#include "editor/AlxSpacer.h"
#include "modules/AlxLFOGroupModule.h"
#include "modules/AlxLFOModule.h"

AlxLFOPanel::AlxLFOPanel (AlxEditor* owner)
    : AlxParamPanel (owner, "LFO", width,
                     loadDrawableFromZip (AlxEmbeddedData::lfoZip, AlxEmbeddedData::lfoZipSize, "lfo.svg"))
{
    auto* group = getModule();
    if (group == nullptr)
        return;

    const auto setting = [group] (int id) { return group->getSelectedParameter (id); };
    addChild (new AlxSpacer (250, 10, true));
    addChild (view = new AlxLFOView (owner));
    addChild (new AlxSpacer (250, 12, true));
    // The LFO choice stands two rows high, its name below its buttons; the wide indents of the
    // rows beside it leave that name room.
    addParameter (group->getSelectedLfoParameter(), 0, 0);
    addChild (new AlxSpacer (12, 19, false));
    addParameter (setting (AlxLFOModule::shapeId), 0, 0);
    addChild (new AlxSpacer (50, 19, false));
    addParameter (setting (AlxLFOModule::frequencyId), 0, 0);
    addChild (new AlxSpacer (50, 19, false));
    addParameter (setting (AlxLFOModule::perId), 0, 0);
    addChild (new AlxSpacer (250, 20, true));
    addParameter (setting (AlxLFOModule::levelId), 0, 0);
    addChild (new AlxSpacer (10, 19, false));
    addParameter (setting (AlxLFOModule::dcOffsetId), 0, 0);
    addChild (new AlxSpacer (10, 19, false));
    addParameter (setting (AlxLFOModule::phaseId), 0, 0);
    addChild (new AlxSpacer (250, 12, true));
    addChild (new AlxSpacer (40, 19, false));
    addParameter (setting (AlxLFOModule::noiseId), 0, 0);
    addChild (new AlxSpacer (30, 19, false));
    addParameter (setting (AlxLFOModule::pulseWidthId), 0, 0);
    addChild (new AlxSpacer (300, 15, true));
}

AlxLFOGroupModule* AlxLFOPanel::getModule() const
{
    return findModuleOf<AlxLFOGroupModule>();
}
