#include "framework/AlxRangeDomain.h"

#include <cstdio>

namespace
{
    juce::String format (const char* pattern, double min, double max)
    {
        char buffer[256];
        std::snprintf (buffer, sizeof (buffer), pattern, min, max);
        return buffer;
    }
}

int AlxRangeDomain::countFor (double min, double max, double step)
{
    return (int) ((max - min) / step + 0.5) + 1;
}

AlxRangeDomain::AlxRangeDomain (AlxDomainSet* set, double min, double max, double step, double defaultReal)
    : AlxListDomain (set, format ("%1.2f..%1.2f", min, max), format ("Range %1.2f..%1.2f", min, max),
                     format ("Range from %1.2f..%1.2f", min, max), AlxControlKind::range)
{
    const int count = countFor (min, max, step);

    for (int i = 0; i < count; ++i)
    {
        const double v = min + i * step;
        char text[64];
        std::snprintf (text, sizeof (text), "%1.2f", v);
        addValue (text, v);
    }

    finishValues (0);

    for (auto& v : getValues())
        if (v->getRealValue() == defaultReal)
            setDefaultValue (v.get());
}
