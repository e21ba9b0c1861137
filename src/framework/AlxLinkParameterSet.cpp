#include "framework/AlxLinkParameterSet.h"

AlxLinkParameterSet::AlxLinkParameterSet (const AlxParameterSet& source)
{
    for (auto& p : source.getParameters())
        add (std::make_unique<AlxLinkParameter> (this))->setTarget (p.get());

    for (auto& s : source.getSubsets())
    {
        auto link = std::make_unique<AlxLinkParameterSet> (*s);
        link->setId (s->getId());
        addSubset (std::move (link));
    }

    setName (source.getName() + "Links");
    rebuildIdTable();
}

void AlxLinkParameterSet::retarget (const AlxParameterSet& source)
{
    const auto& links = getParameters();
    const auto& targets = source.getParameters();

    for (size_t i = 0; i < links.size() && i < targets.size(); ++i)
        links[i]->setTarget (targets[i].get());

    const auto& linkSubsets = getSubsets();
    const auto& sourceSubsets = source.getSubsets();

    for (size_t j = 0; j < linkSubsets.size() && j < sourceSubsets.size(); ++j)
        if (auto* nested = dynamic_cast<AlxLinkParameterSet*> (linkSubsets[j].get()))
            nested->retarget (*sourceSubsets[j]);
}
