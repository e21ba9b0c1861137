#include "framework/AlxModuleContainer.h"

#include "editor/AlxCachedDrawables.h"
#include "framework/AlxRealParameter.h"

#include <juce_audio_processors/juce_audio_processors.h>

AlxModuleContainer::AlxModuleContainer()
    : drawableCache (std::make_unique<AlxCachedDrawables>())
{
    broadcastSet.add (std::make_unique<AlxRealParameter> (&broadcastSet, 0, 0, generalDomains.getNullDomain()));
    broadcastSet.rebuildIdTable();
}

AlxModuleContainer::~AlxModuleContainer() = default;

const juce::CriticalSection& AlxModuleContainer::getCallbackLock() const
{
    return filter != nullptr ? filter->getCallbackLock() : ownCallbackLock;
}
