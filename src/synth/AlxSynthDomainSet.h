#pragma once

#include "framework/AlxDomainSet.h"
#include "synth/AlxGainDomain.h"

#include <memory>

// The domains of the synth module: its gain.
class AlxSynthDomainSet : public AlxDomainSet
{
public:
    AlxSynthDomainSet() : gainDomain (add<AlxGainDomain>()) {}

    AlxGainDomain* getGainDomain() const { return gainDomain; }

private:
    AlxGainDomain* gainDomain;
};

// Owns the synth module's domain set. The module derives from it before AlxModule, so the domains
// are destroyed after the parameters (owned by AlxModule) that point into them.
struct AlxSynthDomainOwner
{
    std::unique_ptr<AlxSynthDomainSet> domainSet;
};
