#include "framework/AlxGeneralDomainSet.h"

#include <cstdio>

namespace
{
    juce::String printed (const char* format, double number)
    {
        char buffer[64];
        std::snprintf (buffer, sizeof (buffer), format, number);
        return buffer;
    }
}

AlxNullDomain::AlxNullDomain (AlxDomainSet* set) : AlxListDomain (set, "null", "null", {})
{
    addValue ("null", 0.0);
    finishValues (0);
}

AlxHarmonicDomain::AlxHarmonicDomain (AlxDomainSet* set)
    : AlxListDomain (set, "Harmonic", "Harmonic", "Harmonic number")
{
    for (int n = 32; n >= 2; --n)
        addValue (printed ("1/%1.0f", n), 1.0 / n);

    for (int i = 1; i <= 32; ++i)
        addValue (printed ("%1.0f", i), (double) i);

    finishValues (31);
}

AlxUnitScaleDomain::AlxUnitScaleDomain (AlxDomainSet* set) : AlxRangeDomain (set, 0.0, 1.0, 0.01, 0.0)
{
    setNames ("0..1", "Scale 0..1", "Unit scale from 0.0 to 1.0");
}

AlxSUnitScaleDomain::AlxSUnitScaleDomain (AlxDomainSet* set) : AlxRangeDomain (set, -1.0, 1.0, 0.02, 0.0)
{
    setNames ("-1..1", "Scale -1..1", "Signed unit scale from -1.0 to 1.0");
}

AlxPercentageDomain::AlxPercentageDomain (AlxDomainSet* set)
    : AlxListDomain (set, "%", "Percentage", "Percentage range from 0..100%", AlxControlKind::range)
{
    for (int i = 0; i <= 100; ++i)
        addValue (printed ("%1.0f %%", i), i / 100.0);

    finishValues (0);
}

AlxProbabilityDomain::AlxProbabilityDomain (AlxDomainSet* set) : AlxUnitScaleDomain (set)
{
    setNames ("Probability", "Probability", "Probability of occurrence");
    setDefaultValue (getValues().back().get());
}

AlxOnOffSwitchDomain::AlxOnOffSwitchDomain (AlxDomainSet* set)
    : AlxListDomain (set, "On/Off", "On/Off switch", "On/Off switch", AlxControlKind::onOff)
{
    addValue ("Off", 0.0, "Off", "Switched off");
    addValue ("On", 1.0, "On", "Switched on");
    finishValues (0);
}

AlxModulationSourceDomain::AlxModulationSourceDomain (AlxDomainSet* set)
    : AlxListDomain (set, "ModSrc", "Modulation source",
                     "Modulation source used to control values of other parameters")
{
    addValue ("None", 0.0, "None", "No modulation");
    addValue ("LFO1", 1.0, "LFO1", "Modulated by LFO 1");
    addValue ("LFO2", 2.0, "LFO2", "Modulated by LFO 2");
    finishValues (0);
}

AlxGeneralDomainSet::AlxGeneralDomainSet()
{
    nullDomain = add<AlxNullDomain>();
    harmonicDomain = add<AlxHarmonicDomain>();
    unitScaleDomain = add<AlxUnitScaleDomain>();
    sUnitScaleDomain = add<AlxSUnitScaleDomain>();
    percentageDomain = add<AlxPercentageDomain>();
    probabilityDomain = add<AlxProbabilityDomain>();
    onOffSwitchDomain = add<AlxOnOffSwitchDomain>();
    modulationSourceDomain = add<AlxModulationSourceDomain>();
}
