#pragma once

#include "framework/AlxParameterSet.h"

#include <map>

// Host index -> parameter, for every set registered. Program settings are registered through
// the modules' link sets, so a host index always reaches the current program.
class AlxParameterMap
{
public:
    AlxParameterMap() = default;
    virtual ~AlxParameterMap() = default;

    virtual AlxParameter* lookup (int hostIndex) const;
    // Parameters with a non-negative host index: what the host sees.
    virtual int getNumParameters() const { return count; }
    virtual int size() const { return (int) parameters.size(); }
    // Adds every parameter of the set and its subsets; the first registration of an index wins.
    virtual void registerSet (const AlxParameterSet& set);

private:
    std::map<int, AlxParameter*> parameters;
    int count = 0;

    JUCE_DECLARE_NON_COPYABLE (AlxParameterMap)
};
