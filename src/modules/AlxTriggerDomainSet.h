#pragma once

#include "framework/AlxDomainSet.h"
#include "framework/AlxRealDomain.h"

// Note length as a share of the step: 0 % ... 99 % in steps of 1 %, then 100 % ... 400 % in
// steps of 5 %. Default 90 %.
class AlxTriggerGateDomain : public AlxListDomain
{
public:
    explicit AlxTriggerGateDomain (AlxDomainSet* set);
};

// Velocity of the triggered notes, 1 ... 100 (real values 0.01 ... 1). Default 100.
class AlxTriggerVelocityDomain : public AlxListDomain
{
public:
    explicit AlxTriggerVelocityDomain (AlxDomainSet* set);
};

// The step between two firings; a value's real value is the step in quarter notes, 0 for "Off".
// Default "1/4".
class AlxTriggerIntervalDomain : public AlxListDomain
{
public:
    explicit AlxTriggerIntervalDomain (AlxDomainSet* set);
};

// The trigger's domains, in their fixed order.
class AlxTriggerDomainSet : public AlxDomainSet
{
public:
    AlxTriggerDomainSet();

    AlxTriggerGateDomain* getGateDomain() const { return gateDomain; }
    AlxTriggerVelocityDomain* getVelocityDomain() const { return velocityDomain; }
    AlxTriggerIntervalDomain* getIntervalDomain() const { return intervalDomain; }

private:
    AlxTriggerGateDomain* gateDomain;
    AlxTriggerVelocityDomain* velocityDomain;
    AlxTriggerIntervalDomain* intervalDomain;
};
