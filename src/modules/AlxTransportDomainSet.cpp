#include "modules/AlxTransportDomainSet.h"

AlxNumericDomain::AlxNumericDomain (AlxDomainSet* set, const juce::String& name_, const juce::String& label_,
                                    const juce::String& description_, double minimum_, double maximum_,
                                    double defaultReal, const juce::String& defaultText)
    : AlxListDomain (set, name_, label_, description_, AlxControlKind::numeric),
      minimum (minimum_), maximum (maximum_)
{
    addValue (defaultText, defaultReal);
    finishValues (0);
}

bool AlxNumericDomain::acceptsRealValue (float value) const
{
    // Written so that a value that is not a number fails both comparisons and is refused.
    return value >= minimum && value <= maximum;
}

AlxBpmDomain::AlxBpmDomain (AlxDomainSet* set)
    : AlxNumericDomain (set, "Bpm", "Beats per minute", "Tempo in beats per minute", 20.0, 999.0, 120.0, "120.00")
{
}

AlxTimeSigNumeratorDomain::AlxTimeSigNumeratorDomain (AlxDomainSet* set)
    : AlxNumericDomain (set, "../4", "TS Numerator", "Time signature numerator", 1.0, 99.0, 4.0, "4")
{
}

AlxTimeSigDenominatorDomain::AlxTimeSigDenominatorDomain (AlxDomainSet* set)
    : AlxNumericDomain (set, "4/..", "TS Denominator", "Time signature denominator", 1.0, 16.0, 4.0, "4")
{
}

AlxTimeUnitDomain::AlxTimeUnitDomain (AlxDomainSet* set) : AlxListDomain (set, "Unit", "Time Unit", "Time Unit")
{
    addValue ("Bar", bar, "Bar", "Bar time unit");
    addValue ("Beat", beat, "Beat", "Beat time unit");
    addValue ("1/4", quarter, "1/4", "1/4 note duration");
    finishValues (0);
}

AlxTransportStateDomain::AlxTransportStateDomain (AlxDomainSet* set)
    : AlxListDomain (set, "Transport", "Transport state", "Transport state: stopped, armed or playing")
{
    stopped = addValue ("Stopped", 0.0, "Stopped", "Transport is stopped");
    armed = addValue ("Armed", 0.0, "Armed", "Transport is armed");
    playing = addValue ("Playing", 0.0, "Playing", "Transport is playing");
    finishValues (0);
}

AlxTransportDomainSet::AlxTransportDomainSet()
{
    bpmDomain = add<AlxBpmDomain>();
    numeratorDomain = add<AlxTimeSigNumeratorDomain>();
    denominatorDomain = add<AlxTimeSigDenominatorDomain>();
    timeUnitDomain = add<AlxTimeUnitDomain>();
    stateDomain = add<AlxTransportStateDomain>();
}
