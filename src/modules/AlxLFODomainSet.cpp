#include "modules/AlxLFODomainSet.h"

#include "modules/AlxLFO.h"

AlxDeviationDomain::AlxDeviationDomain (AlxDomainSet* set) : AlxPercentageDomain (set)
{
    setNames ("Noise", "Noise", "Deviation from the reference value");
}

AlxPhaseDomain::AlxPhaseDomain (AlxDomainSet* set) : AlxUnitScaleDomain (set)
{
    setNames ("Phase", "Phase", "LFO time offset in wavelengths (0.0=none, 1.0=max)");
}

AlxLevelDomain::AlxLevelDomain (AlxDomainSet* set) : AlxRangeDomain (set, 0.0, 2.0, 0.01, 2.0)
{
    setNames ("Level", "Level", "LFO amplitude level (0.0=min, 1.0=clipping level; 2.0=max)");
    setDefaultValue (getValues().back().get());
}

AlxPulseWidthDomain::AlxPulseWidthDomain (AlxDomainSet* set) : AlxUnitScaleDomain (set)
{
    setNames ("Pulse width", "Pulse width",
              "LFO pulse width of square waveform, in wavelengths (0.0=none, 1.0=max)");
    setDefaultValue (valueAt (50));
}

AlxDCOffsetDomain::AlxDCOffsetDomain (AlxDomainSet* set) : AlxSUnitScaleDomain (set)
{
    setNames ("DC Offset", "DC Offset", "Constant level added to the LFO signal (-1.0=min, 0.0=none, 1.0=max)");
}

AlxFrequencyDomain::AlxFrequencyDomain (AlxDomainSet* set) : AlxHarmonicDomain (set)
{
    setNames ("Frequency", "Frequency",
              "LFO frequency in wavelengths (LFO cycles) per time unit.\n"
              "Examples: 1 cycle per bar, 1/2 cycle per beat, 2 cycles every 1/4th note, ...");
}

AlxFrequencyUnitDomain::AlxFrequencyUnitDomain (AlxDomainSet* set) : AlxTimeUnitDomain (set)
{
    setNames ("Per", "Per frequency unit", "Time unit for frequency, as bar-, beat-, or note-duration");
}

AlxWaveformDomain::AlxWaveformDomain (AlxDomainSet* set) : AlxListDomain (set, "Shape", "Waveform shape", "LFO waveform shape")
{
    addValue ("Saw Up", AlxLFO::rampUp, "Sawtooth up", "Sawtooth waveform, uphill");
    addValue ("Saw Dn", AlxLFO::rampDown, "Sawtooth down", "Sawtooth waveform, downhill");
    addValue ("Tria", AlxLFO::triangle, "Triangle", "Triangle waveform");
    addValue ("Sin", AlxLFO::sine, "Sine", "Sine waveform");
    addValue ("Square", AlxLFO::square, "Square", "Square waveform");
    addValue ("Flat", AlxLFO::flat, "Flat", "Flat waveform");
    finishValues (0);
}

AlxSelectedLFODomain::AlxSelectedLFODomain (AlxDomainSet* set)
    : AlxListDomain (set, "LFO", "Selected LFO", "LFO selected for editing", AlxControlKind::radio)
{
    addValue ("LFO1", 0.0, {}, "LFO1 Selected");
    addValue ("LFO2", 1.0, {}, "LFO2 Selected");
    finishValues (0);
}

AlxLFODomainSet::AlxLFODomainSet()
{
    deviationDomain = add<AlxDeviationDomain>();
    phaseDomain = add<AlxPhaseDomain>();
    levelDomain = add<AlxLevelDomain>();
    pulseWidthDomain = add<AlxPulseWidthDomain>();
    dcOffsetDomain = add<AlxDCOffsetDomain>();
    frequencyDomain = add<AlxFrequencyDomain>();
    frequencyUnitDomain = add<AlxFrequencyUnitDomain>();
    waveformDomain = add<AlxWaveformDomain>();
    selectedLFODomain = add<AlxSelectedLFODomain>();
}
