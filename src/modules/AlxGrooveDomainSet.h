#pragma once

#include "framework/AlxGeneralDomainSet.h"

// Which beats of the bar the groove bends; a value's real value is a bit mask of beats, bit 0
// the first beat of the bar. Default "Off".
class AlxGroovePatternDomain : public AlxListDomain
{
public:
    explicit AlxGroovePatternDomain (AlxDomainSet* set);
};

// How far the selected beats move, -1.00 (early) ... +1.00 (late); default 0.00.
class AlxGrooveAmountDomain : public AlxSUnitScaleDomain
{
public:
    explicit AlxGrooveAmountDomain (AlxDomainSet* set);
};

// Width of the zone around a selected beat that the groove bends, 0.00 ... 1.00; default 1.00.
class AlxGrooveWidthDomain : public AlxUnitScaleDomain
{
public:
    explicit AlxGrooveWidthDomain (AlxDomainSet* set);
};

// The groove's domains, in their fixed order.
class AlxGrooveDomainSet : public AlxDomainSet
{
public:
    AlxGrooveDomainSet();

    AlxGroovePatternDomain* getPatternDomain() const { return patternDomain; }
    AlxGrooveAmountDomain* getAmountDomain() const { return amountDomain; }
    AlxGrooveWidthDomain* getWidthDomain() const { return widthDomain; }

private:
    AlxGroovePatternDomain* patternDomain;
    AlxGrooveAmountDomain* amountDomain;
    AlxGrooveWidthDomain* widthDomain;
};
