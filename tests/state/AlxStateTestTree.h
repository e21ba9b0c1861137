#pragma once

#include "core/AlxFilter.h"
#include "core/AlxPlimsarModule.h"
#include "core/AlxProgramModule.h"

// A module tree for state tests: the real root and program module, and small modules of our own
// in the places (ids) where the product keeps its stages, each with a global and two program
// parameters:
//   4 root -> 1000 program, 2000, 3000 (no parameters) -> 300100, 4000
class AlxStateTestModule : public AlxModule
{
public:
    AlxStateTestModule (AlxModuleContainer* container_, int id_, std::vector<int> childIds_ = {}, bool withParameters_ = true)
        : AlxModule (container_, id_), childIds (std::move (childIds_)), withParameters (withParameters_)
    {
    }

    ~AlxStateTestModule() override { destroyContents(); }

    void initialise() override
    {
        AlxModule::initialise();
        registerInModuleMap();

        if (withParameters)
        {
            addGlobalParameter (0, takeInternalIndex(), getGeneralDomains().getPercentageDomain(), "Global");
            addProgramParameter (0, takeHostIndex(), getGeneralDomains().getPercentageDomain(), "Level");
            addProgramParameter (1, takeHostIndex(), getGeneralDomains().getModulationSourceDomain(), "Mod-Level");
            setProgramModulationSource (0, 1);
            rebuildIdTables();
        }

        for (int childId : childIds)
            addChild (std::make_unique<AlxStateTestModule> (getContainer(), childId))->initialise();

        setCurrentProgram (0);
        registerParameters();
        addSinkRecursive (this, false);
    }

private:
    std::vector<int> childIds;
    bool withParameters;
};

class AlxStateTestRoot : public AlxPlimsarModule
{
public:
    using AlxPlimsarModule::AlxPlimsarModule;

    void initialise() override
    {
        registerInModuleMap();
        addChild (std::make_unique<AlxProgramModule> (getContainer()))->initialise();
        addChild (std::make_unique<AlxStateTestModule> (getContainer(), 2000))->initialise();
        addChild (std::make_unique<AlxStateTestModule> (getContainer(), 3000, std::vector<int> { 300100 }, false))->initialise();
        addChild (std::make_unique<AlxStateTestModule> (getContainer(), 4000))->initialise();
        setCurrentProgram (0);
    }

    // A test tree starts from its defaults, not from built-in content.
    void loadFactoryBank() override {}
};

class AlxStateTestFilter : public AlxFilter
{
public:
    AlxStateTestFilter() { initialise(); }

    std::unique_ptr<AlxModule> createRootModule() override { return std::make_unique<AlxStateTestRoot> (getContainer()); }

    AlxModule& root() const { return *getRootModule(); }
    AlxModule& module (int id) const { return *getContainer()->findModule (id); }
    AlxProgramModule& programs() const { return *getContainer()->getProgramModule(); }

    // The value of a parameter of a module's program (programIndex >= 0) or global set (-1).
    AlxParameter& parameter (int moduleId, int programIndex, int parameterId) const
    {
        auto& m = module (moduleId);
        auto* set = programIndex < 0 ? m.getGlobalParameters() : m.getProgramSet (programIndex);
        return *set->findById (parameterId);
    }

    juce::String valueText (int moduleId, int programIndex, int parameterId) const
    {
        return parameter (moduleId, programIndex, parameterId).getValue()->getText();
    }

    void setValueIndex (int moduleId, int programIndex, int parameterId, int index) const
    {
        auto& p = parameter (moduleId, programIndex, parameterId);
        p.setValue (p.getDomain()->getValues()[(size_t) index].get(), 5, false, false);
    }

    // Everything the bank document holds: equal texts mean equal values, names and properties.
    juce::String bankText() const
    {
        juce::MemoryBlock chunk;
        root().saveBankChunk (chunk);
        return chunk.toString();
    }
};
