#include "core/AlxPlimsarFilter.h"

#include "core/AlxPlimsarModule.h"
#include "editor/AlxPlimsarEditor.h"
#include "framework/AlxMessageCode.h"
#include "midi/AlxMidiInputDomainSet.h"
#include "midi/AlxMidiInputGroupModule.h"
#include "midi/AlxMidiInputModule.h"
#include "midi/AlxMidiOutputDomainSet.h"
#include "midi/AlxMidiOutputGroupModule.h"
#include "midi/AlxMidiOutputModule.h"

namespace
{
    void choose (AlxParameter& parameter, int valueIndex)
    {
        const juce::ScopedLock sl (parameter.getLock());
        parameter.setValue (parameter.getDomain()->getValues()[(size_t) valueIndex].get(), AlxMessageCode::internal, false, true);
    }
}

std::unique_ptr<AlxModule> AlxPlimsarFilter::createRootModule()
{
    return std::make_unique<AlxPlimsarModule> (getContainer());
}

juce::AudioProcessorEditor* AlxPlimsarFilter::createEditor()
{
    return new AlxPlimsarEditor (*this);
}

bool AlxPlimsarFilter::isPlugin() const
{
    return wrapperType != wrapperType_Undefined && wrapperType != wrapperType_Standalone;
}

void AlxPlimsarFilter::initialise()
{
    AlxFilter::initialise();

    auto* tree = dynamic_cast<AlxPlimsarModule*> (getRootModule());

    if (tree == nullptr || ! isPlugin())
        return;

    auto& input = *tree->getMidiInputGroup()->getInputModule (0);
    choose (*input.getDeviceParameter(), AlxMidiFromDeviceDomain::host);
    // Channel value 0 is "All".
    choose (*input.getChannelParameter(), 0);
    choose (*tree->getMidiOutputGroup()->getOutputModule (0)->getDeviceParameter(), AlxMidiToDeviceDomain::host);
}
