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
