#pragma once

#include "framework/AlxRealDomain.h"

// A domain of evenly spaced numbers from min to max, shown as a rotary scale. It has
// int((max - min) / step + 0.5) + 1 values with texts printed "%1.2f"; the default is the last
// value equal to the given default, or the first value when none is.
class AlxRangeDomain : public AlxListDomain
{
public:
    AlxRangeDomain (AlxDomainSet* set, double min, double max, double step, double defaultReal);

    static int countFor (double min, double max, double step);
};
