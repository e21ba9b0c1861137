#include "editor/AlxSynthPanel.h"

#include "AlxEmbeddedData.h"
#include "editor/AlxDrawableLoader.h"
#include "editor/AlxSpacer.h"
#include "synth/AlxSynthModule.h"

AlxSynthPanel::AlxSynthPanel (AlxEditor* owner, int width)
    : AlxParamPanel (owner, "Synth", width,
                     loadDrawableFromZip (AlxEmbeddedData::synthZip, AlxEmbeddedData::synthZipSize, "synth.svg"))
{
    auto* synth = getModule();
    if (synth == nullptr)
        return;

    addChild (new AlxSpacer (300, 10, true));
    addParameter (synth->getGainParameter(), 0, 0);
    addChild (new AlxSpacer (300, 13, true));
}

AlxSynthModule* AlxSynthPanel::getModule() const
{
    return findModuleOf<AlxSynthModule>();
}
