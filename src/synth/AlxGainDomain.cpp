#include "synth/AlxGainDomain.h"

#include <cmath>
#include <cstdio>

AlxGainDomain::AlxGainDomain (AlxDomainSet* set)
    : AlxListDomain (set, "Gain", "Synth Gain", "Output volume level of built-in test synth", AlxControlKind::range)
{
    addValue ("-oo dB", 0.0);

    for (int step = 0; step <= 76; ++step)
    {
        const double decibels = -38.0 + 0.5 * step;
        char text[32];
        std::snprintf (text, sizeof (text), "%3.1f dB", decibels);
        addValue (text, std::pow (10.0, decibels / 20.0));
    }

    finishValues (defaultIndex);
}
