#include "framework/AlxDomain.h"

#include <cmath>

float AlxDomain::hostPositionOf (const AlxValue* value) const
{
    const int lastStep = getNumValues() - 1;

    if (value == nullptr || lastStep < 1)
        return 0.0f;

    return (float) juce::jlimit (0, lastStep, indexOf (value)) / (float) lastStep;
}

AlxValue* AlxDomain::findByHostPosition (float position) const
{
    if (std::isnan (position) || getNumValues() == 0)
        return nullptr;

    const int lastStep = getNumValues() - 1;
    const auto step = juce::roundToInt (juce::jlimit (0.0f, 1.0f, position) * (float) lastStep);
    return getValues()[(size_t) step].get();
}
