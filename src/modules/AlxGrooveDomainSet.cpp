#include "modules/AlxGrooveDomainSet.h"

AlxGroovePatternDomain::AlxGroovePatternDomain (AlxDomainSet* set)
    : AlxListDomain (set, "Beats", "Groove beat pattern", "Groove beat pattern")
{
    addValue ("Off", 0.0, "None", "Groove disabled");
    addValue ("Beat 1", 1.0);
    addValue ("Beat 2", 2.0);
    addValue ("Beat 3", 4.0);
    addValue ("Beat 4", 8.0);
    addValue ("Odd beats", 5.0);
    addValue ("Even beats", 10.0);
    addValue ("Inner beats", 6.0);
    addValue ("Outer beats", 9.0);
    addValue ("All beats", 15.0);
    finishValues (0);
}

AlxGrooveAmountDomain::AlxGrooveAmountDomain (AlxDomainSet* set) : AlxSUnitScaleDomain (set)
{
    setNames ("Groove", "Groove amount",
              "Amount of delay/speedup near selected beats. Negative values cause the beat to be early, "
              "positive values make it late");
}

AlxGrooveWidthDomain::AlxGrooveWidthDomain (AlxDomainSet* set) : AlxUnitScaleDomain (set)
{
    setNames ("Width", "Groove width", "Width of the zone affected by groove");
    setDefaultValue (getValues().back().get());
}

AlxGrooveDomainSet::AlxGrooveDomainSet()
{
    patternDomain = add<AlxGroovePatternDomain>();
    amountDomain = add<AlxGrooveAmountDomain>();
    widthDomain = add<AlxGrooveWidthDomain>();
}
