#pragma once

#include "framework/AlxGeneralDomainSet.h"
#include "modules/AlxTransportDomainSet.h"

// The domains of the LFO settings. Most are general domains under names of their own.

// Noise amount, 0 % ... 100 %.
class AlxDeviationDomain : public AlxPercentageDomain
{
public:
    explicit AlxDeviationDomain (AlxDomainSet* set);
};

// Time offset in cycles, 0.00 ... 1.00.
class AlxPhaseDomain : public AlxUnitScaleDomain
{
public:
    explicit AlxPhaseDomain (AlxDomainSet* set);
};

// Gain, 0.00 ... 2.00; levels above 1 drive the curve into clipping. Defaults to 2.00.
class AlxLevelDomain : public AlxRangeDomain
{
public:
    explicit AlxLevelDomain (AlxDomainSet* set);
};

// Share of the cycle the square stays high, 0.00 ... 1.00; default 0.50.
class AlxPulseWidthDomain : public AlxUnitScaleDomain
{
public:
    explicit AlxPulseWidthDomain (AlxDomainSet* set);
};

// Constant added before clipping, -1.00 ... 1.00.
class AlxDCOffsetDomain : public AlxSUnitScaleDomain
{
public:
    explicit AlxDCOffsetDomain (AlxDomainSet* set);
};

// Cycles per time unit, 1/32 ... 32; default 1.
class AlxFrequencyDomain : public AlxHarmonicDomain
{
public:
    explicit AlxFrequencyDomain (AlxDomainSet* set);
};

// The unit the frequency counts in: "Bar", "Beat", "1/4".
class AlxFrequencyUnitDomain : public AlxTimeUnitDomain
{
public:
    explicit AlxFrequencyUnitDomain (AlxDomainSet* set);
};

// The waveform shapes; a value's real value is the generator's waveform number.
class AlxWaveformDomain : public AlxListDomain
{
public:
    explicit AlxWaveformDomain (AlxDomainSet* set);
};

// Which LFO the editor shows: "LFO1", "LFO2".
class AlxSelectedLFODomain : public AlxListDomain
{
public:
    explicit AlxSelectedLFODomain (AlxDomainSet* set);
};

// The LFO domains, in their fixed order.
class AlxLFODomainSet : public AlxDomainSet
{
public:
    AlxLFODomainSet();

    AlxDeviationDomain* getDeviationDomain() const { return deviationDomain; }
    AlxPhaseDomain* getPhaseDomain() const { return phaseDomain; }
    AlxLevelDomain* getLevelDomain() const { return levelDomain; }
    AlxPulseWidthDomain* getPulseWidthDomain() const { return pulseWidthDomain; }
    AlxDCOffsetDomain* getDCOffsetDomain() const { return dcOffsetDomain; }
    AlxFrequencyDomain* getFrequencyDomain() const { return frequencyDomain; }
    AlxFrequencyUnitDomain* getFrequencyUnitDomain() const { return frequencyUnitDomain; }
    AlxWaveformDomain* getWaveformDomain() const { return waveformDomain; }
    AlxSelectedLFODomain* getSelectedLFODomain() const { return selectedLFODomain; }

private:
    AlxDeviationDomain* deviationDomain;
    AlxPhaseDomain* phaseDomain;
    AlxLevelDomain* levelDomain;
    AlxPulseWidthDomain* pulseWidthDomain;
    AlxDCOffsetDomain* dcOffsetDomain;
    AlxFrequencyDomain* frequencyDomain;
    AlxFrequencyUnitDomain* frequencyUnitDomain;
    AlxWaveformDomain* waveformDomain;
    AlxSelectedLFODomain* selectedLFODomain;
};
