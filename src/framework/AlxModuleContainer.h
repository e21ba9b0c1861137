#pragma once

#include "framework/AlxGeneralDomainSet.h"
#include "framework/AlxIndexAllocator.h"
#include "framework/AlxModuleMap.h"
#include "framework/AlxParameterMap.h"

#include <memory>

namespace juce { class AudioProcessor; }
class AlxCachedDrawables;
class AlxModule;
class AlxProgramModule;

// The shared context of one module tree: the module and parameter maps, the index allocators,
// the general domains, the broadcast parameter on which reset requests go out, and the audio
// processor whose callback lock guards every change the audio thread must see whole, and the
// drawables cache, which outlives editors so reopened ones find their artwork loaded.
class AlxModuleContainer
{
public:
    AlxModuleContainer();
    virtual ~AlxModuleContainer();

    virtual AlxParameterMap& getParameterMap() { return parameterMap; }
    virtual AlxModuleMap& getModuleMap() { return moduleMap; }
    virtual AlxModule* getRootModule() const { return rootModule; }
    virtual AlxModule* findModule (int id) const { return moduleMap.lookup (id); }
    // The module of a class that names its module id (moduleId), or null.
    template <typename ModuleClass>
    ModuleClass* findModuleOf() const { return dynamic_cast<ModuleClass*> (findModule (ModuleClass::moduleId)); }
    virtual void setRootModule (AlxModule* root) { rootModule = root; }
    virtual AlxIndexAllocator& getHostIndexAllocator() { return hostIndexAllocator; }
    virtual AlxIndexAllocator& getInternalIndexAllocator() { return internalIndexAllocator; }
    virtual void setFilter (juce::AudioProcessor* processor) { filter = processor; }
    virtual juce::AudioProcessor* getFilter() const { return filter; }
    virtual AlxGeneralDomainSet& getGeneralDomains() { return generalDomains; }
    // Module 1000; defined with the program module, which the framework does not know.
    virtual AlxProgramModule* getProgramModule() const;
    virtual AlxParameterSet& getBroadcastSet() { return broadcastSet; }
    virtual AlxParameter* getBroadcastParameter() const { return broadcastSet.getParameter (0); }
    virtual AlxCachedDrawables& getDrawableCache() { return *drawableCache; }

    // The processor's callback lock, under which blocks are processed. Without a processor
    // (a tree built on its own) the container's own lock stands in.
    const juce::CriticalSection& getCallbackLock() const;

private:
    AlxParameterMap parameterMap;
    AlxModuleMap moduleMap;
    AlxModule* rootModule = nullptr;
    AlxIndexAllocator hostIndexAllocator { 0, 1 };
    AlxIndexAllocator internalIndexAllocator { -1, -1 };
    juce::AudioProcessor* filter = nullptr;
    AlxGeneralDomainSet generalDomains;
    AlxParameterSet broadcastSet;
    juce::CriticalSection ownCallbackLock;
    std::unique_ptr<AlxCachedDrawables> drawableCache;

    JUCE_DECLARE_NON_COPYABLE (AlxModuleContainer)
};
