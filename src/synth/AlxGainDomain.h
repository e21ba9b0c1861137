#pragma once

#include "framework/AlxRealDomain.h"

// The synth's output level: "-oo dB" (silence), then -38.0 dB ... 0.0 dB in steps of 0.5 dB, each
// value carrying its linear gain. Defaults to -4.0 dB.
class AlxGainDomain : public AlxListDomain
{
public:
    static constexpr int defaultIndex = 69;

    explicit AlxGainDomain (AlxDomainSet* set);
};
