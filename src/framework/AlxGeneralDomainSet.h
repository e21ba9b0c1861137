#pragma once

#include "framework/AlxDomainSet.h"
#include "framework/AlxRangeDomain.h"

// The general domains shared by all modules. Module domain sets re-use these classes under
// their own names (setNames in their constructors).

// A single value "null": the domain of event parameters.
class AlxNullDomain : public AlxListDomain
{
public:
    explicit AlxNullDomain (AlxDomainSet* set);
};

// 1/32 ... 1/2, then 1 ... 32; default 1.
class AlxHarmonicDomain : public AlxListDomain
{
public:
    explicit AlxHarmonicDomain (AlxDomainSet* set);
};

// 0.00 ... 1.00 in steps of 0.01; default 0.00.
class AlxUnitScaleDomain : public AlxRangeDomain
{
public:
    explicit AlxUnitScaleDomain (AlxDomainSet* set);
};

// -1.00 ... 1.00 in steps of 0.02; default 0.00.
class AlxSUnitScaleDomain : public AlxRangeDomain
{
public:
    explicit AlxSUnitScaleDomain (AlxDomainSet* set);
};

// 0 % ... 100 %, real values 0 ... 1; default 0 %.
class AlxPercentageDomain : public AlxListDomain
{
public:
    explicit AlxPercentageDomain (AlxDomainSet* set);
};

// A unit scale that defaults to certainty (1.00).
class AlxProbabilityDomain : public AlxUnitScaleDomain
{
public:
    explicit AlxProbabilityDomain (AlxDomainSet* set);
};

// "Off" / "On".
class AlxOnOffSwitchDomain : public AlxListDomain
{
public:
    explicit AlxOnOffSwitchDomain (AlxDomainSet* set);
};

// "None", "LFO1", "LFO2": which LFO takes over a modulatable parameter.
class AlxModulationSourceDomain : public AlxListDomain
{
public:
    explicit AlxModulationSourceDomain (AlxDomainSet* set);
};

// The eight general domains, in their fixed order; module code reaches them by position.
class AlxGeneralDomainSet : public AlxDomainSet
{
public:
    AlxGeneralDomainSet();

    AlxNullDomain* getNullDomain() const { return nullDomain; }
    AlxHarmonicDomain* getHarmonicDomain() const { return harmonicDomain; }
    AlxUnitScaleDomain* getUnitScaleDomain() const { return unitScaleDomain; }
    AlxSUnitScaleDomain* getSUnitScaleDomain() const { return sUnitScaleDomain; }
    AlxPercentageDomain* getPercentageDomain() const { return percentageDomain; }
    AlxProbabilityDomain* getProbabilityDomain() const { return probabilityDomain; }
    AlxOnOffSwitchDomain* getOnOffSwitchDomain() const { return onOffSwitchDomain; }
    AlxModulationSourceDomain* getModulationSourceDomain() const { return modulationSourceDomain; }

private:
    AlxNullDomain* nullDomain;
    AlxHarmonicDomain* harmonicDomain;
    AlxUnitScaleDomain* unitScaleDomain;
    AlxSUnitScaleDomain* sUnitScaleDomain;
    AlxPercentageDomain* percentageDomain;
    AlxProbabilityDomain* probabilityDomain;
    AlxOnOffSwitchDomain* onOffSwitchDomain;
    AlxModulationSourceDomain* modulationSourceDomain;
};
