#include "core/AlxPlimsarFilter.h"

#include "core/AlxPlimsarModule.h"
#include "editor/AlxPlimsarEditor.h"

std::unique_ptr<AlxModule> AlxPlimsarFilter::createRootModule()
{
    return std::make_unique<AlxPlimsarModule> (getContainer());
}

juce::AudioProcessorEditor* AlxPlimsarFilter::createEditor()
{
    return new AlxPlimsarEditor (*this);
}
