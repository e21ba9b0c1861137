#include "framework/AlxParameterSet.h"

#include "framework/AlxStateNames.h"
AlxParameter* AlxParameterSet::add (std::unique_ptr<AlxParameter> parameter)
{
    parameters.push_back (std::move (parameter));
    return parameters.back().get();
}

AlxParameterSet* AlxParameterSet::addSubset (std::unique_ptr<AlxParameterSet> subset)
{
    subsets.push_back (std::move (subset));
    return subsets.back().get();
}

AlxParameter* AlxParameterSet::getParameter (int position) const
{
    return position >= 0 && position < (int) parameters.size() ? parameters[(size_t) position].get() : nullptr;
}

void AlxParameterSet::addSinkToAll (AlxMessageSink* sink)
{
    for (auto& p : parameters)
        p->addSink (sink);

    for (auto& s : subsets)
        s->addSinkToAll (sink);
}

void AlxParameterSet::removeSinkFromAll (AlxMessageSink* sink)
{
    for (auto& p : parameters)
        p->removeSink (sink);

    for (auto& s : subsets)
        s->removeSinkFromAll (sink);
}

void AlxParameterSet::resendAll()
{
    for (auto& p : parameters)
        p->resendValue();

    for (auto& s : subsets)
        s->resendAll();
}

std::unique_ptr<juce::XmlElement> AlxParameterSet::createXml() const
{
    auto element = std::make_unique<juce::XmlElement> (AlxStateNames::parameterSet);

    if (id != 0)
        element->setAttribute (AlxStateNames::id, id);

    for (auto& p : parameters)
        element->addChildElement (p->createXml().release());

    if (! subsets.empty())
    {
        auto* cs = element->createNewChildElement ("cs");

        for (auto& s : subsets)
            cs->addChildElement (s->createXml().release());
    }

    return element;
}

void AlxParameterSet::restoreXml (const juce::XmlElement& element, bool notify)
{
    if (element.hasAttribute ("i"))
        setId (element.getIntAttribute ("i", -9999999));

    for (auto* child : element.getChildIterator())
    {
        if (child->hasTagName ("pv"))
        {
            const int parameterId = child->getIntAttribute ("i", -9999999);

            if (auto* p = findById (parameterId))
                p->restoreXml (*child, false, notify);
            else
                juce::Logger::outputDebugString ("unknown parameter id=" + juce::String (parameterId));
        }
        else if (child->hasTagName ("cs"))
        {
            size_t position = 0;

            for (auto* ps : child->getChildWithTagNameIterator ("ps"))
            {
                if (position >= subsets.size())
                    break;

                subsets[position++]->restoreXml (*ps, notify);
            }
        }
    }
}

AlxParameter* AlxParameterSet::findByHostIndex (int hostIndex) const
{
    for (auto& p : parameters)
        if (p->getHostIndex() == hostIndex)
            return p.get();

    for (auto& s : subsets)
        if (auto* p = s->findByHostIndex (hostIndex))
            return p;

    return nullptr;
}

AlxParameter* AlxParameterSet::findById (int parameterId) const
{
    return parameterId >= 0 && parameterId < (int) idTable.size() ? idTable[(size_t) parameterId] : nullptr;
}

void AlxParameterSet::setPrefixForAll (const juce::String& prefix)
{
    if (prefix.isEmpty())
        return;

    for (auto& p : parameters)
        p->setPrefix (prefix);

    for (auto& s : subsets)
        s->setPrefixForAll (prefix);
}

void AlxParameterSet::setSuffixForAll (const juce::String& suffix)
{
    if (suffix.isEmpty())
        return;

    for (auto& p : parameters)
        p->setSuffix (suffix);

    for (auto& s : subsets)
        s->setSuffixForAll (suffix);
}

AlxParameterSet* AlxParameterSet::findSubsetById (int subsetId) const
{
    for (auto& s : subsets)
        if (s->getId() == subsetId)
            return s.get();

    return nullptr;
}

void AlxParameterSet::rebuildIdTable()
{
    idTable.clear();
    int largest = -1;

    for (auto& p : parameters)
        largest = std::max (largest, p->getId());

    if (largest < 0)
        return;

    idTable.assign ((size_t) largest + 1, nullptr);

    for (auto& p : parameters)
        if (p->getId() >= 0)
            idTable[(size_t) p->getId()] = p.get();
}
