#include "framework/AlxParameterMap.h"

AlxParameter* AlxParameterMap::lookup (int hostIndex) const
{
    auto it = parameters.find (hostIndex);
    return it != parameters.end() ? it->second : nullptr;
}

void AlxParameterMap::registerSet (const AlxParameterSet& set)
{
    for (auto& p : set.getParameters())
    {
        const int index = p->getHostIndex();

        if (parameters.emplace (index, p.get()).second && index >= 0)
            ++count;
    }

    for (auto& s : set.getSubsets())
        registerSet (*s);
}
