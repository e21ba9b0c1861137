#include "framework/AlxDomain.h"

#include <cmath>

AlxValue* AlxDomain::findByPosition (float position) const
{
    if (std::isnan (position))
        return nullptr;

    return findByNormalised (juce::jlimit (0.0f, 1.0f, position));
}
